#pragma once
// A QXmlStreamReader that refuses document type declarations (so no entity can expand) and
// nesting deeper than a fixed limit, and turns every XML error into a PptxError naming the part.
#include "host/pptx/PptxError.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

namespace zov::host::pptx {

constexpr int MaxXmlDepth = 256;

class XmlCursor {
public:
    XmlCursor(const QString& text, QString partName);

    // Next token; throws on malformed XML, a DTD, or too deep nesting.
    QXmlStreamReader::TokenType next();
    bool atEnd() const { return reader_.atEnd(); }
    QXmlStreamReader& reader() { return reader_; }
    int depth() const { return depth_; }
    bool isStart(const QString& ns, QLatin1StringView local) const
    {
        return reader_.isStartElement() && reader_.name() == local && reader_.namespaceUri() == ns;
    }
    // Reads to the end element matching the current start element.
    void skipElement();
    // Offset just past the current token in the text given to the constructor.
    qint64 offset() const { return reader_.characterOffset(); }
    [[noreturn]] void fail(const QString& reason) const;
    const QString& partName() const { return partName_; }

private:
    QXmlStreamReader reader_;
    QString partName_;
    int depth_ = 0;
};

// Decodes a part's bytes as XML text (UTF-8, or UTF-16 with a byte-order mark).
QString decodeXml(const QByteArray& bytes);
// Whether `text` encodes to exactly `bytes` in UTF-8 (a part decoded from valid UTF-8 without
// a byte order mark does). Compared a piece at a time, so that a part of hundreds of megabytes
// is not encoded whole beside its text and its bytes.
bool encodesToUtf8(QStringView text, QByteArrayView bytes);

} // namespace zov::host::pptx
