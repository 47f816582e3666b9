#pragma once
// The template library the commands use: --library PATH, or the program's own library, written with
// the default templates when it does not exist yet (as the program does at its first start).

#include <string>

namespace qbm::cli {

class Args;

std::string LibraryPathFor(const Args& args);

// Throws EInOutError naming the library when it is not a regular file or cannot be read.
void CheckLibraryReadable(const std::string& path);

} // namespace qbm::cli
