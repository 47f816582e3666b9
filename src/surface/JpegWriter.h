#pragma once
// Baseline colour JPEG files through libjpeg.

#include <string>

namespace qbm {

// Writes 8-bit RGB rows (stride bytes apart) as a baseline JPEG. The file is replaced only when the
// whole picture was written; throws EInOutError otherwise.
void WriteJpegFile(const std::string& path, const unsigned char* rgb, int width, int height, int stride,
                   int quality, int dpi);

} // namespace qbm
