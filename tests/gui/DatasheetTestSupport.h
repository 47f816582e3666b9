#pragma once
// The datasheet window with its platform services answered from a script.

#include "gui/TDatasheetServices.h"
#include "util/TUserPrompts.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qbm::test {

class TScriptedServices : public TDatasheetServices {
public:
    TScriptedServices() : TDatasheetServices(prompts) {}

    TScriptedPrompts prompts;
    std::deque<std::optional<std::string>> importPaths;
    std::deque<std::vector<std::string>> picturePaths;
    std::vector<bool> pictureAskedSeveral;
    std::optional<TImportOptions> importOptions = TImportOptions{}; // the import dialog's answer
    std::vector<std::string> importOptionsAsked;
    std::optional<std::string> table; // the picker's choice; nullopt: cancelled
    std::vector<std::string> tablesOffered;
    std::optional<std::vector<std::string>> sequence; // the sequence dialog's answer
    std::vector<QString> helpTopics;
    std::function<std::unique_ptr<TProgress>()> makeProgress; // none: long work runs unobserved

    std::optional<std::string> AskImportPath(QWidget*) override {
        if (importPaths.empty()) return std::nullopt;
        auto p = importPaths.front();
        importPaths.pop_front();
        return p;
    }
    std::optional<TImportOptions> AskImportOptions(QWidget*, const std::string& path) override {
        importOptionsAsked.push_back(path);
        return importOptions;
    }
    std::vector<std::string> AskPicturePaths(QWidget*, bool several) override {
        pictureAskedSeveral.push_back(several);
        if (picturePaths.empty()) return {};
        auto p = picturePaths.front();
        picturePaths.pop_front();
        return p;
    }
    std::optional<std::string> PickTable(QWidget*, const std::vector<std::string>& names) override {
        tablesOffered = names;
        return table;
    }
    std::optional<std::vector<std::string>> Sequence(QWidget*) override { return sequence; }
    std::unique_ptr<TProgress> Progress(QWidget*, const QString&) override {
        return makeProgress ? makeProgress() : nullptr;
    }
    void Help(QWidget*, const QString& topic) override { helpTopics.push_back(topic); }
};

} // namespace qbm::test
