#include "project/ProjectFile.h"

#include "project/TLabelProject.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace qbm;

namespace {

TLabelDesign PriceLabel() {
    TLabelDesign d;
    TDesignObject name;
    name.kind = TDesignKind::Text;
    name.value = "{Name} – ζ 価格\n{Price} €";
    TDesignObject logo;
    logo.kind = TDesignKind::Image;
    // Bytes 0x1A and line ends inside the picture must not end the project's line.
    logo.picture = {"png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', '=', '[', 0}};
    TDesignObject code;
    code.kind = TDesignKind::Barcode;
    code.symbology = "bcCodeEAN13";
    code.value = "{Code}";
    d.objects = {name, logo, code, logo};
    return d;
}

TEST(ProjectDesign, TravelsWithTheProjectAndAClassicLabelStaysClassic) {
    const std::string dir = test::MakeTempDir();
    TLabelProject classic;
    SaveProject(dir + "/classic.bpj", classic, nullptr);
    EXPECT_EQ(test::ReadWholeFile(dir + "/classic.bpj").find("LabelDesign"), std::string::npos);

    TLabelProject project;
    project.SetDesign(PriceLabel());
    ASSERT_TRUE(SaveProject(dir + "/design.bpj", project, nullptr).Complete());
    TLabelProject loaded;
    loaded.SetDesign(TLabelDesign{});
    LoadProject(dir + "/classic.bpj", loaded);
    EXPECT_FALSE(loaded.Design().has_value());
    LoadProject(dir + "/design.bpj", loaded);
    ASSERT_TRUE(loaded.Design().has_value());
    EXPECT_EQ(*loaded.Design(), PriceLabel());

    // Saving what was read gives the same file.
    SaveProject(dir + "/again.bpj", loaded, nullptr);
    EXPECT_EQ(test::ReadWholeFile(dir + "/again.bpj"), test::ReadWholeFile(dir + "/design.bpj"));

    loaded.NewProject();
    EXPECT_FALSE(loaded.Design().has_value());
}

TEST(ProjectDesign, ADamagedDesignIsRefusedByNameNotDropped) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetDesign(PriceLabel());
    SaveProject(dir + "/design.bpj", project, nullptr);
    std::string file = test::ReadWholeFile(dir + "/design.bpj");
    // The second picture's key goes missing.
    const size_t picture = file.find("Picture4=");
    ASSERT_NE(picture, std::string::npos);
    file.replace(picture, 8, "Pickture");
    test::WriteWholeFile(dir + "/damaged.bpj", file);
    TLabelProject loaded;
    try {
        LoadProject(dir + "/damaged.bpj", loaded);
        ADD_FAILURE() << "the damaged design was read";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "The label design in \"" + dir +
                                             "/damaged.bpj\" is damaged: object 4 (image): its picture "
                                             "\"Picture4\" is missing.");
    }
}

} // namespace
