#pragma once
// The template library the commands use: --library PATH, or the program's own library, written with
// the default templates when it does not exist yet (as the program does at its first start).

#include "cli/CliCommand.h"

#include <string>

namespace qbm::cli {

// --library PATH, as every command that reads templates declares it.
Option LibraryOption();

std::string LibraryPathFor(const Args& args);

// Throws EInOutError naming the library when it is not a regular file or cannot be read.
void CheckLibraryReadable(const std::string& path);

} // namespace qbm::cli
