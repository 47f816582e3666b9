#include "surface/TPdfFile.h"

#include <libdeflate.h>

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace qbm {

void AppendInt(std::string& out, long long value) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

void AppendNumber(std::string& out, double value) {
    const double rounded = std::round(value * 1000) / 1000;
    if (rounded == std::floor(rounded) && std::abs(rounded) < 1e15) {
        AppendInt(out, static_cast<long long>(rounded));
        return;
    }
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, 3);
    const char* end = r.ptr;
    while (end[-1] == '0') --end; // "0.500" reads as well as "0.5", and is longer
    out.append(buf, static_cast<size_t>(end - buf));
}

void AppendTextString(std::string& out, std::string_view latin1) {
    static const char kHex[] = "0123456789ABCDEF";
    out += "<FEFF";
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        out += "00";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    out += '>';
}

void TPdfFile::TCompressorFree::operator()(libdeflate_compressor* c) const {
    libdeflate_free_compressor(c);
}

// The fastest level: label pages repeat a few operators thousands of times, which it finds as
// well as the slower ones do, at several times their speed.
TPdfFile::TPdfFile(std::FILE* out) : m_out(out), m_compressor(libdeflate_alloc_compressor(1)) {
    if (!m_compressor) throw std::bad_alloc();
    // The second line's bytes above 127 tell transfer programs the file is binary.
    Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

bool TPdfFile::Failed() const {
    return std::ferror(m_out) != 0;
}

void TPdfFile::Put(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), m_out);
    m_offset += text.size();
}

int TPdfFile::Reserve() {
    m_offsets.push_back(0);
    return static_cast<int>(m_offsets.size() - 1);
}

void TPdfFile::Begin(int id) {
    if (id <= 0 || id >= static_cast<int>(m_offsets.size()) || m_offsets[id] != 0)
        throw std::logic_error("PDF object written twice or never reserved");
    m_offsets[id] = m_offset;
    std::string head;
    AppendInt(head, id);
    head += " 0 obj\n";
    Put(head);
}

void TPdfFile::Object(int id, std::string_view body) {
    Begin(id);
    Put(body);
    Put("\nendobj\n");
}

void TPdfFile::Stream(int id, std::string_view dict, std::string_view data, bool compress) {
    std::string_view payload = data;
    if (compress) {
        m_compressed.resize(libdeflate_zlib_compress_bound(m_compressor.get(), data.size()));
        const size_t size = libdeflate_zlib_compress(m_compressor.get(), data.data(), data.size(),
                                                     m_compressed.data(), m_compressed.size());
        if (size == 0) throw std::logic_error("PDF stream larger than its compression bound");
        payload = std::string_view(m_compressed.data(), size);
    }
    Begin(id);
    std::string head = "<<";
    head += dict;
    head += compress ? " /Filter /FlateDecode /Length " : " /Length ";
    AppendInt(head, static_cast<long long>(payload.size()));
    head += " >>\nstream\n";
    Put(head);
    Put(payload);
    Put("\nendstream\nendobj\n");
}

void TPdfFile::Finish(int catalog, int info) {
    for (size_t id = 1; id < m_offsets.size(); ++id)
        if (m_offsets[id] == 0) throw std::logic_error("PDF object reserved but never written");
    const uint64_t xref = m_offset;
    std::string table = "xref\n0 ";
    AppendInt(table, static_cast<long long>(m_offsets.size()));
    table += "\n0000000000 65535 f \n";
    char entry[32];
    for (size_t id = 1; id < m_offsets.size(); ++id) {
        std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                      static_cast<unsigned long long>(m_offsets[id]));
        table += entry;
    }
    table += "trailer\n<< /Size ";
    AppendInt(table, static_cast<long long>(m_offsets.size()));
    table += " /Root ";
    AppendInt(table, catalog);
    table += " 0 R /Info ";
    AppendInt(table, info);
    table += " 0 R >>\nstartxref\n";
    AppendInt(table, static_cast<long long>(xref));
    table += "\n%%EOF\n";
    Put(table);
}

} // namespace qbm
