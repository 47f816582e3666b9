#include "cli/CliPrompts.h"

#include "util/Text.h"

#include <iostream>

namespace qbm::cli {

TMsgResult TConsolePrompts::Message(TMsgKind kind, TMsgButtons buttons, const std::string& text) {
    if (buttons != TMsgButtons::mbOK) return TMsgResult::mrYes; // the user asked for the run already
    if (kind == TMsgKind::mkWarning || kind == TMsgKind::mkError) m_complained = true;
    if (kind == TMsgKind::mkError) m_failed = true;
    std::cerr << Latin1ToUtf8(text) << "\n";
    return TMsgResult::mrOK;
}

std::optional<std::string> TConsolePrompts::InputBox(const std::string&, const std::string&,
                                                     const std::string& value) {
    return value;
}

} // namespace qbm::cli
