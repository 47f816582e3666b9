#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "surface/GuiApplication.h"
#include "util/Text.h"

#include <cstdio>
#include <iostream>

namespace qbm::cli {
namespace {

// One label per line, so control characters (a CR LF in a fixed 2D text, a tab in a datasheet cell)
// are shown as \xHH, and a backslash as \\ to keep the form unambiguous. Codes are Latin-1,
// captions UTF-8 already.
std::string Printable(const std::string& text, bool utf8 = false) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || (!utf8 && b >= 0x80 && b < 0xA0)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return utf8 ? out : Latin1ToUtf8(out);
}

int RunLabels(const Args& args) {
    const std::string& path = args.Positional(0, "FILE.bpj");
    EnsureGuiApplication();
    TCliDocument run;
    if (!OpenForRun(args, path, run, nullptr, false)) return 1;
    TLabelDocument& doc = *run.document;

    TSourceFeed feed = doc.LabelFeed();
    std::cout << doc.LabelCount() << "\n";
    const bool linear = doc.Kind() == TBarcodeKind::bkLinear;
    for (long long i = feed.FirstIndex(); i <= feed.Count() - 1; ++i) {
        const TLabelValue value = feed.Value(i);
        std::cout << Printable(value.code);
        if (linear) std::cout << '\t' << Printable(value.caption, true);
        std::cout << '\n';
    }
    return std::cout.good() ? 0 : 1;
}

constexpr const char* kDescription =
    "Prints the number of labels of the project, then the code of each label as the print loop\n"
    "takes them, one per line; linear labels add a tab and their extended caption.\n"
    "Control characters appear as \\xHH and a backslash as \\\\.";

} // namespace

QBM_REGISTER_COMMAND(Command{.name = "labels",
                             .summary = "list the labels a project prints",
                             .synopsis = "FILE.bpj [OPTIONS]",
                             .description = kDescription,
                             .options = ProjectOptions(),
                             .run = RunLabels});

} // namespace qbm::cli
