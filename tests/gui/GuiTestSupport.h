#pragma once
// A main window over a document whose questions, file dialogs and dialogs answer from a script.

#include "app/TFileDialogs.h"
#include "app/TLabelDocument.h"
#include "gui/TDialogs.h"
#include "gui/TForm1.h"
#include "stock/StockGrid.h"
#include "util/TUserPrompts.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace qbm::test {

// The dialogs record how they were opened and answer from queues.
class ScriptedDialogs : public TDialogs {
public:
    int welcomeChoice = -1;
    int welcomeShown = 0;
    int aboutShown = 0;
    std::vector<TLinearEditorRequest> linearEditor;
    std::vector<T2DEditorRequest> editor2D;
    int datasheetShown = 0;
    std::deque<std::optional<std::vector<std::string>>> sequences;
    std::vector<QString> helpTopics;

    int Welcome(QWidget*) override {
        ++welcomeShown;
        return welcomeChoice;
    }
    void About(QWidget*) override { ++aboutShown; }
    void LinearTemplateEditor(QWidget*, TLabelDocument&, const TLinearEditorRequest& r) override {
        linearEditor.push_back(r);
    }
    std::optional<T2DSettings> Template2DEditor(QWidget*, TLabelDocument&,
                                                const T2DEditorRequest& r) override {
        editor2D.push_back(r);
        return std::nullopt;
    }
    bool Datasheet(QWidget*, TLabelDocument&) override {
        ++datasheetShown;
        return false;
    }
    std::optional<std::vector<std::string>> Sequence(QWidget*) override {
        if (sequences.empty()) return std::nullopt;
        auto codes = sequences.front();
        sequences.pop_front();
        return codes;
    }
    void Help(QWidget*, const QString& topic) override { helpTopics.push_back(topic); }
    int labelStockShown = 0;
    // The sheet the picker answers with, as a user picks it; none: the picker is cancelled.
    std::optional<TStockGrid> stockChoice;
    void LabelStock(QWidget*, TLabelDocument& doc) override {
        ++labelStockShown;
        if (stockChoice) doc.ChooseStock(*stockChoice);
    }
};

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the window as the program does: the document starts, the welcome dialog runs.
    void ShowWindow();
    template <typename T> T* Find(const char* name) const {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* Action(const char* name) const;
    // The texts of every message shown so far, and forgetting them.
    std::vector<std::string> Messages();
    // Selects a template by name as a user picks it in the list.
    void ChooseTemplate(const std::string& name);
    void TypeFixedCode(const QString& text);
    void ShowTab(int index);

    std::string dir;
    std::string libraryPath;
    TScriptedPrompts prompts;
    TScriptedFileDialogs fileDialogs;
    ScriptedDialogs dialogs;
    std::unique_ptr<TLabelDocument> doc;
    std::unique_ptr<TForm1> window;
    size_t seenMessages = 0;
};

// The symbol in each cell of a page (rows x columns inside equal margins), row by row; "" for a cell
// without one.
std::vector<std::string> DecodeCells(const QImage& page, int rows, int columns, double marginMm, int dpi);

} // namespace qbm::test
