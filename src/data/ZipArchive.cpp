#include "data/ZipArchive.h"

#include "util/Errors.h"

#include <zip.h>

#include <fstream>
#include <vector>

namespace qbm {
namespace {

constexpr size_t kChunkSize = 256 * 1024;

std::string Megabytes(uint64_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

bool StartsAsZip(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[4] = {};
    return in.read(head, sizeof head) && std::string(head, sizeof head) == std::string("PK\x03\x04", 4);
}

} // namespace

void TZipArchive::Close::operator()(zip* archive) const {
    zip_discard(archive); // read only: nothing to write back
}

TZipArchive::TZipArchive(const std::string& path, std::string what) : m_path(path), m_what(std::move(what)) {
    int error = 0;
    m_archive.reset(zip_open(path.c_str(), ZIP_RDONLY, &error));
    if (!m_archive) {
        switch (error) {
        case ZIP_ER_NOENT:
        case ZIP_ER_OPEN:
        case ZIP_ER_READ:
            Fail("the file does not exist or cannot be opened");
        case ZIP_ER_NOZIP:
            // A zipped document starts with an entry and ends with its directory: a file that starts
            // as one but has no directory at its end was cut short.
            Fail(StartsAsZip(path) ? "the file is truncated (it ends before the archive's directory)"
                                   : "not a zipped document");
        default: {
            zip_error_t zerror;
            zip_error_init_with_code(&zerror, error);
            const std::string reason = zip_error_strerror(&zerror);
            zip_error_fini(&zerror);
            Fail("the file is damaged (" + reason + ")");
        }
        }
    }
}

TZipArchive::~TZipArchive() = default;

void TZipArchive::Fail(const std::string& reason) const {
    throw EInOutError("Cannot read " + m_what + " " + m_path + ": " + reason);
}

bool TZipArchive::Has(const std::string& name) const {
    return zip_name_locate(m_archive.get(), name.c_str(), 0) >= 0;
}

uint64_t TZipArchive::StatedSize(const std::string& name) const {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(m_archive.get(), name.c_str(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) return 0;
    return st.size;
}

TZipPart::TZipPart(zip_file* file, const TZipArchive& archive, std::string name, uint64_t maxBytes)
    : m_file(file), m_archive(archive), m_name(std::move(name)), m_maxBytes(maxBytes) {}

TZipPart::~TZipPart() {
    zip_fclose(m_file);
}

size_t TZipPart::Read(char* buffer, size_t size) {
    const zip_int64_t n = zip_fread(m_file, buffer, size);
    if (n < 0) m_archive.Fail("the part " + m_name + " is damaged (" + zip_file_strerror(m_file) + ")");
    m_total += static_cast<uint64_t>(n);
    // The stated size may lie; this count holds whatever it says.
    if (m_total > m_maxBytes)
        m_archive.Fail("the part " + m_name + " unpacks to more than " + Megabytes(m_maxBytes));
    return static_cast<size_t>(n);
}

std::unique_ptr<TZipPart> TZipArchive::Open(const std::string& name, uint64_t maxBytes) const {
    if (!Has(name)) Fail("the part " + name + " is missing");
    if (StatedSize(name) > maxBytes)
        Fail("the part " + name + " unpacks to more than " + Megabytes(maxBytes));
    zip_file_t* file = zip_fopen(m_archive.get(), name.c_str(), 0);
    if (!file) Fail("the part " + name + " cannot be unpacked (" + zip_strerror(m_archive.get()) + ")");
    return std::make_unique<TZipPart>(file, *this, name, maxBytes);
}

void TZipArchive::Stream(const std::string& name, uint64_t maxBytes,
                         const std::function<void(std::string_view)>& chunk) const {
    const auto part = Open(name, maxBytes);
    std::vector<char> buffer(kChunkSize);
    while (const size_t n = part->Read(buffer.data(), buffer.size()))
        chunk(std::string_view(buffer.data(), n));
}

std::string TZipArchive::Read(const std::string& name, uint64_t maxBytes) const {
    std::string bytes;
    Stream(name, maxBytes, [&](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

} // namespace qbm
