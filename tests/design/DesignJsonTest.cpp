#include "design/DesignJson.h"
#include "design/DesignPicture.h"

#include "DesignObjects.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace qbm {
namespace {

const std::vector<uint8_t> kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};

// Pictures kept in memory under their file names, as the command keeps them in a folder.
struct TPictureFolder {
    std::map<std::string, std::vector<uint8_t>> files;
    TPictureSaver Saver() {
        return [this](const TDesignPicture& p, int n) {
            const std::string name = "picture-" + std::to_string(n) + "." + p.format;
            files[name] = p.bytes;
            return name;
        };
    }
    TPictureLoader Loader() {
        return [this](const std::string& name) {
            const auto it = files.find(name);
            if (it == files.end()) throw EDesignError("cannot read \"" + name + "\"");
            return it->second;
        };
    }
};

using test::Placed;

TLabelDesign ShelfLabel() {
    TLabelDesign d;
    TDesignObject name = Placed(TDesignKind::Text, 2, 1.5, 46, 6);
    name.value = "{Name} – \"fresh\"\n\\line 2";
    name.bold = true;
    name.align = TDesignAlign::Center;
    name.color = RGBColor(0x12, 0x34, 0x56);
    TDesignObject code = Placed(TDesignKind::Barcode, 2, 8, 30, 15.25);
    code.value = "{Code}";
    code.symbology = "bcCodeEAN13";
    code.showText = false;
    code.rotation = 90;
    TDesignObject logo = Placed(TDesignKind::Image, 35, 8, 12, 12);
    logo.picture = {"png", kPng};
    TDesignObject box = Placed(TDesignKind::Rect, 0.1, 0.2, 49.8, 24.6);
    box.fill = RGBColor(255, 255, 0);
    box.cornerRadiusMm = 1.5;
    box.lineMm = 0.25;
    TDesignObject rule = Placed(TDesignKind::Line, 2, 7.5, 46, 0);
    TDesignObject ring = Placed(TDesignKind::Ellipse, 40, 20, 4, 4);
    d.objects = {box, name, code, logo, rule, ring};
    return d;
}

TEST(DesignJson, RoundTripsEveryKindAndEmbedsPicturesAgain) {
    TPictureFolder folder;
    const TLabelDesign design = ShelfLabel();
    const std::string json = DesignToJson(design, folder.Saver());
    EXPECT_EQ(folder.files.size(), 1u);
    EXPECT_NE(json.find("\"file\": \"picture-4.png\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"fill\": \"#FFFF00\""), std::string::npos) << json;
    const TLabelDesign back = DesignFromJson(json, folder.Loader());
    EXPECT_EQ(back, design);
    EXPECT_EQ(DesignToJson(back, folder.Saver()), json);
    EXPECT_EQ(DesignToJson({}, folder.Saver()), "{\n  \"objects\": []\n}\n");
}

TEST(DesignJson, TheDocumentedFormReadsWithDefaults) {
    TPictureFolder folder;
    const TLabelDesign d = DesignFromJson(R"({"objects": [
        {"type": "text", "x_mm": 1, "y_mm": 2, "width_mm": 30, "height_mm": 5, "value": "{Name}"},
        {"type": "barcode", "x_mm": 1, "y_mm": 8, "width_mm": 30, "height_mm": 12, "value": "ABC",
         "symbology": "qrcode", "show_text": false},
        {"type": "line", "x_mm": 0, "y_mm": 7, "width_mm": 40, "height_mm": 0, "line_mm": 0.5}]})",
                                          folder.Loader());
    ASSERT_EQ(d.objects.size(), 3u);
    EXPECT_EQ(d.objects[0].font, "DejaVu Sans");
    EXPECT_EQ(d.objects[0].sizePt, 10);
    EXPECT_TRUE(d.objects[0].shrinkToFit);
    EXPECT_EQ(d.objects[1].symbology, "qrcode");
    EXPECT_FALSE(d.objects[1].showText);
    EXPECT_EQ(d.objects[2].lineMm, 0.5);
}

