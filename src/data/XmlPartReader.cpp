#include "data/XmlPartReader.h"

namespace qbm {
namespace {

constexpr qsizetype kChunkSize = 256 * 1024;

std::string Utf8(QStringView text) {
    return text.toUtf8().toStdString();
}

// Plain digits, the common case, without building a QString; nullopt for anything else.
std::optional<unsigned long long> Digits(std::string_view text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    unsigned long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

QString Qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::optional<long long> XmlLongLong(std::string_view text) {
    if (const auto digits = Digits(text, 18)) return static_cast<long long>(*digits);
    bool ok = false;
    const long long value = Qt(text).toLongLong(&ok);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

std::optional<unsigned long long> XmlULongLong(std::string_view text) {
    if (const auto digits = Digits(text, 19)) return digits;
    bool ok = false;
    const unsigned long long value = Qt(text).trimmed().toULongLong(&ok);
    return ok ? std::optional<unsigned long long>(value) : std::nullopt;
}

int XmlInt(std::string_view text) {
    if (text.empty()) return 0; // most cells name no style
    if (const auto digits = Digits(text, 9)) return static_cast<int>(*digits);
    return Qt(text).toInt();
}

TXmlPartReader::TXmlPartReader(const TZipArchive& archive, const std::string& name, uint64_t maxBytes,
                               TXmlParser parser)
    : m_archive(archive), m_partName(name), m_part(archive.Open(name, maxBytes)) {
    if (parser == TXmlParser::xpScanner) {
        m_scanner = std::make_unique<TXmlScanner>(
            [this](char* buffer, size_t size) { return m_part->Read(buffer, size); });
    } else {
        m_xml = std::make_unique<QXmlStreamReader>();
        m_buffer.resize(kChunkSize);
    }
}

const TXmlAttribute* TXmlPartReader::Find(std::string_view qualifiedName) const {
    for (const TXmlAttribute& a : m_attributes)
        if (a.qualifiedName == qualifiedName) return &a;
    return nullptr;
}

const TXmlAttribute* TXmlPartReader::Find(std::string_view namespaceUri, std::string_view name) const {
    for (const TXmlAttribute& a : m_attributes)
        if (a.name == name && a.namespaceUri == namespaceUri) return &a;
    return nullptr;
}

std::string_view TXmlPartReader::Value(std::string_view qualifiedName) const {
    const TXmlAttribute* a = Find(qualifiedName);
    return a ? a->value : std::string_view();
}

std::string_view TXmlPartReader::Value(std::string_view namespaceUri, std::string_view name) const {
    const TXmlAttribute* a = Find(namespaceUri, name);
    return a ? a->value : std::string_view();
}

TXmlToken TXmlPartReader::Next() {
    if (!m_scanner) return NextFromQt();
    const TXmlToken token = m_scanner->Next();
    m_attributes = m_scanner->Attributes();
    if (token == TXmlToken::Characters)
        m_text = m_scanner->Text();
    else
        m_name = m_scanner->Name();
    return token;
}

TXmlToken TXmlPartReader::NextFromQt() {
    for (;;) {
        const auto token = m_xml->readNext();
        if (token == QXmlStreamReader::DTD)
            m_archive.Fail("the part " + m_partName + " carries a document type");
        if (token == QXmlStreamReader::StartElement) ++m_depth;
        if (token == QXmlStreamReader::EndElement && --m_depth == 0) m_rootClosed = true;
        if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::EndElement) {
            m_name = Utf8(m_xml->name());
            m_attributes = {};
            if (token == QXmlStreamReader::StartElement) {
                const QXmlStreamAttributes attributes = m_xml->attributes();
                // Every string first, then the views: the strings do not move once all are in place.
                m_qtStrings.resize(3 * static_cast<size_t>(attributes.size()));
                for (qsizetype i = 0; i < attributes.size(); ++i) {
                    const auto at = 3 * static_cast<size_t>(i);
                    m_qtStrings[at] = Utf8(attributes[i].qualifiedName());
                    m_qtStrings[at + 1] = Utf8(attributes[i].namespaceUri());
                    m_qtStrings[at + 2] = Utf8(attributes[i].value());
                }
                m_qtAttributes.clear();
                for (qsizetype i = 0; i < attributes.size(); ++i) {
                    const auto at = 3 * static_cast<size_t>(i);
                    const std::string_view qualified = m_qtStrings[at];
                    const size_t colon = qualified.find(':');
                    m_qtAttributes.push_back(
                        {qualified, m_qtStrings[at + 1],
                         colon == std::string_view::npos ? qualified : qualified.substr(colon + 1),
                         m_qtStrings[at + 2]});
                }
                m_attributes = m_qtAttributes;
                return TXmlToken::StartElement;
            }
            return TXmlToken::EndElement;
        }
        if (token == QXmlStreamReader::Characters) {
            m_qtText = Utf8(m_xml->text());
            m_text = m_qtText;
            return TXmlToken::Characters;
        }
        if (token == QXmlStreamReader::EndDocument) return TXmlToken::EndDocument;
        if (token != QXmlStreamReader::Invalid) continue;
        const bool premature = m_xml->error() == QXmlStreamReader::PrematureEndOfDocumentError;
        // Whatever follows the root element (blanks) is no loss.
        if (premature && m_atEnd && m_rootClosed) return TXmlToken::EndDocument;
        if (!premature || m_atEnd)
            m_archive.Fail("the part " + m_partName + " is not well-formed XML (" +
                           m_xml->errorString().toStdString() + ")");
        const size_t n = m_part->Read(m_buffer.data(), static_cast<size_t>(m_buffer.size()));
        if (n == 0) {
            m_atEnd = true;
            if (m_rootClosed) return TXmlToken::EndDocument;
            m_archive.Fail("the part " + m_partName + " ends too early");
        }
        m_xml->addData(QByteArrayView(m_buffer.constData(), static_cast<qsizetype>(n)).toByteArray());
    }
}

} // namespace qbm
