#pragma once
// A workbook part as the import's XML scanner and as Qt's reader see it, one line a token, for tests
// and the fuzz target that hold the two side by side.

#include "data/XmlScanner.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbm::test {

// What a reader of workbook parts sees of a document, one line a token: elements with their namespace
// and attributes (sorted), and the text inside the root element, adjacent pieces joined.
struct TLog {
    std::vector<std::string> lines;
    int depth = 0;
    void Start(std::string element, std::vector<std::string> attributes) {
        std::sort(attributes.begin(), attributes.end());
        for (const std::string& a : attributes) element += " " + a;
        lines.push_back("<" + element);
        ++depth;
    }
    void End(const std::string& element) {
        lines.push_back(">" + element);
        --depth;
    }
    void Text(std::string_view text) {
        if (depth == 0) return;
        if (!lines.empty() && lines.back().starts_with('"'))
            lines.back() += text;
        else
            lines.push_back("\"" + std::string(text));
    }
};

inline std::string Qualified(std::string_view uri, std::string_view name) {
    return "{" + std::string(uri) + "}" + std::string(name);
}

// The scanner's log, fed in pieces of the given sizes (repeating), or nullopt when it refuses.
inline std::optional<std::vector<std::string>> ScannerLog(const std::string& xml,
                                                          const std::vector<size_t>& pieces) {
    size_t at = 0, piece = 0;
    TXmlScanner scanner([&](char* buffer, size_t size) {
        const size_t n = std::min({size, xml.size() - at, pieces[piece++ % pieces.size()]});
        std::memcpy(buffer, xml.data() + at, n);
        at += n;
        return n;
    });
    TLog log;
    try {
        for (TXmlToken t; (t = scanner.Next()) != TXmlToken::EndDocument;) {
            if (t == TXmlToken::Characters) {
                log.Text(scanner.Text());
            } else if (t == TXmlToken::EndElement) {
                log.End(Qualified(scanner.NamespaceUri(), scanner.Name()));
            } else {
                std::vector<std::string> attributes;
                for (const TXmlAttribute& a : scanner.Attributes())
                    attributes.push_back(Qualified(a.namespaceUri, a.name) + "=" + std::string(a.value));
                log.Start(Qualified(scanner.NamespaceUri(), scanner.Name()), attributes);
            }
        }
    } catch (const EXmlScanRefused&) {
        return std::nullopt;
    }
    return log.lines;
}

// Qt's log, or nullopt when it finds the document malformed or carrying a document type.
inline std::optional<std::vector<std::string>> QtLog(const std::string& xml) {
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    TLog log;
    const auto utf8 = [](QStringView s) { return s.toUtf8().toStdString(); };
    while (!reader.atEnd()) {
        const auto t = reader.readNext();
        if (t == QXmlStreamReader::DTD) return std::nullopt;
        if (t == QXmlStreamReader::Characters) {
            log.Text(utf8(reader.text()));
        } else if (t == QXmlStreamReader::EndElement) {
            log.End(Qualified(utf8(reader.namespaceUri()), utf8(reader.name())));
        } else if (t == QXmlStreamReader::StartElement) {
            std::vector<std::string> attributes;
            for (const auto& a : reader.attributes())
                attributes.push_back(Qualified(utf8(a.namespaceUri()), utf8(a.name())) + "=" +
                                     utf8(a.value()));
            log.Start(Qualified(utf8(reader.namespaceUri()), utf8(reader.name())), attributes);
        }
    }
    if (reader.hasError()) return std::nullopt;
    return log.lines;
}

} // namespace qbm::test
