#pragma once
// Reading the parts of a zipped document (.xlsx, .ods) through libzip, with a ceiling on what a part
// may unpack to, so that a damaged or hostile file ends in an error rather than in exhausted memory.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct zip;
struct zip_file;

namespace qbm {

// One part being unpacked; reading past its ceiling throws.
class TZipPart {
public:
    TZipPart(zip_file* file, const class TZipArchive& archive, std::string name, uint64_t maxBytes);
    ~TZipPart();
    TZipPart(const TZipPart&) = delete;
    TZipPart& operator=(const TZipPart&) = delete;
    // Up to `size` bytes; 0 at the end of the part.
    size_t Read(char* buffer, size_t size);
    uint64_t BytesRead() const { return m_total; }

private:
    zip_file* m_file;
    const TZipArchive& m_archive;
    std::string m_name;
    uint64_t m_maxBytes;
    uint64_t m_total = 0;
};

class TZipArchive {
public:
    // Throws EInOutError "Cannot read <what> <path>: <reason>".
    TZipArchive(const std::string& path, std::string what);
    ~TZipArchive();
    TZipArchive(const TZipArchive&) = delete;
    TZipArchive& operator=(const TZipArchive&) = delete;

    bool Has(const std::string& name) const;
    // Throws EInOutError when the part is missing, or states a size beyond `maxBytes`.
    std::unique_ptr<TZipPart> Open(const std::string& name, uint64_t maxBytes) const;
    // Hands the part's bytes to `chunk` piece by piece; throws EInOutError when the part is missing,
    // damaged, or unpacks to more than `maxBytes`.
    void Stream(const std::string& name, uint64_t maxBytes,
                const std::function<void(std::string_view)>& chunk) const;
    std::string Read(const std::string& name, uint64_t maxBytes) const;
    // The part's unpacked size as the archive states it (0 when missing).
    uint64_t StatedSize(const std::string& name) const;

    [[noreturn]] void Fail(const std::string& reason) const;

private:
    struct Close {
        void operator()(zip* archive) const;
    };
    std::unique_ptr<zip, Close> m_archive;
    std::string m_path;
    std::string m_what;
};

} // namespace qbm
