#include "templates/FontStyleLetters.h"

#include "util/Text.h"

namespace qbm {

std::string StyleToLetters(TFontStyles style) {
    std::string letters;
    if (style & fsItalic) letters += 'I';
    if (style & fsBold) letters += 'B';
    if (style & fsUnderline) letters += 'U';
    if (style & fsStrikeOut) letters += 'S';
    return letters;
}

TFontStyles LettersToStyle(std::string_view letters) {
    const std::string upper = UpperCase(letters);
    TFontStyles style = 0;
    if (upper.find('I') != std::string::npos) style |= fsItalic;
    if (upper.find('B') != std::string::npos) style |= fsBold;
    if (upper.find('U') != std::string::npos) style |= fsUnderline;
    if (upper.find('S') != std::string::npos) style |= fsStrikeOut;
    return style;
}

} // namespace qbm
