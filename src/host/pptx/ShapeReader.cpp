#include "host/pptx/ShapeReader.h"

#include "host/AutoShapeType.h"
#include "host/pptx/AutofitMark.h"
#include "host/geometry/Geometry.h"
#include "host/geometry/TextFit.h"
#include "host/pptx/FastXml.h"
#include "host/pptx/Namespaces.h"
#include "host/pptx/PresetMap.h"
#include "host/pptx/PptxError.h"
#include "host/pptx/Units.h"
#include "host/pptx/XmlTree.h"

#include <QTransform>
#include <vector>

namespace zov::host::pptx {
namespace {

enum class Tag : unsigned char {
    Other, CNvPr, CNvSpPr, StCxn, EndCxn, SpPr, Xfrm, Off, Ext, PrstGeom, CustGeom,
    NoFill, SolidFill, OtherFill, Ln, HeadEnd, TailEnd, Style, FillRef, LnRef, FontRef, TxBody, BodyPr,
    SpAutoFit, NormAutofit, LstStyle, Lvl1pPr, DefRPr, P, R, Fld, RPr, EndParaRPr, T, Br, Latin, Colour,
    AltContent, Ph,
};

template <class Reader>
Tag classify(const Reader& r)
{
    const QStringView name = r.name();
    const QStringView uri = r.namespaceUri();
    if (uri == ns::A) {
        switch (name.size()) {
        case 1:
            if (name == u"p") return Tag::P;
            if (name == u"r") return Tag::R;
            if (name == u"t") return Tag::T;
            break;
        case 2:
            if (name == u"ln") return Tag::Ln;
            if (name == u"br") return Tag::Br;
            break;
        default:
            break;
        }
        if (name == u"rPr") return Tag::RPr;
        if (name == u"off") return Tag::Off;
        if (name == u"ext") return Tag::Ext;
        if (name == u"xfrm") return Tag::Xfrm;
        if (name == u"latin") return Tag::Latin;
        if (name == u"srgbClr" || name == u"schemeClr" || name == u"sysClr" || name == u"prstClr" || name == u"scrgbClr" || name == u"hslClr")
            return Tag::Colour;
        if (name == u"solidFill") return Tag::SolidFill;
        if (name == u"noFill") return Tag::NoFill;
        if (name == u"gradFill" || name == u"blipFill" || name == u"pattFill" || name == u"grpFill") return Tag::OtherFill;
        if (name == u"prstGeom") return Tag::PrstGeom;
        if (name == u"custGeom") return Tag::CustGeom;
        if (name == u"stCxn") return Tag::StCxn;
        if (name == u"endCxn") return Tag::EndCxn;
        if (name == u"headEnd") return Tag::HeadEnd;
        if (name == u"tailEnd") return Tag::TailEnd;
        if (name == u"fillRef") return Tag::FillRef;
        if (name == u"lnRef") return Tag::LnRef;
        if (name == u"fontRef") return Tag::FontRef;
        if (name == u"bodyPr") return Tag::BodyPr;
        if (name == u"spAutoFit") return Tag::SpAutoFit;
        if (name == u"normAutofit") return Tag::NormAutofit;
        if (name == u"lstStyle") return Tag::LstStyle;
        if (name == u"lvl1pPr") return Tag::Lvl1pPr;
        if (name == u"defRPr") return Tag::DefRPr;
        if (name == u"endParaRPr") return Tag::EndParaRPr;
        if (name == u"fld") return Tag::Fld;
        return Tag::Other;
    }
    if (uri == ns::P) {
        if (name == u"cNvPr") return Tag::CNvPr;
        if (name == u"cNvSpPr") return Tag::CNvSpPr;
        if (name == u"spPr" || name == u"grpSpPr") return Tag::SpPr;
        if (name == u"style") return Tag::Style;
        if (name == u"txBody") return Tag::TxBody;
        if (name == u"xfrm") return Tag::Xfrm; // graphic frames keep their transform here
        if (name == u"ph") return Tag::Ph;
        return Tag::Other;
    }
    if (uri == ns::Mc && name == u"AlternateContent")
        return Tag::AltContent;
    return Tag::Other;
}

struct ColourSlot {
    bool set = false;
    std::uint32_t bgr = 0;
};

std::uint32_t presetColour(QStringView name)
{
    if (name == u"white") return 0xFFFFFF;
    if (name == u"red") return 0x0000FF;
    if (name == u"green") return 0x008000;
    if (name == u"blue") return 0xFF0000;
    if (name == u"yellow") return 0x00FFFF;
    return 0; // black and every other preset colour
}

template <class Attributes>
std::int64_t attrLong(const Attributes& a, QLatin1StringView name, std::int64_t fallback = 0)
{
    bool ok = false;
    const std::int64_t v = a.value(name).toLongLong(&ok);
    return ok ? v : fallback;
}

template <class Attributes>
bool attrTrue(const Attributes& a, QLatin1StringView name)
{
    const auto v = a.value(name);
    return v == u"1" || v == u"true";
}

// Keeps EMU values read from a file inside a range where points stay meaningful.
std::int64_t clampEmu(std::int64_t v)
{
    constexpr std::int64_t limit = 1ll << 40;
    return std::clamp(v, -limit, limit);
}

template <class Cursor>
void readAlternateContent(Cursor& cursor, const TextDefaults& defaults, ParsedShape& out);

template <class Cursor>
void readShapeWith(Cursor& cursor, const TextDefaults& defaults, ParsedShape& out)
{
    auto& r = cursor.reader();
    ShapeData& s = out.data;
    const QStringView rootName = r.name();
    if (r.namespaceUri() == ns::Mc && rootName == u"AlternateContent") {
        readAlternateContent(cursor, defaults, out);
        return;
    }
    const bool isSp = r.namespaceUri() == ns::P && rootName == u"sp";
    const bool isCxn = r.namespaceUri() == ns::P && rootName == u"cxnSp";
    s.kind = isCxn ? ShapeKind::Connector : isSp ? ShapeKind::AutoShape : ShapeKind::Foreign;
    s.hasTextFrame = isSp;
    s.paragraphs.clear();

    std::vector<Tag> stack{Tag::Other}; // the shape element itself
    const int baseDepth = cursor.depth();
    bool haveId = false, haveXfrm = false, inFirstXfrm = false, txBox = false, hasGeometry = false, custom = false;
    bool fitsTextToShape = false; // the text body says normAutofit
    bool flipH = false, flipV = false;
    std::int64_t offX = 0, offY = 0, extX = 0, extY = 0;
    std::int64_t rot = 0;
    enum class Fill { Unset, None, Solid, Other } fill = Fill::Unset, line = Fill::Unset;
    ColourSlot fillColour, lineColour, styleFillColour, styleLineColour;
    ColourSlot otherFillColour; // a gradient's first stop, a pattern's foreground
    ColourSlot runColour, listColour, endColour, styleFontColour; // the text's
    int fillRefIdx = 0, lnRefIdx = 0;
    QString fontRef;
    std::int64_t lineW = -1;
    // Font and size: the first run's, else the shape's list style, else (only when the text has
    // no run at all) the first end-of-paragraph properties.
    bool runSeen = false, inFirstRun = false, endParaSeen = false;
    int firstRunDepth = 0;
    float runSize = 0, listSize = 0, endSize = 0;
    QString runFont, listFont, endFont;
    bool inParagraph = false;
    QString text;
    bool placeholder = false;
    QString placeholderType;
    int placeholderIdx = -1;

    while (cursor.depth() >= baseDepth) {
        const auto token = cursor.next();
        if (token == QXmlStreamReader::EndElement) {
            const Tag closed = stack.back();
            stack.pop_back();
            if (closed == Tag::Xfrm)
                inFirstXfrm = false;
            if (inFirstRun && cursor.depth() < firstRunDepth)
                inFirstRun = false;
            if (closed == Tag::P && inParagraph && stack.back() == Tag::TxBody) {
                s.paragraphs << text;
                inParagraph = false;
            }
            continue;
        }
        if (token == QXmlStreamReader::Characters) {
            if (stack.back() == Tag::T && inParagraph)
                text += r.text();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const Tag tag = classify(r);
        const Tag parent = stack.back();
        const Tag grand = stack.size() >= 2 ? stack[stack.size() - 2] : Tag::Other;
        stack.push_back(tag);
        const auto a = r.attributes();
        switch (tag) {
        case Tag::CNvPr: {
            const auto id = static_cast<std::uint32_t>(std::clamp<std::int64_t>(attrLong(a, QLatin1String("id")), 0, 0xFFFFFFFFll));
            out.maxId = std::max(out.maxId, id);
            if (!haveId) {
                haveId = out.hasId = true;
                s.fileId = id;
                s.name = a.value(QLatin1String("name")).toString();
            }
            break;
        }
        case Tag::CNvSpPr:
            if (stack.size() == 3)
                txBox = attrTrue(a, QLatin1String("txBox"));
            break;
        case Tag::StCxn:
        case Tag::EndCxn: {
            const auto id = static_cast<std::uint32_t>(std::clamp<std::int64_t>(attrLong(a, QLatin1String("id")), 0, 0xFFFFFFFFll));
            out.maxId = std::max(out.maxId, id); // a named id stays taken, named shape or not
            if (!isCxn || stack.size() != 4)
                break;
            GlueRef& g = tag == Tag::StCxn ? out.begin : out.end;
            g.present = true;
            g.id = id;
            g.idx = static_cast<int>(std::clamp<std::int64_t>(attrLong(a, QLatin1String("idx"), -1), -1, 1 << 20));
            break;
        }
        case Tag::Ph:
            if (stack.size() == 4 && !placeholder) { // p:sp / p:nvSpPr / p:nvPr / p:ph
                placeholder = true;
                placeholderType = a.value(QLatin1String("type")).toString();
                bool ok = false;
                const int idx = a.value(QLatin1String("idx")).toInt(&ok);
                placeholderIdx = ok && idx >= 0 ? idx : -1;
            }
            break;
        case Tag::AltContent:
            // Content for other consumers (newer features with a fallback): kept in the XML,
            // not modelled.
            cursor.skipElement();
            stack.pop_back();
            break;
        case Tag::Xfrm:
            if (!haveXfrm && stack.size() <= 3 && (parent == Tag::SpPr || stack.size() == 2)) {
                haveXfrm = inFirstXfrm = true;
                rot = attrLong(a, QLatin1String("rot"));
                flipH = attrTrue(a, QLatin1String("flipH"));
                flipV = attrTrue(a, QLatin1String("flipV"));
            }
            break;
        case Tag::Off:
            if (inFirstXfrm && parent == Tag::Xfrm) {
                offX = clampEmu(attrLong(a, QLatin1String("x")));
                offY = clampEmu(attrLong(a, QLatin1String("y")));
            }
            break;
        case Tag::Ext:
            if (inFirstXfrm && parent == Tag::Xfrm) {
                extX = std::max<std::int64_t>(0, clampEmu(attrLong(a, QLatin1String("cx"))));
                extY = std::max<std::int64_t>(0, clampEmu(attrLong(a, QLatin1String("cy"))));
            }
            break;
        case Tag::PrstGeom:
            if (parent == Tag::SpPr && stack.size() == 3) {
                hasGeometry = true;
                s.preset = a.value(QLatin1String("prst")).toString();
            }
            break;
        case Tag::CustGeom:
            if (parent == Tag::SpPr && stack.size() == 3)
                hasGeometry = custom = true;
            break;
        case Tag::NoFill:
        case Tag::SolidFill:
        case Tag::OtherFill: {
            const Fill f = tag == Tag::NoFill ? Fill::None : tag == Tag::SolidFill ? Fill::Solid : Fill::Other;
            if (parent == Tag::SpPr && stack.size() == 3)
                fill = f;
            else if (parent == Tag::Ln && grand == Tag::SpPr && stack.size() == 4)
                line = f;
            break;
        }
        case Tag::Colour: {
            ColourSlot* slot = nullptr;
            if (parent == Tag::SolidFill && grand == Tag::SpPr && stack.size() == 4)
                slot = &fillColour;
            else if (parent == Tag::SolidFill && grand == Tag::Ln && stack.size() == 5)
                slot = &lineColour;
            else if (parent == Tag::FillRef && grand == Tag::Style && stack.size() == 4)
                slot = &styleFillColour;
            else if (parent == Tag::LnRef && grand == Tag::Style && stack.size() == 4)
                slot = &styleLineColour;
            else if (parent == Tag::FontRef && grand == Tag::Style && stack.size() == 4)
                slot = &styleFontColour;
            else if (parent == Tag::SolidFill && grand == Tag::RPr && inFirstRun)
                slot = &runColour;
            else if (parent == Tag::SolidFill && grand == Tag::DefRPr && stack[stack.size() - 4] == Tag::Lvl1pPr)
                slot = &listColour;
            else if (parent == Tag::SolidFill && grand == Tag::EndParaRPr && !runSeen)
                slot = &endColour;
            else if (stack.size() >= 5 && stack[1] == Tag::SpPr && stack[2] == Tag::OtherFill)
                slot = &otherFillColour;
            if (!slot || slot->set)
                break;
            const QStringView kind = r.name();
            std::uint32_t bgr = 0;
            bool ok = false;
            if (kind == u"srgbClr")
                ok = hexToBgr(a.value(QLatin1String("val")).toString(), bgr);
            else if (kind == u"sysClr")
                ok = hexToBgr(a.value(QLatin1String("lastClr")).toString(), bgr);
            else if (kind == u"schemeClr")
                ok = defaults.schemeColour(a.value(QLatin1String("val")).toString(), bgr);
            else if (kind == u"prstClr") {
                bgr = presetColour(a.value(QLatin1String("val")));
                ok = true;
            }
            if (ok)
                *slot = {true, bgr};
            break;
        }
        case Tag::Ln:
            if (parent == Tag::SpPr && stack.size() == 3)
                lineW = attrLong(a, QLatin1String("w"), -1);
            break;
        case Tag::HeadEnd:
        case Tag::TailEnd:
            if (parent == Tag::Ln && grand == Tag::SpPr && stack.size() == 4)
                (tag == Tag::HeadEnd ? s.beginArrowhead : s.endArrowhead) = arrowheadOfLineEnd(a.value(QLatin1String("type")));
            break;
        case Tag::FillRef:
            if (parent == Tag::Style && stack.size() == 3)
                fillRefIdx = static_cast<int>(attrLong(a, QLatin1String("idx")));
            break;
        case Tag::LnRef:
            if (parent == Tag::Style && stack.size() == 3)
                lnRefIdx = static_cast<int>(attrLong(a, QLatin1String("idx")));
            break;
        case Tag::FontRef:
            if (parent == Tag::Style && stack.size() == 3)
                fontRef = a.value(QLatin1String("idx")).toString();
            break;
        case Tag::TxBody:
            if (stack.size() == 2)
                out.hasTxBody = true;
            break;
        case Tag::BodyPr:
            if (parent == Tag::TxBody && stack.size() == 3) {
                s.wordWrap = a.value(QLatin1String("wrap")) != u"none";
                s.marginLeft = emuToPoints(clampEmu(attrLong(a, QLatin1String("lIns"), 91440)));
                s.marginRight = emuToPoints(clampEmu(attrLong(a, QLatin1String("rIns"), 91440)));
                s.marginTop = emuToPoints(clampEmu(attrLong(a, QLatin1String("tIns"), 45720)));
                s.marginBottom = emuToPoints(clampEmu(attrLong(a, QLatin1String("bIns"), 45720)));
                s.autoSize = AutoSizeNone;
            }
            break;
        case Tag::SpAutoFit:
            if (parent == Tag::BodyPr)
                s.autoSize = AutoSizeShapeToFitText;
            break;
        case Tag::NormAutofit:
            if (parent == Tag::BodyPr) {
                s.autoSize = AutoSizeTextToFitShape;
                fitsTextToShape = true;
            }
            break;
        case Tag::DefRPr:
            if (parent == Tag::Lvl1pPr && grand == Tag::LstStyle) {
                const auto sz = attrLong(a, QLatin1String("sz"));
                if (sz > 0)
                    listSize = static_cast<float>(sz / 100.0);
            }
            break;
        case Tag::P:
            if (parent == Tag::TxBody && stack.size() == 3) {
                inParagraph = true;
                text.clear();
            }
            break;
        case Tag::R:
        case Tag::Fld:
            if (parent == Tag::P && inParagraph && !runSeen) {
                runSeen = inFirstRun = true;
                firstRunDepth = cursor.depth();
            }
            break;
        case Tag::RPr:
            if (inFirstRun && (parent == Tag::R || parent == Tag::Fld)) {
                const auto sz = attrLong(a, QLatin1String("sz"));
                if (sz > 0)
                    runSize = static_cast<float>(sz / 100.0);
            }
            break;
        case Tag::EndParaRPr:
            if (parent == Tag::P && inParagraph && !endParaSeen) {
                endParaSeen = true;
                const auto sz = attrLong(a, QLatin1String("sz"));
                if (sz > 0)
                    endSize = static_cast<float>(sz / 100.0);
            }
            break;
        case Tag::Latin:
            if (parent == Tag::RPr && inFirstRun)
                runFont = a.value(QLatin1String("typeface")).toString();
            else if (parent == Tag::DefRPr && grand == Tag::Lvl1pPr)
                listFont = a.value(QLatin1String("typeface")).toString();
            else if (parent == Tag::EndParaRPr && endFont.isEmpty() && !runSeen)
                endFont = a.value(QLatin1String("typeface")).toString();
            break;
        case Tag::Br:
            if (parent == Tag::P && inParagraph)
                text += QChar(0x0B);
            break;
        default:
            break;
        }
    }

    // Geometry.
    s.left = emuToPoints(offX);
    s.top = emuToPoints(offY);
    s.width = emuToPoints(extX);
    s.height = emuToPoints(extY);
    rot %= 21600000;
    s.rotation = static_cast<float>(rot / 60000.0);
    if (!isCxn) {
        s.flipH = flipH;
        s.flipV = flipV;
    }
    out.hasXfrm = haveXfrm;
    // A placeholder without a transform sits where its layout (or master) placeholder sits.
    if (!haveXfrm && placeholder && !isCxn) {
        if (const PlaceholderBox* box = defaults.inheritedBox(placeholderType, placeholderIdx)) {
            s.left = box->left;
            s.top = box->top;
            s.width = box->width;
            s.height = box->height;
        }
    }
    if (isCxn) {
        QPointF b(offX + (flipH ? extX : 0), offY + (flipV ? extY : 0));
        QPointF e(offX + (flipH ? 0 : extX), offY + (flipV ? 0 : extY));
        if (rot != 0) {
            const QPointF c(offX + extX / 2.0, offY + extY / 2.0);
            QTransform t;
            t.translate(c.x(), c.y());
            t.rotate(rot / 60000.0);
            t.translate(-c.x(), -c.y());
            b = t.map(b);
            e = t.map(e);
        }
        s.begin = b / EmuPerPoint;
        s.end = e / EmuPerPoint;
        s.autoShapeType = ShapeMixed;
        s.rotation = 0; // the end points carry it
    }

    // Fill and line: explicit properties first, then the shape style's references.
    s.fillVisible = false;
    s.fillSolid = false;
    if (fill == Fill::Solid) {
        s.fillVisible = s.fillSolid = true;
        s.fillRgb = fillColour.set ? fillColour.bgr : 0xFFFFFF;
    } else if (fill == Fill::Other) {
        // Drawn in one colour: a gradient's first stop, a pattern's foreground (white for a
        // picture fill), so that the shape and its text look as they were meant to.
        s.fillVisible = true;
        if (otherFillColour.set)
            s.fillRgb = otherFillColour.bgr;
    } else if (fill == Fill::Unset && fillRefIdx > 0 && styleFillColour.set && !isCxn) {
        s.fillVisible = s.fillSolid = true;
        s.fillRgb = styleFillColour.bgr;
    }
    if (line == Fill::Solid || line == Fill::Other) {
        s.lineVisible = true;
        s.lineRgb = lineColour.set ? lineColour.bgr : 0;
    } else if (line == Fill::Unset && lnRefIdx > 0) {
        s.lineVisible = true;
        s.lineRgb = styleLineColour.set ? styleLineColour.bgr : 0;
    } else {
        s.lineVisible = false;
    }
    if (lineW >= 0)
        s.lineWeight = emuToPoints(std::min<std::int64_t>(lineW, 20116800));

    // Text: font and size as described above, then the style's font reference, then what the
    // presentation and theme give every shape.
    QString face = !runFont.isEmpty() ? runFont : !listFont.isEmpty() ? listFont : !runSeen && !endFont.isEmpty() ? endFont
                 : fontRef == u"major" ? QStringLiteral("+mj-lt") : fontRef == u"minor" ? QStringLiteral("+mn-lt") : QString();
    const TextDefaults::RunFont inherited = defaults.runFontFor(placeholder, placeholderType, placeholderIdx);
    face = face.isEmpty() ? inherited.name : defaults.resolveTypeface(face);
    s.fontName = face.isEmpty() ? inherited.name : face;
    s.fontSize = runSize > 0 ? runSize : listSize > 0 ? listSize : !runSeen && endSize > 0 ? endSize : inherited.size;
    const ColourSlot& textColour = runColour.set ? runColour : listColour.set ? listColour : !runSeen && endColour.set ? endColour : styleFontColour;
    s.textColourSet = textColour.set && isSp;
    s.textRgb = textColour.set ? textColour.bgr : 0;

    if (isSp) {
        if (!hasGeometry || custom) {
            s.autoShapeType = ShapeNotPrimitive;
        } else {
            const int type = autoShapeTypeOfPreset(s.preset);
            s.autoShapeType = type != 0 ? type : ShapeNotPrimitive;
        }
        // A text label: marked as a text box, or (after programs that drop that mark) an
        // unfilled, unlined rectangle or no-symbol marker carrying text.
        const bool bareLabel = !s.fillVisible && !s.lineVisible && out.hasTxBody
                               && (s.autoShapeType == ShapeRectangle || s.autoShapeType == ShapeNoSymbol);
        if (!txBox && bareLabel && s.autoShapeType == ShapeNoSymbol && s.autoSize == AutoSizeShapeToFitText && !s.wordWrap) {
            // Impress writes a graph's title label back so, with its box grown (across about its
            // centre, and downwards) until the text fits the marker's inner square, which puts
            // its left edge far past the slide's: it is read back into the label it was, whose
            // text fills its box.
            const QSizeF inner = textRectFraction(s);
            s.left += static_cast<float>(s.width * (1 - inner.width()) / 2);
            s.width = static_cast<float>(s.width * inner.width());
            s.height = static_cast<float>(s.height * inner.height());
        }
        if (txBox || bareLabel)
            s.kind = ShapeKind::TextBox;
        if (out.hasTxBody && !fitsTextToShape && !s.wordWrap && FitsWithoutAutofitMark(s.autoShapeType))
            s.autoSize = AutoSizeShapeToFitText; // written so for LibreOffice: see AutofitMark.h
    } else if (!isCxn) {
        s.autoShapeType = ShapeNotPrimitive;
        s.hasTextFrame = false;
        s.paragraphs.clear();
    }
    s.modified = false;
}

// Alternate content in the shape tree: one shape in several forms, a newer one and a fallback
// for programs without its feature. It is one foreign shape (never taken for the shape of one
// of its forms), named and placed as the first form that has a name; its text is not modelled.
template <class Cursor>
void readAlternateContent(Cursor& cursor, const TextDefaults& defaults, ParsedShape& out)
{
    auto& r = cursor.reader();
    const int baseDepth = cursor.depth();
    while (cursor.depth() >= baseDepth) {
        if (cursor.next() != QXmlStreamReader::StartElement)
            continue;
        if (cursor.depth() == baseDepth + 2) { // mc:AlternateContent / mc:Choice|mc:Fallback / the form
            ParsedShape form;
            readShapeWith(cursor, defaults, form);
            const std::uint32_t maxId = std::max(out.maxId, form.maxId);
            if (form.hasId && !out.hasId)
                out = std::move(form);
            out.maxId = maxId;
        } else if (r.name() == u"cNvPr" || r.name() == u"stCxn" || r.name() == u"endCxn") {
            const auto id = std::clamp<std::int64_t>(attrLong(r.attributes(), QLatin1String("id")), 0, 0xFFFFFFFFll);
            out.maxId = std::max(out.maxId, static_cast<std::uint32_t>(id));
        }
    }
    ShapeData& s = out.data;
    s.kind = ShapeKind::Foreign;
    s.autoShapeType = ShapeNotPrimitive;
    s.hasTextFrame = false;
    s.paragraphs.clear();
    s.modified = false;
    out.begin = out.end = GlueRef{};
    out.hasTxBody = false;
}

} // namespace

void readShapeElement(XmlCursor& cursor, const TextDefaults& defaults, ParsedShape& out)
{
    readShapeWith(cursor, defaults, out);
}

void readShapeElement(FastXmlCursor& cursor, const TextDefaults& defaults, ParsedShape& out)
{
    readShapeWith(cursor, defaults, out);
}

namespace {

// The shape element of `wrapped` (the shape's XML inside an element declaring its namespaces).
template <typename Cursor>
ParsedShape readWrappedShape(const QString& wrapped, const TextDefaults& defaults)
{
    Cursor cursor(wrapped, QStringLiteral("(shape)"));
    ParsedShape parsed;
    while (!cursor.atEnd()) {
        if (cursor.next() == QXmlStreamReader::StartElement && cursor.depth() == 2) {
            readShapeElement(cursor, defaults, parsed);
            return parsed;
        }
    }
    cursor.fail(QStringLiteral("no shape element"));
}

} // namespace

ParsedShape readShapeXml(const QString& xml, const std::vector<std::pair<QString, QString>>& scope, const TextDefaults& defaults)
{
    const QString wrapped = inNamespaceScope(xml, scope);
    // The quick reader first, as for a slide; a shape it does not take is read by the full one,
    // which gives the error when there is one. A save reads every shape it rewrites again.
    try {
        return readWrappedShape<FastXmlCursor>(wrapped, defaults);
    } catch (const FastXmlUnsupported&) {
    } catch (const PptxError&) {
    }
    return readWrappedShape<XmlCursor>(wrapped, defaults);
}

bool isGlueTarget(const ShapeData& s)
{
    if (s.kind == ShapeKind::Foreign) // a picture: the sites of its geometry's box
        return hasPresetConnectionSites(s);
    return (s.kind == ShapeKind::AutoShape || s.kind == ShapeKind::TextBox) &&
           (s.autoShapeType != ShapeNotPrimitive || hasPresetConnectionSites(s));
}

} // namespace zov::host::pptx
