#include "host/pptx/TextDefaults.h"

#include "host/pptx/Namespaces.h"
#include "host/pptx/Units.h"
#include "host/pptx/XmlCursor.h"

#include <algorithm>
#include <exception>

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

namespace {

// Placeholders without a type are content ("obj") placeholders.
QString effectiveType(const QString& type)
{
    return type.isEmpty() ? QStringLiteral("obj") : type;
}

// The master has one placeholder of each kind: a slide's centred title takes the master's
// title, subtitles and content take its body.
QString masterKind(const QString& type)
{
    const QString t = effectiveType(type);
    if (t == QLatin1String("ctrTitle") || t == QLatin1String("title"))
        return QStringLiteral("title");
    if (t == QLatin1String("dt") || t == QLatin1String("ftr") || t == QLatin1String("sldNum") || t == QLatin1String("hdr"))
        return t;
    return QStringLiteral("body");
}

} // namespace

const PlaceholderBox* TextDefaults::layoutPlaceholder(const QString& type, int idx) const
{
    for (const PlaceholderBox& box : layoutPlaceholders)
        if (idx >= 0 ? box.idx == idx : (box.idx < 0 || box.idx == 0) && effectiveType(box.type) == effectiveType(type))
            return &box;
    if (idx >= 0) // an index the layout lacks: the same type still matches
        for (const PlaceholderBox& box : layoutPlaceholders)
            if (effectiveType(box.type) == effectiveType(type) && !type.isEmpty())
                return &box;
    return nullptr;
}

const PlaceholderBox* TextDefaults::masterPlaceholder(const QString& type, int idx) const
{
    const PlaceholderBox* onLayout = layoutPlaceholder(type, idx);
    const QString kind = masterKind(onLayout ? onLayout->type : type);
    for (const PlaceholderBox& box : masterPlaceholders)
        if (masterKind(box.type) == kind)
            return &box;
    return nullptr;
}

const PlaceholderBox* TextDefaults::inheritedBox(const QString& type, int idx) const
{
    if (const PlaceholderBox* onLayout = layoutPlaceholder(type, idx); onLayout && onLayout->hasBox)
        return onLayout;
    const PlaceholderBox* onMaster = masterPlaceholder(type, idx);
    return onMaster && onMaster->hasBox ? onMaster : nullptr;
}

