#pragma once
// A zipped document's XML part read as a stream of tokens, unpacked as the parser needs more: memory
// stays flat however large the part is.

#include "data/ZipArchive.h"

#include <QXmlStreamReader>

#include <memory>
#include <string>

namespace qbm {

class TXmlPartReader {
public:
    TXmlPartReader(const TZipArchive& archive, const std::string& name, uint64_t maxBytes);
    // The next token; EndDocument at the end. Throws EInOutError for XML that is not well formed or
    // carries a document type (the formats never do; it is how entity tricks come in).
    QXmlStreamReader::TokenType Next();
    QXmlStreamReader& Xml() { return m_xml; }
    uint64_t BytesRead() const { return m_part->BytesRead(); }

private:
    const TZipArchive& m_archive;
    std::string m_name;
    std::unique_ptr<TZipPart> m_part;
    QXmlStreamReader m_xml;
    QByteArray m_buffer;
    bool m_atEnd = false;
    int m_depth = 0;
    bool m_rootClosed = false;
};

} // namespace qbm
