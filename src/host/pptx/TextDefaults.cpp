#include "host/pptx/TextDefaults.h"

#include "host/pptx/Namespaces.h"
#include "host/pptx/Units.h"
#include "host/pptx/XmlCursor.h"

namespace zov::host::pptx {

QString TextDefaults::resolveTypeface(const QString& typeface) const
{
    if (typeface.startsWith(QLatin1String("+mj")))
        return majorFont.isEmpty() ? fontName : majorFont;
    if (typeface.startsWith(QLatin1String("+mn")))
        return minorFont.isEmpty() ? fontName : minorFont;
    return typeface;
}

bool TextDefaults::schemeColour(const QString& name, std::uint32_t& bgr) const
{
    QString key = name;
    if (key == QLatin1String("tx1")) key = QStringLiteral("dk1");
    else if (key == QLatin1String("bg1")) key = QStringLiteral("lt1");
    else if (key == QLatin1String("tx2")) key = QStringLiteral("dk2");
    else if (key == QLatin1String("bg2")) key = QStringLiteral("lt2");
    const auto it = schemeColours.constFind(key);
    if (it == schemeColours.constEnd())
        return false;
    bgr = *it;
    return true;
}

void readTheme(const QByteArray& xml, const QString& partName, TextDefaults& defaults)
{
    XmlCursor cursor(decodeXml(xml), partName);
    auto& r = cursor.reader();
    QString inScheme;       // current clrScheme child (dk1, ...)
    int schemeDepth = -1;
    QString fontGroup;      // majorFont / minorFont
    while (!cursor.atEnd()) {
        const auto token = cursor.next();
        if (token == QXmlStreamReader::EndElement) {
            if (cursor.depth() < schemeDepth) {
                inScheme.clear();
                schemeDepth = -1;
            }
            if (r.name() == QLatin1String("majorFont") || r.name() == QLatin1String("minorFont"))
                fontGroup.clear();
            continue;
        }
        if (token != QXmlStreamReader::StartElement || r.namespaceUri() != ns::A)
            continue;
        const auto name = r.name();
        if (name == QLatin1String("clrScheme")) {
            schemeDepth = cursor.depth() + 1;
        } else if (schemeDepth > 0 && cursor.depth() == schemeDepth) {
            inScheme = name.toString();
        } else if (!inScheme.isEmpty() && (name == QLatin1String("srgbClr") || name == QLatin1String("sysClr"))) {
            std::uint32_t bgr = 0;
            const auto v = r.attributes().value(name == QLatin1String("srgbClr") ? QLatin1String("val") : QLatin1String("lastClr"));
            if (hexToBgr(v.toString(), bgr))
                defaults.schemeColours.insert(inScheme, bgr);
        } else if (name == QLatin1String("majorFont") || name == QLatin1String("minorFont")) {
            fontGroup = name.toString();
        } else if (name == QLatin1String("latin") && !fontGroup.isEmpty()) {
            const QString face = r.attributes().value(QLatin1String("typeface")).toString();
            (fontGroup == QLatin1String("majorFont") ? defaults.majorFont : defaults.minorFont) = face;
        }
    }
}

bool readDefaultRunProperties(const QByteArray& xml, const QString& partName, QLatin1StringView listStyleName,
                              float& size, QString& typeface)
{
    XmlCursor cursor(decodeXml(xml), partName);
    auto& r = cursor.reader();
    int listDepth = -1;
    bool inLevel1 = false, found = false;
    while (!cursor.atEnd()) {
        const auto token = cursor.next();
        if (token == QXmlStreamReader::EndElement) {
            if (r.name() == QLatin1String("lvl1pPr"))
                inLevel1 = false;
            if (listDepth > 0 && cursor.depth() < listDepth)
                return found;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (r.name() == listStyleName) {
            listDepth = cursor.depth();
        } else if (listDepth > 0 && r.name() == QLatin1String("lvl1pPr")) {
            inLevel1 = true;
        } else if (inLevel1 && r.name() == QLatin1String("defRPr")) {
            bool ok = false;
            const int sz = r.attributes().value(QLatin1String("sz")).toInt(&ok);
            if (ok && sz > 0) {
                size = sz / 100.0f;
                found = true;
            }
        } else if (inLevel1 && r.name() == QLatin1String("latin")) {
            typeface = r.attributes().value(QLatin1String("typeface")).toString();
            found = true;
        }
    }
    return found;
}

} // namespace zov::host::pptx
