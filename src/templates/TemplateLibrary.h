#pragma once
// The template library file: where it lives, its default content and the list of template names.

#include "ini/TSectionList.h"

#include <string>

namespace qbm {

// The reserved section of the 2D settings; never a linear template.
inline constexpr const char* kBarcode2DSection = "Barcode2D";

// Where Templates.dat lives: the executable's directory when that directory is writable (a portable
// install), otherwise the user's data directory (a system-wide install). Everything asks this.
std::string TemplateLibraryPath();
// The same decision for given directories.
std::string TemplateLibraryPath(const std::string& executableDir, const std::string& userDataDir);

// The library written at the first start: 23 linear templates and the 2D settings, CR LF lines.
std::string DefaultTemplatesText();

// Writes the default library when there is no file at `path`; an existing file is left alone.
// Throws EInOutError "Cannot create file <path>" when it cannot be written.
void WriteDefaultTemplates(const std::string& path);

// The template names in file order, without the 2D section.
TStrings LoadTemplateNames(const std::string& path);

} // namespace qbm
