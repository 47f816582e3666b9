#include "CliRun.h"
#include "cli/CliCommand.h"

#include <gtest/gtest.h>

namespace qbm::cli {
namespace {

const Options kOptions = {{"--pdf", "OUT.pdf", "write a PDF"},
                          {"--verify", "", "read every label back"},
                          {"--caption", "TEXT", "a caption\nover two lines"}};

Args Parse(const std::vector<std::string>& words) {
    return Args(words, kOptions);
}

std::string UsageErrorOf(const std::vector<std::string>& words) {
    try {
        Parse(words);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(CliOptions, TakesValuesFlagsAndPositionalWordsAsDeclared) {
    const Args args = Parse({"p.bpj", "--pdf", "out.pdf", "--verify", "--caption=--x", "-5"});
    EXPECT_EQ(args.Positional(), (std::vector<std::string>{"p.bpj", "-5"}));
    EXPECT_EQ(args.Value("--pdf"), "out.pdf");
    EXPECT_TRUE(args.Has("--verify"));
    EXPECT_EQ(args.Value("--caption"), "--x");
    // After "--" every word is text, even one that looks like an option.
    const Args text = Parse({"--", "--verify", "-h"});
    EXPECT_FALSE(text.Has("--verify"));
    EXPECT_FALSE(text.WantsHelp());
    EXPECT_EQ(text.Positional(), (std::vector<std::string>{"--verify", "-h"}));
    EXPECT_TRUE(Parse({"--help"}).WantsHelp());
    EXPECT_TRUE(Parse({"-h"}).WantsHelp());
}

TEST(CliOptions, RefusesWhatTheTableDoesNotAllow) {
    struct Case {
        std::vector<std::string> words;
        std::string error;
    };
    const Case cases[] = {
        /* 0 */ {{"--pdf"},
                 "option --pdf needs a value (OUT.pdf; write --pdf=VALUE for a value that begins with --)"},
        // The missing value is not taken from the next option (that would write a file "--verify").
        /* 1 */
        {{"--pdf", "--verify"},
         "option --pdf needs a value (OUT.pdf; write --pdf=VALUE for a value that begins with --)"},
        /* 2 */ {{"--verify=1"}, "option --verify takes no value"},
        /* 3 */ {{"--pages", "2"}, "unknown option --pages"},
        /* 4 */ {{"--pages=2"}, "unknown option --pages"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(UsageErrorOf(cases[i].words), cases[i].error) << i;
}

TEST(CliOptions, AskingForAnUndeclaredOptionIsTheCommandsFault) {
    const Args args = Parse({});
    EXPECT_THROW(args.Has("--pages"), std::logic_error);
    EXPECT_THROW(args.Value("--pages"), std::logic_error);
}

TEST(CliOptions, UsageTextListsEveryOptionOfTheTable) {
    const Command command{.name = "print",
                          .summary = "",
                          .synopsis = "FILE.bpj [OPTIONS]\n--other FORM",
                          .description = "Prints.",
                          .options = kOptions,
                          .run = {}};
    EXPECT_EQ(UsageText(command), "Usage: qbm print FILE.bpj [OPTIONS]\n"
                                  "                 --other FORM\n\n"
                                  "Prints.\n\n"
                                  "Options:\n"
                                  "  --pdf OUT.pdf           write a PDF\n"
                                  "  --verify                read every label back\n"
                                  "  --caption TEXT          a caption\n"
                                  "                          over two lines");
}

TEST(CliOptions, TheToolRefusesAMissingValueBeforeDoingAnything) {
    const std::string dir = test::MakeTempDir();
    // Before, --pdf took "--verify" as the file to write and printed into it.
    const test::TCliRun r = test::RunQbm(dir, {"print", dir + "/p.bpj", "--pdf", "--verify"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("option --pdf needs a value"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("  --no-journal "), std::string::npos) << "the usage comes from the table";
    EXPECT_EQ(test::RunQbm(dir, {"render", "bcCode39", "A", "--out"}).exitCode, 2);
    EXPECT_EQ(test::RunQbm(dir, {"import", "x.csv", "--list-tables=yes"}).exitCode, 2);
}

} // namespace
} // namespace qbm::cli
