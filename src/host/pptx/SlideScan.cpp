#include "host/pptx/SlideScan.h"

#include "host/pptx/FastXml.h"
#include "host/pptx/Namespaces.h"
#include "host/pptx/XmlCursor.h"

namespace zov::host::pptx {
namespace {

template <class Reader>
void addDeclarations(const Reader& r, std::vector<std::pair<QString, QString>>& scope)
{
    for (const auto& d : r.namespaceDeclarations()) {
        const QString prefix = d.prefix().toString();
        std::erase_if(scope, [&](const auto& entry) { return entry.first == prefix; });
        scope.emplace_back(prefix, d.namespaceUri().toString());
    }
}

// A shape's id, or the id a connector's glue names: both stay taken (see ParsedShape::maxId).
template <class Reader>
bool namesAnId(const Reader& r)
{
    const QStringView name = r.name();
    return name == u"cNvPr" || name == u"stCxn" || name == u"endCxn";
}

template <class Reader>
std::uint32_t idOf(const Reader& r)
{
    bool ok = false;
    const qint64 id = r.attributes().value(QLatin1String("id")).toLongLong(&ok);
    return ok && id > 0 && id <= 0xFFFFFFFFll ? static_cast<std::uint32_t>(id) : 0;
}

template <class Cursor>
void scanWith(Cursor& cursor, SlideScan& scan, const TextDefaults* readShapesWith)
{
    const QString& text = scan.text;
    auto& r = cursor.reader();
    // Where the start tag of the element just read begins: '<' cannot occur inside a tag.
    auto tagBegin = [&] { return text.lastIndexOf(QLatin1Char('<'), static_cast<qsizetype>(cursor.offset()) - 1); };

    // Room for a shape per "cNvPr" (every shape element has one), so that a slide of half a
    // million shapes does not grow its list by moving everything read so far. Room that a
    // group's inner shapes leave unused is address space only.
    if (readShapesWith != nullptr)
        scan.shapes.reserve(static_cast<std::size_t>(QStringView(text).count(u"cNvPr")));

    int cSldDepth = 0, spTreeDepth = 0;
    bool spTreeDone = false;
    qsizetype extLstBegin = -1;
    std::vector<std::pair<QString, QString>> scope;
    while (!cursor.atEnd()) {
        const auto token = cursor.next();
        if (token == QXmlStreamReader::EndElement) {
            if (spTreeDepth > 0 && cursor.depth() == spTreeDepth - 2) {
                // The end of p:spTree.
                const qsizetype after = cursor.offset();
                const qsizetype at = text.lastIndexOf(QLatin1Char('<'), after - 1);
                scan.spTreeSelfClosing = after >= 2 && text[after - 2] == QLatin1Char('/') && at >= 0
                                         && !text.mid(at, after - at).startsWith(QLatin1String("</"));
                if (scan.shapes.empty() && scan.shapesBegin < 0) {
                    const qsizetype insertAt = scan.spTreeSelfClosing ? after - 2 : extLstBegin >= 0 ? extLstBegin : at;
                    scan.shapesBegin = scan.shapesEnd = insertAt;
                }
                spTreeDepth = 0;
                spTreeDone = true;
            } else if (cSldDepth > 0 && cursor.depth() == cSldDepth - 2) {
                cSldDepth = 0;
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const int depth = cursor.depth();
        if (depth == 1) {
            const QStringView uri = r.namespaceUri();
            if (uri.startsWith(ns::StrictPrefix))
                cursor.fail(QStringLiteral("Strict Office Open XML is not supported (only the Transitional form)"));
            if (uri != ns::P || r.name() != u"sld")
                cursor.fail(QStringLiteral("not a slide (root element \"%1\")").arg(r.qualifiedName()));
            addDeclarations(r, scope);
            continue;
        }
        if (depth == 2 && !spTreeDone && cSldDepth == 0 && r.namespaceUri() == ns::P && r.name() == u"cSld") {
            cSldDepth = depth + 1; // depth of its children
            scan.cSldTagEnd = cursor.offset();
            scan.cSldTagBegin = tagBegin();
            const auto a = r.attributes();
            scan.hasName = a.hasAttribute(QLatin1String("name"));
            scan.name = a.value(QLatin1String("name")).toString();
            addDeclarations(r, scope);
            continue;
        }
        if (cSldDepth > 0 && depth == cSldDepth && !spTreeDone && spTreeDepth == 0 && r.namespaceUri() == ns::P
            && r.name() == u"spTree") {
            spTreeDepth = depth + 1;
            scan.spTreeQName = r.qualifiedName().toString();
            addDeclarations(r, scope);
            scan.scope = scope;
            continue;
        }
        if (spTreeDepth > 0 && depth == spTreeDepth) {
            const QStringView name = r.name();
            const bool inP = r.namespaceUri() == ns::P;
            if (inP && name == u"nvGrpSpPr") {
                // The tree's own id (normally 1) is taken.
                while (cursor.depth() >= depth) {
                    if (cursor.next() == QXmlStreamReader::StartElement && namesAnId(r))
                        scan.maxId = std::max(scan.maxId, idOf(r));
                }
                continue;
            }
            if (inP && name == u"grpSpPr") {
                cursor.skipElement();
                continue;
            }
            if (inP && name == u"extLst") {
                extLstBegin = tagBegin();
                cursor.skipElement();
                continue;
            }
            ScannedShape shape;
            shape.begin = tagBegin();
            if (readShapesWith) {
                readShapeElement(cursor, *readShapesWith, shape.parsed);
                scan.maxId = std::max(scan.maxId, shape.parsed.maxId);
            } else {
                while (cursor.depth() >= depth) {
                    if (cursor.next() == QXmlStreamReader::StartElement && namesAnId(r))
                        scan.maxId = std::max(scan.maxId, idOf(r));
                }
            }
            shape.end = cursor.offset();
            if (scan.shapesBegin < 0)
                scan.shapesBegin = shape.begin;
            scan.shapesEnd = shape.end;
            scan.shapes.push_back(std::move(shape));
            continue;
        }
        if (namesAnId(r))
            scan.maxId = std::max(scan.maxId, idOf(r));
    }
    if (!spTreeDone)
        scan.shapesBegin = scan.shapesEnd = -1;
}

} // namespace

SlideScan scanSlide(const QByteArray& xml, const QString& partName, const TextDefaults* readShapesWith)
{
    {
        SlideScan scan;
        scan.text = decodeXml(xml);
        // The quick reader first; a part it does not take, or one that fails, is read again by
        // the full reader, which gives the error when there is one.
        try {
            FastXmlCursor cursor(scan.text, partName);
            scanWith(cursor, scan, readShapesWith);
            return scan;
        } catch (const FastXmlUnsupported&) {
        } catch (const PptxError&) {
        }
    } // the first scan's text and shapes go before the part is decoded again
    return scanSlideFully(xml, partName, readShapesWith);
}

SlideScan scanSlideFully(const QByteArray& xml, const QString& partName, const TextDefaults* readShapesWith)
{
    SlideScan scan;
    scan.text = decodeXml(xml);
    XmlCursor cursor(scan.text, partName);
    scanWith(cursor, scan, readShapesWith);
    return scan;
}

SlidePieces piecesOf(const SlideScan& scan, const QByteArray& source)
{
    SlidePieces pieces;
    if (scan.shapesBegin < 0 || scan.cSldTagBegin < 0 || scan.cSldTagBegin >= scan.shapesBegin)
        return pieces;
    const QStringView text(scan.text);
    pieces.source = source;
    pieces.head = text.left(scan.cSldTagBegin).toUtf8();
    pieces.cSldTag = text.mid(scan.cSldTagBegin, scan.cSldTagEnd - scan.cSldTagBegin).toString();
    pieces.middle = text.mid(scan.cSldTagEnd, scan.shapesBegin - scan.cSldTagEnd).toUtf8();
    if (scan.spTreeSelfClosing) {
        // "<p:spTree/>" becomes "<p:spTree>" ... "</p:spTree>" around the shapes.
        pieces.middle += '>';
        pieces.tail = "</" + scan.spTreeQName.toUtf8() + '>' + text.mid(scan.shapesEnd + 2).toUtf8();
    } else {
        pieces.tail = text.mid(scan.shapesEnd).toUtf8();
    }
    // Kept with the package until the next save: at their own size, not the conversion's room
    // for three bytes a character.
    pieces.head.squeeze();
    pieces.middle.squeeze();
    pieces.tail.squeeze();
    pieces.scope = scan.scope;
    pieces.hasName = scan.hasName;
    pieces.name = scan.name;
    pieces.maxId = scan.maxId;
    return pieces;
}

} // namespace zov::host::pptx
