#pragma once
// The file dialogs a command needs, behind an interface: the window shows real dialogs, tests and the
// command-line tool answer from a script. The filters and default extension of each kind are
// kProjectFilter / kProjectExtension (project/ProjectFile.h) and kCodeListFilter (project/CodeListFile.h).

#include <deque>
#include <optional>
#include <string>

namespace qbm {

enum class TFileKind { fkProject, fkCodeList };

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    // The chosen file to read; nullopt when the user cancels.
    virtual std::optional<std::string> AskOpenPath(TFileKind kind) = 0;
    // The chosen file to write, proposing `proposed`; the dialog asks before overwriting; nullopt
    // when the user cancels.
    virtual std::optional<std::string> AskSavePath(TFileKind kind, const std::string& proposed) = 0;
};

// Answers from a queue (cancel when it runs dry) and remembers what the save dialog proposed.
class TScriptedFileDialogs : public TFileDialogs {
public:
    void QueuePath(std::optional<std::string> path) { m_paths.push_back(std::move(path)); }

    std::optional<std::string> AskOpenPath(TFileKind) override { return Next(); }
    std::optional<std::string> AskSavePath(TFileKind, const std::string& proposed) override {
        m_lastProposed = proposed;
        return Next();
    }
    const std::string& LastProposed() const { return m_lastProposed; }
    int Asked() const { return m_asked; }

private:
    std::optional<std::string> Next() {
        ++m_asked;
        if (m_paths.empty()) return std::nullopt;
        auto p = m_paths.front();
        m_paths.pop_front();
        return p;
    }
    std::deque<std::optional<std::string>> m_paths;
    std::string m_lastProposed;
    int m_asked = 0;
};

} // namespace qbm
