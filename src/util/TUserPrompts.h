#pragma once
// Message boxes and input boxes behind an interface: the GUI shows real dialogs, tests and the CLI
// answer from a script. Logic never calls a dialog directly.

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace qbm {

enum class TMsgKind { mkWarning, mkError, mkConfirmation, mkInformation };
// mbFitToLabelCancel: "Fit to label" (answered mrYes) and Cancel. mbProjectOrLibrary: "Use the
// project's copy" (mrYes) and "Use the library's" (mrNo).
enum class TMsgButtons { mbOK, mbYesCancel, mbYesNoCancel, mbFitToLabelCancel, mbProjectOrLibrary };
enum class TMsgResult { mrOK, mrYes, mrNo, mrCancel };

class TUserPrompts {
public:
    virtual ~TUserPrompts() = default;
    virtual TMsgResult Message(TMsgKind kind, TMsgButtons buttons, const std::string& text) = 0;
    // UTF-8 texts, any script; nullopt when the user cancels.
    virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& value) = 0;
};

// Answers from a queue (OK or the last answer when it runs dry) and records every message shown.
class TScriptedPrompts : public TUserPrompts {
public:
    struct Shown {
        TMsgKind kind;
        TMsgButtons buttons;
        std::string text;
    };

    void QueueAnswer(TMsgResult answer) { m_answers.push_back(answer); }
    void QueueInput(std::optional<std::string> input) { m_inputs.push_back(std::move(input)); }
    // The answer given when the queue is empty.
    void SetDefaultAnswer(TMsgResult answer) { m_default = answer; }

    TMsgResult Message(TMsgKind kind, TMsgButtons buttons, const std::string& text) override {
        m_shown.push_back({kind, buttons, text});
        if (m_answers.empty()) return buttons == TMsgButtons::mbOK ? TMsgResult::mrOK : m_default;
        const TMsgResult r = m_answers.front();
        m_answers.pop_front();
        return r;
    }

    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override {
        m_shown.push_back({TMsgKind::mkInformation, TMsgButtons::mbOK, caption + ": " + prompt});
        if (m_inputs.empty()) return value;
        auto r = m_inputs.front();
        m_inputs.pop_front();
        return r;
    }

    const std::vector<Shown>& Messages() const { return m_shown; }

private:
    std::deque<TMsgResult> m_answers;
    std::deque<std::optional<std::string>> m_inputs;
    TMsgResult m_default = TMsgResult::mrYes;
    std::vector<Shown> m_shown;
};

} // namespace qbm
