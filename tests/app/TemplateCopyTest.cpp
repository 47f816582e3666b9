#include "app/TLabelDocument.h"
#include "ini/TIniFile.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"

#include "TestSupport.h"

#include <algorithm>

namespace qbm {
namespace {

constexpr const char* kEan = "EAN13 (ISBN)";

void SelectByName(TLabelDocument& doc, const std::string& name) {
    const auto& names = doc.TemplateNames();
    doc.SelectTemplate(static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()));
}

TEST(TemplateCopy, AProjectWhoseLibraryTemplateChangedAsksWhichToUse) {
    const std::string dir = test::MakeTempDir();
    const std::string library = dir + "/Templates.dat";
    const std::string project = dir + "/shelf.bpj";
    TScriptedPrompts prompts;
    TScriptedFileDialogs dialogs;
    {
        TLabelDocument doc(prompts, dialogs, library);
        doc.Start();
        SelectByName(doc, kEan);
        doc.SetFixedCode("590123412345");
        dialogs.QueuePath(project);
        ASSERT_TRUE(doc.SaveAs());
    }
    const int ownHeight = MmToDots(30, 300); // the library's default when the project was saved
    TIniFile(library).WriteInteger(kEan, "Height", 12);

    struct Case {
        TMsgResult answer;
        int height;
    };
    for (const Case c : {Case{TMsgResult::mrYes, ownHeight}, Case{TMsgResult::mrNo, MmToDots(12, 300)}}) {
        TScriptedPrompts asked;
        asked.QueueAnswer(c.answer);
        TLabelDocument doc(asked, dialogs, library);
        doc.Start();
        ASSERT_TRUE(doc.Load(project));
        ASSERT_FALSE(asked.Messages().empty());
        EXPECT_EQ(asked.Messages()[0].buttons, TMsgButtons::mbProjectOrLibrary);
        EXPECT_EQ(
            asked.Messages()[0].text,
            "The template \"EAN13 (ISBN)\" in this project differs from the one in the template library.");
        EXPECT_EQ(doc.Setup().bcdMain.Height(), c.height);
    }

    // A library without the template: the project's copy, without a question.
    TIniFile(library).EraseSection(kEan);
    TScriptedPrompts quiet;
    TLabelDocument doc(quiet, dialogs, library);
    doc.Start();
    ASSERT_TRUE(doc.Load(project));
    EXPECT_TRUE(quiet.Messages().empty()) << quiet.Messages()[0].text;
    EXPECT_EQ(doc.Project().TemplateName(), kEan);
    EXPECT_EQ(doc.Setup().bcdMain.Height(), ownHeight);
}

} // namespace
} // namespace qbm