std::vector<PlaceholderBox> readPlaceholderBoxes(const QByteArray& xml, const QString& partName)
{
    std::vector<PlaceholderBox> out;
    try {
        XmlCursor cursor(decodeXml(xml), partName);
        auto& r = cursor.reader();
        int shapeDepth = 0; // depth of the p:sp being read, 0 outside one
        bool isPlaceholder = false, inXfrm = false;
        bool inListStyle = false, levelOpen = false; // in the shape's a:lstStyle, in its a:lvl1pPr
        PlaceholderBox box;
        while (!cursor.atEnd()) {
            const auto token = cursor.next();
            if (token == QXmlStreamReader::EndElement) {
                if (inXfrm && r.name() == u"xfrm")
                    inXfrm = false;
                if (r.name() == u"lstStyle")
                    inListStyle = false;
                if (r.name() == u"lvl1pPr")
                    levelOpen = false;
                if (shapeDepth > 0 && cursor.depth() < shapeDepth) {
                    if (isPlaceholder)
                        out.push_back(box);
                    shapeDepth = 0;
                }
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            const QStringView name = r.name();
            const auto a = r.attributes();
            if (shapeDepth == 0) {
                if (r.namespaceUri() == ns::P && name == u"sp" && cursor.depth() == 4) { // in the part's own shape tree
                    shapeDepth = cursor.depth();
                    isPlaceholder = inXfrm = inListStyle = levelOpen = false;
                    box = PlaceholderBox();
                }
                continue;
            }
            if (r.namespaceUri() == ns::P && name == u"ph" && cursor.depth() == shapeDepth + 3) {
                isPlaceholder = true;
                box.type = a.value(QLatin1String("type")).toString();
                bool ok = false;
                const int idx = a.value(QLatin1String("idx")).toInt(&ok);
                box.idx = ok && idx >= 0 ? idx : -1;
            } else if (r.namespaceUri() == ns::A && name == u"xfrm" && cursor.depth() == shapeDepth + 2 && !box.hasBox) {
                inXfrm = true;
            } else if (name == u"lstStyle" && cursor.depth() == shapeDepth + 2) {
                inListStyle = true;
            } else if (name == u"lvl1pPr" && cursor.depth() == shapeDepth + 3 && inListStyle) {
                levelOpen = true;
            } else if (name == u"defRPr" && cursor.depth() == shapeDepth + 4 && levelOpen) {
                bool ok = false;
                const int sz = a.value(QLatin1String("sz")).toInt(&ok);
                if (ok && sz > 0)
                    box.fontSize = sz / 100.0f;
            } else if (name == u"latin" && cursor.depth() == shapeDepth + 5 && levelOpen) {
                box.fontFace = a.value(QLatin1String("typeface")).toString();
            } else if (inXfrm && (name == u"off" || name == u"ext")) {
                box.hasBox = true;
                bool okX = false, okY = false;
                const bool isOff = name == u"off";
                const qint64 x = a.value(QLatin1String(isOff ? "x" : "cx")).toLongLong(&okX);
                const qint64 y = a.value(QLatin1String(isOff ? "y" : "cy")).toLongLong(&okY);
                constexpr qint64 limit = 1ll << 40;
                const float px = okX ? emuToPoints(std::clamp(x, -limit, limit)) : 0;
                const float py = okY ? emuToPoints(std::clamp(y, -limit, limit)) : 0;
                if (isOff) {
                    box.left = px;
                    box.top = py;
                } else {
                    box.width = std::max(0.0f, px);
                    box.height = std::max(0.0f, py);
                }
            }
        }
    } catch (const std::exception&) {
        // a damaged layout or master gives what was read before the damage
    }
    return out;
}

void readTheme(const QByteArray& xml, const QString& partName, TextDefaults& defaults)
{
    XmlCursor cursor(decodeXml(xml), partName);
    auto& r = cursor.reader();
    int schemeDepth = 0;   // depth of the first a:clrScheme while inside it; -1 once it is done
    QString slot;          // the clrScheme child being read (dk1, lt1, accent1, ...)
    QString fontGroup;     // majorFont or minorFont while inside one
    while (!cursor.atEnd()) {
        const auto token = cursor.next();
        if (token == QXmlStreamReader::EndElement) {
            if (schemeDepth > 0 && cursor.depth() < schemeDepth)
                schemeDepth = -1;
            if (schemeDepth > 0 && cursor.depth() <= schemeDepth)
                slot.clear();
            if (r.name() == QLatin1String("majorFont") || r.name() == QLatin1String("minorFont"))
                fontGroup.clear();
            continue;
        }
        if (token != QXmlStreamReader::StartElement || r.namespaceUri() != ns::A)
            continue;
        const auto name = r.name();
        const int depth = cursor.depth();
        if (name == QLatin1String("clrScheme") && schemeDepth == 0) {
            schemeDepth = depth;
        } else if (schemeDepth > 0 && depth == schemeDepth + 1) {
            slot = name.toString();
        } else if (schemeDepth > 0 && depth == schemeDepth + 2 && !slot.isEmpty()
                   && (name == QLatin1String("srgbClr") || name == QLatin1String("sysClr"))) {
            std::uint32_t bgr = 0;
            const auto v = r.attributes().value(name == QLatin1String("srgbClr") ? QLatin1String("val") : QLatin1String("lastClr"));
            if (hexToBgr(v.toString(), bgr))
                defaults.schemeColours.insert(slot, bgr);
        } else if (name == QLatin1String("majorFont") || name == QLatin1String("minorFont")) {
            fontGroup = name.toString();
        } else if (name == QLatin1String("latin") && !fontGroup.isEmpty()) {
            const QString face = r.attributes().value(QLatin1String("typeface")).toString();
            (fontGroup == QLatin1String("majorFont") ? defaults.majorFont : defaults.minorFont) = face;
        }
    }
}

namespace {

// Title placeholders take the master's title style, the placeholders of content (a body, a
// subtitle, an object, a table, ...) its body style; a date, footer, header or slide number
// takes what any other text takes.
enum class PlaceholderStyle { Other, Title, Body };

PlaceholderStyle placeholderStyleOf(bool placeholder, const QString& type)
{
    if (!placeholder)
        return PlaceholderStyle::Other;
    if (type == QLatin1String("title") || type == QLatin1String("ctrTitle"))
        return PlaceholderStyle::Title;
    if (type == QLatin1String("dt") || type == QLatin1String("ftr") || type == QLatin1String("hdr") ||
        type == QLatin1String("sldNum"))
        return PlaceholderStyle::Other;
    return PlaceholderStyle::Body; // "body", "subTitle", "obj" (also a placeholder without a type), ...
}

} // namespace

TextDefaults::RunFont TextDefaults::runFontFor(bool placeholder, const QString& type, int idx) const
{
    RunFont font;
    if (placeholder) {
        for (const PlaceholderBox* inherited : {layoutPlaceholder(type, idx), masterPlaceholder(type, idx)}) {
            if (inherited == nullptr)
                continue;
            if (font.size <= 0 && inherited->fontSize > 0)
                font.size = inherited->fontSize;
            if (font.name.isEmpty() && !inherited->fontFace.isEmpty()) {
                const QString named = resolveTypeface(inherited->fontFace);
                if (!named.startsWith(QLatin1Char('+')))
                    font.name = named;
            }
        }
        const PlaceholderStyle style = placeholderStyleOf(placeholder, type);
        if (font.size <= 0)
            font.size = style == PlaceholderStyle::Title ? titleFontSize : style == PlaceholderStyle::Body ? bodyFontSize : 0;
        if (font.name.isEmpty())
            font.name = style == PlaceholderStyle::Title ? titleFontName : style == PlaceholderStyle::Body ? bodyFontName : QString();
    }
    if (font.size <= 0)
        font.size = fontSize;
    if (font.name.isEmpty())
        font.name = fontName;
    return font;
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

TextDefaults buildTextDefaults(const QByteArray* theme, const QByteArray* master, const QByteArray* presentation)
{
    TextDefaults d;
    try {
        if (theme)
            readTheme(*theme, QStringLiteral("theme"), d);
    } catch (const std::exception&) {
        d = TextDefaults(); // an unreadable theme: keep the built-in defaults
    }
    float size = 0;
    QString typeface;
    try {
        if (presentation)
            readDefaultRunProperties(*presentation, QStringLiteral("presentation"), QLatin1String("defaultTextStyle"), size, typeface);
        if (master)
            readDefaultRunProperties(*master, QStringLiteral("master"), QLatin1String("otherStyle"), size, typeface);
    } catch (const std::exception&) {
        // keep what was found before the damage
    }
    if (size >= 1)
        d.fontSize = size;
    if (typeface.isEmpty())
        typeface = QStringLiteral("+mn-lt");
    const QString resolved = d.resolveTypeface(typeface);
    if (!resolved.isEmpty() && !resolved.startsWith(QLatin1Char('+')))
        d.fontName = resolved;
    // Title and body placeholders: the master's own styles for them.
    const auto placeholderStyle = [&](QLatin1StringView style, float& styleSize, QString& styleFont) {
        float found = 0;
        QString face;
        try {
            if (master)
                readDefaultRunProperties(*master, QStringLiteral("master"), style, found, face);
        } catch (const std::exception&) {
            return;
        }
        styleSize = found >= 1 ? found : 0;
        const QString named = face.isEmpty() ? QString() : d.resolveTypeface(face);
        if (!named.isEmpty() && !named.startsWith(QLatin1Char('+')))
            styleFont = named;
    };
    placeholderStyle(QLatin1String("titleStyle"), d.titleFontSize, d.titleFontName);
    placeholderStyle(QLatin1String("bodyStyle"), d.bodyFontSize, d.bodyFontName);
    return d;
}

} // namespace zov::host::pptx
