#include "host/pptx/XmlCursor.h"

#include <QStringDecoder>

#include <algorithm>

namespace zov::host::pptx {

XmlCursor::XmlCursor(const QString& text, QString partName) : reader_(text), partName_(std::move(partName))
{
    reader_.setNamespaceProcessing(true);
}

QXmlStreamReader::TokenType XmlCursor::next()
{
    const auto token = reader_.readNext();
    switch (token) {
    case QXmlStreamReader::StartElement:
        if (++depth_ > MaxXmlDepth)
            fail(QStringLiteral("XML nested deeper than %1 elements").arg(MaxXmlDepth));
        break;
    case QXmlStreamReader::EndElement:
        --depth_;
        break;
    case QXmlStreamReader::DTD:
        fail(QStringLiteral("XML with a document type declaration is refused"));
    case QXmlStreamReader::EntityReference:
        fail(QStringLiteral("XML refers to an undeclared entity"));
    case QXmlStreamReader::Invalid:
        fail(QStringLiteral("malformed XML (line %1: %2)").arg(reader_.lineNumber()).arg(reader_.errorString()));
    default:
        break;
    }
    return token;
}

void XmlCursor::skipElement()
{
    const int target = depth_ - 1;
    while (depth_ > target) {
        if (next() == QXmlStreamReader::EndDocument)
            fail(QStringLiteral("unexpected end of XML"));
    }
}

void XmlCursor::fail(const QString& reason) const
{
    throw PptxError(QStringLiteral("part \"%1\": %2").arg(partName_, reason));
}

bool encodesToUtf8(QStringView text, QByteArrayView bytes)
{
    constexpr qsizetype Piece = 1 << 16;
    qsizetype at = 0;
    while (!text.isEmpty()) {
        qsizetype units = std::min(Piece, text.size());
        if (units < text.size() && text[units - 1].isHighSurrogate())
            --units; // a surrogate pair stays in one piece
        const QByteArray piece = text.first(units).toUtf8();
        if (bytes.size() - at < piece.size() || bytes.sliced(at, piece.size()) != QByteArrayView(piece))
            return false;
        at += piece.size();
        text = text.sliced(units);
    }
    return at == bytes.size();
}

QString decodeXml(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        QString text = decoder.decode(bytes.mid(2));
        return text;
    }
    return QString::fromUtf8(bytes);
}

} // namespace zov::host::pptx