TEST(DesignJson, MistakesAreRefusedByName) {
    TPictureFolder folder;
    folder.files["notes.txt"] = {'h', 'i'};
    const std::string box = R"("x_mm": 1, "y_mm": 1, "width_mm": 10, "height_mm": 5)";
    const std::string cases[][2] = {
        /* 0 */ {R"({"objects": [{"type": "circle", )" + box + "}]}", "object 1: unknown type \"circle\""},
        /* 1 */
        {R"({"objects": [{"type": "text", "colour": "#000000", )" + box + "}]}",
         "object 1 (text): unknown key \"colour\""},
        /* 2 */
        {R"({"objects": [{"type": "text", "symbology": "qrcode", )" + box + "}]}",
         "object 1 (text): a text has no \"symbology\""},
        /* 3 */
        {R"({"objects": [{"type": "barcode", "value": "1", "symbology": "ean13", )" + box + "}]}",
         "object 1 (barcode): unknown symbology \"ean13\""},
        /* 4 */
        {R"({"objects": [{"type": "barcode", "value": "1", )" + box + "}]}",
         "object 1 (barcode): \"symbology\" is missing"},
        /* 5 */
        {R"({"objects": [{"type": "text", "rotation": 45, )" + box + "}]}",
         "object 1 (text): \"rotation\" must be 0, 90, 180 or 270"},
        /* 6 */
        {R"({"objects": [{"type": "rect", "x_mm": 1, "y_mm": 1, "width_mm": 0, "height_mm": 5}]})",
         "object 1 (rect): \"width_mm\" must be above 0 and at most 10000"},
        /* 7 */
        {R"({"objects": [{"type": "text", "x_mm": "1", "y_mm": 1, "width_mm": 1, "height_mm": 1}]})",
         "object 1 (text): \"x_mm\" must be a number"},
        /* 8 */
        {R"({"objects": [{"type": "rect", "fill": "yellow", )" + box + "}]}",
         "object 1 (rect): \"fill\" must be a colour as #RRGGBB"},
        /* 9 */
        {R"({"objects": [{"type": "image", "file": "notes.txt", )" + box + "}]}",
         "object 1 (image): \"notes.txt\" is not a PNG, JPEG or SVG picture"},
        /* 10 */ {R"({"objects": [], "version": 2})", "unknown key \"version\""},
        /* 11 */ {R"({"objects": [{"type": "text", "x_mm": 1}]})", "object 1 (text): \"y_mm\" is missing"},
        /* 12 */ {R"({"objects": [7]})", "object 1 is not a JSON object"},
        /* 13 */ {R"([])", "the design must be a JSON object with \"objects\""},
        /* 14 */
        {R"({"objects": [{"type": "text", "align": "middle", )" + box + "}]}",
         "object 1 (text): \"align\" must be \"left\", \"center\" or \"right\""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        try {
            DesignFromJson(cases[i][0], folder.Loader());
            ADD_FAILURE() << "case " << i << " was taken";
        } catch (const EDesignError& e) {
            EXPECT_EQ(std::string(e.what()), cases[i][1]) << "case " << i;
        }
    }
    EXPECT_THROW(DesignFromJson("{\"objects\": [", folder.Loader()), EDesignError);
}

TEST(DesignPicture, KindsByTheirFirstBytes) {
    EXPECT_EQ(PictureFormatOf(kPng), "png");
    EXPECT_EQ(PictureFormatOf({0xFF, 0xD8, 0xFF, 0xE0}), "jpeg");
    const std::string svg =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- logo -->\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
    EXPECT_EQ(PictureFormatOf(std::vector<uint8_t>(svg.begin(), svg.end())), "svg");
    EXPECT_EQ(PictureFormatOf({'G', 'I', 'F', '8', '9', 'a'}), std::nullopt);
    EXPECT_EQ(PictureFormatOf({}), std::nullopt);
}

TEST(DesignPlacement, ObjectsPastTheLabelAreNamedWithTheirEdges) {
    TLabelDesign d;
    d.objects.push_back(Placed(TDesignKind::Text, 0, 0, 50, 25));
    d.objects.push_back(Placed(TDesignKind::Barcode, -1, 20, 10, 6));
    // 40 x 4 turned about its centre (30, 12) covers 28..32 x -8..32.
    d.objects.push_back(Placed(TDesignKind::Line, 10, 10, 40, 4, 90));
    d.objects.push_back(Placed(TDesignKind::Rect, 0.005, 0, 50, 25));
    EXPECT_EQ(DesignPlacementWarnings(d, 50, 25),
              (std::vector<std::string>{"object 2 (barcode) reaches past the label's left and bottom edges",
                                        "object 3 (line) reaches past the label's top and bottom edges"}));
}

} // namespace
} // namespace qbm
