#pragma once
// A zipped document's XML part read as a stream of tokens in UTF-8, unpacked as the parser needs more:
// memory stays flat however large the part is.

#include "data/XmlScanner.h"
#include "data/ZipArchive.h"

#include <QXmlStreamReader>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// The fast scanner reads the parts office suites write; Qt's reader takes every part the scanner
// leaves to it, and its verdict and error texts are the ones the user sees.
enum class TXmlParser : uint8_t { xpScanner, xpQt };

class TXmlPartReader {
public:
    TXmlPartReader(const TZipArchive& archive, const std::string& name, uint64_t maxBytes,
                   TXmlParser parser = TXmlParser::xpScanner);
    // The next token; EndDocument at the end. Throws EInOutError for XML that is not well formed or
    // carries a document type (the formats never do; it is how entity tricks come in), and with the
    // scanner EXmlScanRefused for a part it leaves to Qt's reader.
    TXmlToken Next();
    // The element's name without its prefix, and its attributes; the views stay valid until Next.
    std::string_view Name() const { return m_name; }
    std::span<const TXmlAttribute> Attributes() const { return m_attributes; }
    // An attribute by its name as written ("r", "r:id"), or by namespace and name; null when missing.
    const TXmlAttribute* Find(std::string_view qualifiedName) const;
    const TXmlAttribute* Find(std::string_view namespaceUri, std::string_view name) const;
    // Their values, empty when missing.
    std::string_view Value(std::string_view qualifiedName) const;
    std::string_view Value(std::string_view namespaceUri, std::string_view name) const;
    // The text of a Characters token.
    std::string_view Text() const { return m_text; }
    uint64_t BytesRead() const { return m_part->BytesRead(); }

private:
    TXmlToken NextFromQt();

    const TZipArchive& m_archive;
    std::string m_name;
    std::string m_partName;
    std::unique_ptr<TZipPart> m_part;
    std::unique_ptr<TXmlScanner> m_scanner;
    std::string_view m_text;
    std::span<const TXmlAttribute> m_attributes;
    // Qt's reader and the UTF-8 copies of its current token.
    std::unique_ptr<QXmlStreamReader> m_xml;
    QByteArray m_buffer;
    bool m_atEnd = false;
    int m_depth = 0;
    bool m_rootClosed = false;
    std::string m_qtText;
    std::vector<std::string> m_qtStrings;
    std::vector<TXmlAttribute> m_qtAttributes;
};

// Whole numbers in attribute values and text, read as Qt reads them (blanks around them and a sign
// allowed; XmlULongLong trims any white space first): nullopt, or 0 for XmlInt, when the text is no
// number or out of range.
std::optional<long long> XmlLongLong(std::string_view text);
std::optional<unsigned long long> XmlULongLong(std::string_view text);
int XmlInt(std::string_view text);

// Runs read(xml) over the part with the scanner first and, when the scanner leaves the part to Qt's
// reader, again from the start with that; `read` starts afresh each time. Returns the parser that
// read the part, so that a second pass over it can go straight to that one.
template <typename Read>
TXmlParser ReadXmlPart(const TZipArchive& archive, const std::string& name, uint64_t maxBytes, Read read,
                       TXmlParser first = TXmlParser::xpScanner) {
    if (first == TXmlParser::xpScanner) {
        try {
            TXmlPartReader xml(archive, name, maxBytes, TXmlParser::xpScanner);
            read(xml);
            return TXmlParser::xpScanner;
        } catch (const EXmlScanRefused&) {
        }
    }
    TXmlPartReader xml(archive, name, maxBytes, TXmlParser::xpQt);
    read(xml);
    return TXmlParser::xpQt;
}

} // namespace qbm
