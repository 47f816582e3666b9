#pragma once
// A small pull scanner for the XML of workbook parts: elements, attributes and text, in UTF-8, with
// entities, character references, CDATA and namespaces resolved. It reads the plain, well-formed
// documents office suites write, at the speed of a pass over their bytes, and refuses (EXmlScanRefused)
// everything else - malformed XML, document types, other encodings, control characters, carriage
// returns, names beyond ASCII - so that a full XML reader, whose verdict and error texts count, reads
// such a part instead. Whatever it does accept it reports exactly as that reader would.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class EXmlScanRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TXmlToken : uint8_t { StartElement, EndElement, Characters, EndDocument };

struct TXmlAttribute {
    std::string_view qualifiedName;
    std::string_view namespaceUri;
    std::string_view name; // without its prefix
    std::string_view value;
};

class TXmlScanner {
public:
    // `fill(buffer, size)` hands over up to `size` further bytes of the document, 0 at its end.
    explicit TXmlScanner(std::function<size_t(char*, size_t)> fill);

    // The next token; the views below stay valid until the next call.
    TXmlToken Next();
    std::string_view Name() const { return m_name; }
    std::string_view QualifiedName() const { return m_qualifiedName; }
    std::string_view NamespaceUri() const { return m_namespaceUri; }
    std::string_view Text() const { return m_text; }
    std::span<const TXmlAttribute> Attributes() const { return m_attributes; }

private:
    struct TBinding {
        std::string prefix, uri;
        size_t depth;
    };
    [[noreturn]] static void Refuse(const char* why);
    // Makes the bytes up to m_pos + `offset` available; false when the document ends before them.
    bool Have(size_t offset);
    // The offset from m_pos at which `needle` starts, searching from `from`; refuses at the end.
    size_t Find(std::string_view needle, size_t from);
    char At(size_t offset) const { return m_buffer[m_pos + offset]; }
    TXmlToken StartTag();
    TXmlToken EndTag();
    TXmlToken TextRun();
    void Declaration(std::string_view body);
    // A name at `p`, which advances past it; refuses what is not an ASCII name with at most one colon.
    std::string_view ScanName(const char*& p, const char* end) const;
    std::string_view OpenName() const;
    std::string_view Resolve(std::string_view prefix, bool element) const;
    // The text of an attribute value or character data with its references decoded; a view of the
    // buffer when nothing needed decoding.
    std::string_view Decode(std::string_view raw, bool attribute, std::string& out) const;

    std::function<size_t(char*, size_t)> m_fill;
    std::string m_buffer;
    size_t m_pos = 0, m_end = 0;
    bool m_inputEnded = false;
    bool m_rootSeen = false;
    bool m_pendingEnd = false; // an empty element's end
    bool m_popPending = false;
    bool m_prologDone = false;
    // The qualified names of the open elements, one after another, and where each ends.
    std::string m_openNames;
    std::vector<size_t> m_openEnds;
    std::vector<TBinding> m_bindings;
    uint64_t m_generation = 1; // changes with every declaration that comes or goes
    struct TCachedPrefix {
        std::string_view prefix, uri; // views of a binding, valid while the generation holds
        uint64_t generation = 0;
    };
    mutable std::array<TCachedPrefix, 4> m_cache;
    mutable size_t m_cacheNext = 0;
    std::string_view m_name, m_qualifiedName, m_namespaceUri, m_text;
    std::vector<TXmlAttribute> m_attributes;
    struct TRawAttribute {
        std::string_view name, value; // as written
    };
    std::vector<TRawAttribute> m_raw;
    std::vector<std::string> m_decoded; // attribute values that needed decoding
    std::string m_textDecoded;
};

} // namespace qbm
