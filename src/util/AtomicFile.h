#pragma once
// Replacing a whole file so that a failure never leaves a truncated one behind: the content goes to a
// temporary file beside the target, is flushed to disk and then renamed over the target.

#include <string>
#include <string_view>

namespace qbm {

// Writes `content` as the new content of `path`. Throws EInOutError with the runtime's message
// ("File access denied", "Disk full", "I/O error %d"); the previous file then stays as it was.
void WriteFileAtomically(const std::string& path, std::string_view content);

// Reads the whole file into `content`. Returns false, leaving `content` empty, when there is no such
// file (a directory does not count as one); other failures throw EInOutError.
bool ReadFileIfExists(const std::string& path, std::string& content);

// The runtime's input/output message for an errno value.
std::string InOutErrorMessage(int error);

} // namespace qbm
