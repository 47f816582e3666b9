#pragma once
// Prompts for a command line run: messages go to stderr, questions are answered Yes.

#include "util/TUserPrompts.h"

namespace qbm::cli {

class TConsolePrompts : public TUserPrompts {
public:
    TMsgResult Message(TMsgKind kind, TMsgButtons buttons, const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;
    // Whether a warning or error was shown.
    bool Complained() const { return m_complained; }
    // Whether an error was shown: something the run needed could not be done.
    bool Failed() const { return m_failed; }

private:
    bool m_complained = false;
    bool m_failed = false;
};

} // namespace qbm::cli
