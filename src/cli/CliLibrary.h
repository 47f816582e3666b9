#pragma once
// The template library the commands use: --library PATH, or the program's own library, written with
// the default templates when it does not exist yet (as the program does at its first start).

#include <string>

namespace qbm::cli {

class Args;

std::string LibraryPathFor(const Args& args);

} // namespace qbm::cli
