#include "data/XmlScanner.h"

#include "util/Text.h"

#include <cstring>

namespace qbm {
namespace {

constexpr size_t kChunkSize = 256 * 1024;
// Text longer than this without markup goes out in pieces, so that the buffer stays small.
constexpr size_t kTextPiece = 64 * 1024;
// Markup longer than this (a tag, a comment, a CDATA section) is left to the full reader, so that the
// buffer never holds more than a few pieces of the part.
constexpr size_t kMaxMarkup = 16 << 20;
// Attributes are checked against each other for repeats; a tag with more than this goes to the full reader.
constexpr size_t kMaxAttributes = 256;
constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view kXmlnsNamespace = "http://www.w3.org/2000/xmlns/";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

// Characters a document may hold and every XML reader passes on alike. C1 controls and DEL are
// legal XML, but readers differ on them, so they are left to the full reader.
bool IsPlainChar(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The length of the UTF-8 sequence at `p` (before `end`) when it is well formed and a plain
// character, else 0.
size_t Utf8Length(const unsigned char* p, const unsigned char* end) {
    const unsigned char c = p[0];
    size_t n = 0;
    uint32_t code = 0, min = 0;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, code = c & 0x1F, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, code = c & 0x0F, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, code = c & 0x07, min = 0x10000;
    else
        return 0;
    if (static_cast<size_t>(end - p) < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    return code >= min && IsPlainChar(code) ? n : 0;
}

// Refuses bytes that are not plain characters; `blanks` says whether tabs and line feeds may occur.
void CheckPlain(std::string_view text, bool blanks) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c >= 0x20 && c < 0x7F) {
            ++p;
        } else if (c >= 0x80) {
            const size_t n = Utf8Length(p, end);
            if (n == 0) throw EXmlScanRefused("not plain UTF-8");
            p += n;
        } else if (blanks && (c == '\t' || c == '\n')) {
            ++p;
        } else {
            throw EXmlScanRefused("a control character");
        }
    }
}

std::string_view Prefix(std::string_view qualifiedName) {
    const size_t colon = qualifiedName.find(':');
    return colon == std::string_view::npos ? std::string_view() : qualifiedName.substr(0, colon);
}
std::string_view LocalName(std::string_view qualifiedName) {
    const size_t colon = qualifiedName.find(':');
    return colon == std::string_view::npos ? qualifiedName : qualifiedName.substr(colon + 1);
}

} // namespace

TXmlScanner::TXmlScanner(std::function<size_t(char*, size_t)> fill) : m_fill(std::move(fill)) {}

void TXmlScanner::Refuse(const char* why) {
    throw EXmlScanRefused(why);
}

bool TXmlScanner::Have(size_t offset) {
    while (m_pos + offset >= m_end) {
        if (m_inputEnded) return false;
        if (m_end - m_pos > kMaxMarkup) Refuse("very long markup");
        if (m_pos > 0) {
            std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
            m_end -= m_pos;
            m_pos = 0;
        }
        if (m_buffer.size() - m_end < kChunkSize)
            m_buffer.resize(std::max(2 * m_buffer.size(), m_end + kChunkSize));
        const size_t n = m_fill(m_buffer.data() + m_end, kChunkSize);
        if (n == 0) m_inputEnded = true;
        m_end += n;
    }
    return true;
}

size_t TXmlScanner::Find(std::string_view needle, size_t from) {
    size_t i = from;
    for (;;) {
        const std::string_view available(m_buffer.data() + m_pos, m_end - m_pos);
        const size_t found = available.find(needle, i);
        if (found != std::string_view::npos) return found;
        if (available.size() >= needle.size()) i = std::max(from, available.size() - needle.size() + 1);
        if (!Have(available.size())) Refuse("the document ends inside markup");
    }
}

std::string_view TXmlScanner::ScanName(const char*& p, const char* end) const {
    const char* start = p;
    if (p == end || !IsNameStart(*p)) Refuse("not a plain name");
    bool colon = false;
    for (++p; p < end; ++p) {
        if (IsNameChar(*p)) continue;
        if (*p != ':') break;
        // A prefix and a local name, each a name of its own: no second colon, no digit after the colon.
        if (colon || p + 1 == end || !IsNameStart(p[1])) Refuse("not a plain name");
        colon = true;
    }
    return {start, static_cast<size_t>(p - start)};
}

