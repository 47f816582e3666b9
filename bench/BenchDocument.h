#pragma once
// The window's document as the typing and preview benchmarks drive it: a template library of its
// own in a temporary folder, scripted prompts and file dialogs, and the "EAN13 (ISBN)" template
// chosen, as a user starting an EAN-13 label would have it.

#include "app/TFileDialogs.h"
#include "app/TLabelDocument.h"
#include "util/TUserPrompts.h"

#include <filesystem>
#include <memory>
#include <string>

namespace qbm::bench {

struct TBenchDocument {
    TScriptedPrompts prompts;
    TScriptedFileDialogs dialogs;
    std::unique_ptr<TLabelDocument> doc;

    explicit TBenchDocument(const std::string& folder) {
        const auto dir = std::filesystem::temp_directory_path() / folder;
        std::filesystem::create_directories(dir);
        doc = std::make_unique<TLabelDocument>(prompts, dialogs, (dir / "Templates.dat").string());
        doc->Start();
        const auto& names = doc->TemplateNames();
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == "EAN13 (ISBN)") doc->SelectTemplate(static_cast<int>(i));
    }
};

} // namespace qbm::bench
