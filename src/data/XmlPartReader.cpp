#include "data/XmlPartReader.h"

namespace qbm {
namespace {

constexpr qsizetype kChunkSize = 256 * 1024;

} // namespace

TXmlPartReader::TXmlPartReader(const TZipArchive& archive, const std::string& name, uint64_t maxBytes)
    : m_archive(archive), m_name(name), m_part(archive.Open(name, maxBytes)) {
    m_buffer.resize(kChunkSize);
}

QXmlStreamReader::TokenType TXmlPartReader::Next() {
    for (;;) {
        const auto token = m_xml.readNext();
        if (token == QXmlStreamReader::DTD) m_archive.Fail("the part " + m_name + " carries a document type");
        if (token == QXmlStreamReader::StartElement) ++m_depth;
        if (token == QXmlStreamReader::EndElement && --m_depth == 0) m_rootClosed = true;
        if (token != QXmlStreamReader::Invalid) return token;
        const bool premature = m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError;
        // Whatever follows the root element (blanks) is no loss.
        if (premature && m_atEnd && m_rootClosed) return QXmlStreamReader::EndDocument;
        if (!premature || m_atEnd)
            m_archive.Fail("the part " + m_name + " is not well-formed XML (" +
                           m_xml.errorString().toStdString() + ")");
        const size_t n = m_part->Read(m_buffer.data(), static_cast<size_t>(m_buffer.size()));
        if (n == 0) {
            m_atEnd = true;
            if (m_rootClosed) return QXmlStreamReader::EndDocument;
            m_archive.Fail("the part " + m_name + " ends too early");
        }
        m_xml.addData(QByteArrayView(m_buffer.constData(), static_cast<qsizetype>(n)).toByteArray());
    }
}

} // namespace qbm
