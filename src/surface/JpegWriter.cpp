#include "surface/JpegWriter.h"

#include "util/Errors.h"
#include "util/TempFileCleanup.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <unistd.h>

namespace qbm {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

} // namespace

void WriteJpegFile(const std::string& path, const unsigned char* rgb, int width, int height, int stride,
                   int quality, int dpi) {
    if (width <= 0 || height <= 0) throw EInOutError("Cannot write an empty picture to " + path);
    const std::string temp = path + ".tmp-" + std::to_string(getpid());
    const TTempFileGuard guard(temp);
    FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out) throw EInOutError("Cannot write file " + path);

    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::fclose(out);
        std::remove(temp.c_str());
        throw EInOutError("Cannot write file " + path + ": " + err.message);
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE); // TRUE: baseline-compatible quantisation tables
    cinfo.density_unit = 1;
    cinfo.X_density = static_cast<UINT16>(dpi);
    cinfo.Y_density = static_cast<UINT16>(dpi);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row = const_cast<JSAMPROW>(rgb + static_cast<size_t>(cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const bool flushed = std::fflush(out) == 0 && fsync(fileno(out)) == 0;
    const bool closed = std::fclose(out) == 0;
    if (!flushed || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw EInOutError("Cannot write file " + path);
    }
}

} // namespace qbm
