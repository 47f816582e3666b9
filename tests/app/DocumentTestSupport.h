#pragma once
// A document on a fresh template library with scripted prompts and file dialogs, started as the window
// starts it, and a record of the requests it sends to a view.

#include "app/TLabelDocument.h"
#include "util/TUserPrompts.h"

#include "TestSupport.h"

#include <QUndoStack>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace qbm::test {

struct DocumentFixture {
    std::string dir = MakeTempDir();
    TScriptedPrompts prompts;
    TScriptedFileDialogs dialogs;
    std::unique_ptr<TLabelDocument> doc;
    std::vector<TMainTab> tabs;
    std::vector<TFocusTarget> focus;
    int previews = 0;
    int fieldLists = 0;

    explicit DocumentFixture(bool started = true) {
        doc = std::make_unique<TLabelDocument>(prompts, dialogs, dir + "/Templates.dat");
        QObject::connect(doc.get(), &TLabelDocument::showTabRequested,
                         [this](TMainTab t) { tabs.push_back(t); });
        QObject::connect(doc.get(), &TLabelDocument::focusRequested,
                         [this](TFocusTarget f) { focus.push_back(f); });
        QObject::connect(doc.get(), &TLabelDocument::previewChanged, [this] { ++previews; });
        QObject::connect(doc.get(), &TLabelDocument::fieldListChanged, [this] { ++fieldLists; });
        if (!started) return;
        doc->Start();
        doc->MarkWelcomeShown();
    }

    std::string Path(const std::string& name) const { return dir + "/" + name; }

    void Select(const std::string& templateName) {
        const auto& names = doc->TemplateNames();
        const auto it = std::find(names.begin(), names.end(), templateName);
        ASSERT_NE(it, names.end()) << templateName;
        doc->SelectTemplate(static_cast<int>(it - names.begin()));
    }

    // The texts of the messages shown since the last call.
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        for (size_t i = m_seen; i < prompts.Messages().size(); ++i)
            texts.push_back(prompts.Messages()[i].text);
        m_seen = prompts.Messages().size();
        return texts;
    }

    void WriteFile(const std::string& name, const std::string& content) const {
        std::ofstream(Path(name), std::ios::binary) << content;
    }

    // Saves under a chosen name through "Save Project As ...".
    bool SaveAs(const std::string& name) {
        dialogs.QueuePath(Path(name));
        return doc->SaveAs();
    }

private:
    size_t m_seen = 0;
};

} // namespace qbm::test