std::string_view TXmlScanner::Resolve(std::string_view prefix, bool element) const {
    if (prefix.empty() && !element) return {};
    if (prefix == "xml") return kXmlNamespace;
    if (prefix == "xmlns") Refuse("a reserved prefix");
    // A document declares its prefixes once, on the root, and its elements use a few of them over and
    // over: the last few answers are kept until a declaration comes or goes.
    for (const TCachedPrefix& c : m_cache)
        if (c.generation == m_generation && c.prefix == prefix) return c.uri;
    for (auto b = m_bindings.rbegin(); b != m_bindings.rend(); ++b) {
        if (b->prefix != prefix) continue;
        TCachedPrefix& c = m_cache[m_cacheNext++ % m_cache.size()];
        c = {b->prefix, b->uri, m_generation};
        return b->uri;
    }
    if (!prefix.empty()) Refuse("an undeclared prefix");
    return {};
}

std::string_view TXmlScanner::Decode(std::string_view raw, bool attribute, std::string& out) const {
    bool plain = true;
    for (const char c : raw) {
        if (c == '&' || c == '\r' || c == '<') {
            plain = false;
            break;
        }
    }
    if (plain) {
        CheckPlain(raw, !attribute);
        if (!attribute && raw.find("]]>") != std::string_view::npos) Refuse("a CDATA end in text");
        return raw;
    }
    out.clear();
    for (size_t i = 0; i < raw.size();) {
        const size_t special = raw.find_first_of(attribute ? "&<\r" : "&<\r]", i);
        const std::string_view run =
            raw.substr(i, special == std::string_view::npos ? raw.npos : special - i);
        CheckPlain(run, !attribute);
        out += run;
        if (special == std::string_view::npos) break;
        i = special;
        const char c = raw[i];
        if (c == '<' || (c == '\r' && attribute)) Refuse("markup or a carriage return in a value");
        if (c == '\r') { // a line end as a carriage return (and line feed) reads as one line feed
            out += '\n';
            i += i + 1 < raw.size() && raw[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (c == ']') {
            if (raw.substr(i, 3) == "]]>") Refuse("a CDATA end in text");
            out += ']';
            ++i;
            continue;
        }
        const size_t semicolon = raw.find(';', i);
        if (semicolon == std::string_view::npos) Refuse("an unterminated reference");
        const std::string_view ref = raw.substr(i + 1, semicolon - i - 1);
        i = semicolon + 1;
        if (ref == "lt")
            out += '<';
        else if (ref == "gt")
            out += '>';
        else if (ref == "amp")
            out += '&';
        else if (ref == "quot")
            out += '"';
        else if (ref == "apos")
            out += '\'';
        else if (ref.size() >= 2 && ref[0] == '#') {
            const bool hex = ref[1] == 'x';
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            if (digits.empty() || digits.size() > 8) Refuse("a character reference out of range");
            uint32_t code = 0;
            for (const char d : digits) {
                uint32_t v;
                if (d >= '0' && d <= '9')
                    v = static_cast<uint32_t>(d - '0');
                else if (hex && d >= 'a' && d <= 'f')
                    v = static_cast<uint32_t>(d - 'a' + 10);
                else if (hex && d >= 'A' && d <= 'F')
                    v = static_cast<uint32_t>(d - 'A' + 10);
                else
                    Refuse("not a character reference");
                code = code * (hex ? 16 : 10) + v;
            }
            if (!IsPlainChar(code)) Refuse("a character reference out of range");
            AppendUtf8(out, code);
        } else {
            Refuse("an entity reference");
        }
    }
    return out;
}

void TXmlScanner::Declaration(std::string_view body) {
    // version="1.0" [encoding="UTF-8"] [standalone="yes"|"no"], as office suites write it
    const char* p = body.data();
    const char* end = p + body.size();
    int field = 0;
    for (;;) {
        const char* before = p;
        while (p < end && IsBlank(*p)) ++p;
        if (p == end) break;
        if (p == before) Refuse("an unusual declaration");
        const std::string_view name = ScanName(p, end);
        while (p < end && IsBlank(*p)) ++p;
        if (p == end || *p != '=') Refuse("an unusual declaration");
        for (++p; p < end && IsBlank(*p);) ++p;
        if (p == end || (*p != '"' && *p != '\'')) Refuse("an unusual declaration");
        const char quote = *p++;
        const char* close = static_cast<const char*>(std::memchr(p, quote, static_cast<size_t>(end - p)));
        if (!close) Refuse("an unusual declaration");
        std::string value(p, close);
        p = close + 1;
        for (char& c : value) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        if (field == 0 && name == "version" && value == "1.0")
            field = 1;
        else if (field == 1 && name == "encoding" && value == "UTF-8")
            field = 2;
        else if (field >= 1 && field <= 2 && name == "standalone" && (value == "YES" || value == "NO"))
            field = 3;
        else
            Refuse("an unusual declaration");
    }
    if (field == 0) Refuse("an unusual declaration");
}

TXmlToken TXmlScanner::Next() {
    m_attributes.clear();
    if (m_pendingEnd) {
        m_pendingEnd = false;
        m_popPending = true;
        return TXmlToken::EndElement;
    }
    if (m_popPending) {
        m_popPending = false;
        const size_t depth = m_openEnds.size();
        while (!m_bindings.empty() && m_bindings.back().depth == depth) {
            m_bindings.pop_back();
            ++m_generation;
        }
        m_openNames.resize(m_openEnds.size() > 1 ? m_openEnds[m_openEnds.size() - 2] : 0);
        m_openEnds.pop_back();
    }
    for (;;) {
        const bool start = m_pos == 0 && !m_prologDone;
        if (start && Have(2) && std::string_view(m_buffer.data(), 3) == "\xEF\xBB\xBF") m_pos = 3;
        m_prologDone = true;
        if (!Have(0)) {
            if (m_openEnds.empty() && m_rootSeen) return TXmlToken::EndDocument;
            Refuse("the document ends early");
        }
        if (At(0) != '<') {
            if (!m_openEnds.empty()) return TextRun();
            while (Have(0) && IsBlank(At(0))) ++m_pos;
            if (Have(0) && At(0) != '<') Refuse("text outside the root element");
            continue;
        }
        if (!Have(1)) Refuse("the document ends inside markup");
        const char c = At(1);
        if (c == '/') return EndTag();
        if (c == '?') {
            const size_t close = Find("?>", 2);
            const std::string_view body(m_buffer.data() + m_pos + 2, close - 2);
            const char* p = body.data();
            const std::string_view target = ScanName(p, body.data() + body.size());
            const std::string_view rest(p, static_cast<size_t>(body.data() + body.size() - p));
            // A namespace-aware reader takes no colon in a target.
            if ((!rest.empty() && !IsBlank(rest[0])) || target.find(':') != std::string_view::npos)
                Refuse("an unusual processing instruction");
            if (target == "xml") {
                if (!(start || (m_pos == 3 && std::string_view(m_buffer.data(), 3) == "\xEF\xBB\xBF")))
                    Refuse("a declaration after the start");
                Declaration(rest);
            } else {
                if (target.size() == 3 && (target[0] | 32) == 'x' && (target[1] | 32) == 'm' &&
                    (target[2] | 32) == 'l')
                    Refuse("a reserved processing instruction");
                CheckPlain(rest, true);
            }
            m_pos += close + 2;
            continue;
        }
        if (c == '!') {
            if (Have(3) && std::string_view(m_buffer.data() + m_pos, 4) == "<!--") {
                const size_t close = Find("--", 4);
                if (!Have(close + 2) || At(close + 2) != '>') Refuse("a double hyphen in a comment");
                CheckPlain(std::string_view(m_buffer.data() + m_pos + 4, close - 4), true);
                m_pos += close + 3;
                continue;
            }
            if (!m_openEnds.empty() && Have(8) &&
                std::string_view(m_buffer.data() + m_pos, 9) == "<![CDATA[") {
                const size_t close = Find("]]>", 9);
                m_text = std::string_view(m_buffer.data() + m_pos + 9, close - 9);
                if (m_text.find('\r') != std::string_view::npos) Refuse("a carriage return in CDATA");
                CheckPlain(m_text, true);
                m_pos += close + 3;
                return TXmlToken::Characters;
            }
            Refuse("a document type or unusual markup");
        }
        return StartTag();
    }
}

TXmlToken TXmlScanner::StartTag() {
    if (m_openEnds.empty() && m_rootSeen) Refuse("a second root element");
    size_t i = 1;
    char quote = 0;
    for (;; ++i) {
        if (m_pos + i >= m_end && !Have(i)) Refuse("the document ends inside a tag");
        const char c = m_buffer[m_pos + i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            break;
        } else if (c == '<') {
            Refuse("a tag inside a tag");
        }
    }
    const char* p = m_buffer.data() + m_pos + 1;
    const char* end = m_buffer.data() + m_pos + i;
    m_pos += i + 1;
    const std::string_view qualifiedName = ScanName(p, end);
    const size_t depth = m_openEnds.size() + 1;
    bool empty = false;
    m_raw.clear();
    for (;;) {
        const char* before = p;
        while (p < end && IsBlank(*p)) ++p;
        if (p == end) break;
        if (*p == '/' && p + 1 == end) {
            empty = true;
            break;
        }
        if (p == before) Refuse("attributes without a blank between them");
        const std::string_view name = ScanName(p, end);
        while (p < end && IsBlank(*p)) ++p;
        if (p == end || *p != '=') Refuse("an attribute without a value");
        for (++p; p < end && IsBlank(*p);) ++p;
        if (p == end || (*p != '"' && *p != '\'')) Refuse("an unquoted attribute value");
        const char q = *p++;
        const char* close = static_cast<const char*>(std::memchr(p, q, static_cast<size_t>(end - p)));
        if (!close) Refuse("an unterminated attribute value");
        if (m_raw.size() == kMaxAttributes) Refuse("very many attributes");
        m_raw.push_back({name, std::string_view(p, static_cast<size_t>(close - p))});
        p = close + 1;
    }
    const size_t count = m_raw.size();
    const auto& raw = m_raw;
    if (m_decoded.size() < count) m_decoded.resize(count);
    for (size_t a = 0; a < count; ++a) {
        for (size_t b = 0; b < a; ++b)
            if (raw[a].name == raw[b].name) Refuse("a repeated attribute");
        const std::string_view name = raw[a].name;
        if (name == "xmlns" || Prefix(name) == "xmlns") {
            const std::string_view prefix = name == "xmlns" ? std::string_view() : LocalName(name);
            const std::string_view uri = Decode(raw[a].value, true, m_decoded[a]);
            if (prefix == "xml" || prefix == "xmlns" || (!prefix.empty() && uri.empty()) ||
                uri == kXmlNamespace || uri == kXmlnsNamespace)
                Refuse("an unusual namespace declaration");
            m_bindings.push_back({std::string(prefix), std::string(uri), depth});
            ++m_generation;
        }
    }
    m_qualifiedName = qualifiedName;
    m_name = LocalName(qualifiedName);
    m_namespaceUri = Resolve(Prefix(qualifiedName), true);
    for (size_t a = 0; a < count; ++a) {
        const std::string_view name = raw[a].name;
        if (name == "xmlns" || Prefix(name) == "xmlns") continue;
        TXmlAttribute attribute{name, Resolve(Prefix(name), false), LocalName(name),
                                Decode(raw[a].value, true, m_decoded[a])};
        for (const TXmlAttribute& other : m_attributes)
            if (!attribute.namespaceUri.empty() && other.namespaceUri == attribute.namespaceUri &&
                other.name == attribute.name)
                Refuse("a repeated attribute");
        m_attributes.push_back(attribute);
    }
    m_openNames += qualifiedName;
    m_openEnds.push_back(m_openNames.size());
    m_rootSeen = true;
    m_pendingEnd = empty;
    return TXmlToken::StartElement;
}

std::string_view TXmlScanner::OpenName() const {
    const size_t start = m_openEnds.size() > 1 ? m_openEnds[m_openEnds.size() - 2] : 0;
    return std::string_view(m_openNames).substr(start, m_openEnds.back() - start);
}

TXmlToken TXmlScanner::EndTag() {
    const size_t close = Find(">", 2);
    const char* p = m_buffer.data() + m_pos + 2;
    const char* end = m_buffer.data() + m_pos + close;
    const std::string_view qualifiedName = ScanName(p, end);
    while (p < end && IsBlank(*p)) ++p;
    if (p != end) Refuse("an unusual end tag");
    if (m_openEnds.empty() || OpenName() != qualifiedName) Refuse("an end tag that does not match");
    m_pos += close + 1;
    m_qualifiedName = OpenName();
    m_name = LocalName(m_qualifiedName);
    m_namespaceUri = Resolve(Prefix(m_qualifiedName), true);
    m_popPending = true;
    return TXmlToken::EndElement;
}

TXmlToken TXmlScanner::TextRun() {
    size_t i = 0;
    for (;;) {
        if (m_pos + i >= m_end && !Have(i)) Refuse("the document ends in text");
        const char* b = m_buffer.data() + m_pos;
        const auto* lt = static_cast<const char*>(std::memchr(b + i, '<', m_end - m_pos - i));
        if (lt) {
            i = static_cast<size_t>(lt - b);
            break;
        }
        i = m_end - m_pos;
        if (i >= kTextPiece) {
            // A piece that ends neither inside a character nor a reference, nor on a bracket that
            // may open a CDATA end or on a carriage return that may pair with a line feed.
            size_t cut = i - 4;
            while (cut > 0 && (static_cast<unsigned char>(b[cut]) & 0xC0) == 0x80) --cut;
            while (cut > 0 && (b[cut - 1] == ']' || b[cut - 1] == '\r')) --cut;
            const std::string_view head(b, cut);
            const size_t amp = head.rfind('&');
            if (amp != std::string_view::npos && head.find(';', amp) == std::string_view::npos) cut = amp;
            if (cut == 0) Refuse("an unusual text");
            i = cut;
            break;
        }
    }
    const std::string_view raw(m_buffer.data() + m_pos, i);
    m_text = Decode(raw, false, m_textDecoded);
    m_pos += i;
    return TXmlToken::Characters;
}

} // namespace qbm
