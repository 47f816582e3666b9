#include "templates/TTemplate.h"

#include "ini/TIniFile.h"

namespace qbm {

TTemplate ReadTemplate(const TIniFile& library, const std::string& name) {
    return ReadTemplateSection(library, name);
}

} // namespace qbm
