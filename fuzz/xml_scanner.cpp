// Any bytes as a workbook part through the import's own XML scanner, fed in pieces of any size, and
// through Qt's reader: whatever the scanner accepts, Qt's reader must accept too and read as the very
// same elements, attributes and text. Whatever it refuses goes to Qt's reader in the import, so a
// refusal is never wrong, only slower.

#include "data/XmlScanner.h"

#include "FuzzSupport.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using qbm::fuzz::Check;

namespace {

// Elements with their namespace and attributes (sorted), and the text inside the root element with
// adjacent pieces joined: what the readers of workbook parts see.
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

std::string Qualified(std::string_view uri, std::string_view name) {
    return "{" + std::string(uri) + "}" + std::string(name);
}

std::optional<std::vector<std::string>> ScannerLog(const std::string& xml, const std::string& pieces) {
    size_t at = 0, piece = 0;
    qbm::TXmlScanner scanner([&](char* buffer, size_t size) {
        const size_t wanted =
            pieces.empty() ? size : static_cast<uint8_t>(pieces[piece++ % pieces.size()]) + 1;
        const size_t n = std::min({size, xml.size() - at, wanted});
        std::memcpy(buffer, xml.data() + at, n);
        at += n;
        return n;
    });
    TLog log;
    try {
        for (qbm::TXmlToken t; (t = scanner.Next()) != qbm::TXmlToken::EndDocument;) {
            if (t == qbm::TXmlToken::Characters) {
                log.Text(scanner.Text());
            } else if (t == qbm::TXmlToken::EndElement) {
                log.End(Qualified(scanner.NamespaceUri(), scanner.Name()));
            } else {
                std::vector<std::string> attributes;
                for (const qbm::TXmlAttribute& a : scanner.Attributes())
                    attributes.push_back(Qualified(a.namespaceUri, a.name) + "=" + std::string(a.value));
                log.Start(Qualified(scanner.NamespaceUri(), scanner.Name()), attributes);
            }
        }
    } catch (const qbm::EXmlScanRefused&) {
        return std::nullopt;
    }
    return log.lines;
}

std::optional<std::vector<std::string>> QtLog(const std::string& xml) {
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qbm::fuzz::TFuzzReader reader(data, size);
    const std::string pieces = reader.Rest(reader.Byte() % 8); // the piece sizes, repeating; none: whole
    const std::string xml = reader.Rest(1 << 20);
    const auto ours = ScannerLog(xml, pieces);
    if (!ours) return 0;
    const auto qt = QtLog(xml);
    Check(qt.has_value());
    Check(*ours == *qt);
    return 0;
}
