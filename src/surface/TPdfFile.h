#pragma once
// The object layer of a PDF file: numbered objects written one after the other, streams compressed
// whole (a page at a time), and the cross-reference table at the end. Written straight to a file, so
// that a print run of thousands of pages holds only the page being drawn. Internal to the PDF printer.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct libdeflate_compressor;

namespace qbm {

class TPdfFile {
public:
    // Writes the header to `out`, which stays the caller's.
    explicit TPdfFile(std::FILE* out);

    // A number for an object written later; objects may refer to it before it is written.
    int Reserve();
    // Writes a whole object: `body` is its dictionary, array or value.
    void Object(int id, std::string_view body);
    // Writes a stream object with `dict` as the entries of its dictionary beside /Length and
    // /Filter; the data is compressed unless `compress` is false.
    void Stream(int id, std::string_view dict, std::string_view data, bool compress = true);
    // Writes the cross-reference table and the trailer; every reserved object must be written.
    void Finish(int catalog, int info);

    // True once a write failed; the system's error number is in `errno` then.
    bool Failed() const;

private:
    void Begin(int id);
    void Put(std::string_view text);

    std::FILE* m_out;
    uint64_t m_offset = 0;
    // File offset of each object by number; 0 for one reserved but not yet written.
    std::vector<uint64_t> m_offsets{0};
    struct TCompressorFree {
        void operator()(libdeflate_compressor* c) const;
    };
    std::unique_ptr<libdeflate_compressor, TCompressorFree> m_compressor;
    std::string m_compressed;
};

// Appends a number the way content streams take it: whole numbers without a point, others with at
// most three decimals.
void AppendNumber(std::string& out, double value);
void AppendInt(std::string& out, long long value);
// Appends a text string for the document information (title, creator) as UTF-16 with its mark.
void AppendTextString(std::string& out, std::string_view latin1);

} // namespace qbm
