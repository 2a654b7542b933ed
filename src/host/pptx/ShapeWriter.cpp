#include "host/pptx/ShapeWriter.h"

#include "host/AutoShapeType.h"
#include "host/pptx/AutofitMark.h"
#include "host/geometry/Geometry.h"
#include "host/pptx/Namespaces.h"
#include "host/pptx/PresetMap.h"
#include "host/pptx/Units.h"
#include "host/pptx/XmlBytes.h"
#include "host/pptx/XmlTree.h"

#include <algorithm>

namespace zov::host::pptx {
namespace {

constexpr std::int64_t MaxLineWidthEmu = 20116800;

std::int64_t fontSizeHundredths(float points)
{
    if (!std::isfinite(points))
        return 1800;
    return std::clamp<std::int64_t>(std::llround(points * 100.0), 100, 400000);
}

std::int64_t lineWidthEmu(float points)
{
    return std::clamp<std::int64_t>(pointsToEmu(points), 0, MaxLineWidthEmu);
}

bool isConnectorPreset(const QString& preset)
{
    return preset == QLatin1String("straightConnector1") || preset == QLatin1String("line")
           || (preset.startsWith(QLatin1String("bentConnector")) && preset.size() == 14 && preset[13] >= u'2' && preset[13] <= u'5')
           || (preset.startsWith(QLatin1String("curvedConnector")) && preset.size() == 16 && preset[15] >= u'2' && preset[15] <= u'5');
}

// The preset a new shape is drawn with: its own when it is one we model, else the one of its type.
QString presetFor(const ShapeData& s)
{
    if (s.kind == ShapeKind::Connector)
        return isConnectorPreset(s.preset) ? s.preset : QStringLiteral("straightConnector1");
    if (autoShapeTypeOfPreset(s.preset) != 0)
        return s.preset;
    const QString byType = presetOfAutoShapeType(s.autoShapeType);
    return byType.isEmpty() ? QStringLiteral("rect") : byType;
}

struct ConnectorBox {
    std::int64_t x = 0, y = 0, cx = 0, cy = 0;
    bool flipH = false, flipV = false;
};

// Both end points go to whole EMU first; the box and flips follow from them exactly.
ConnectorBox connectorBox(const ShapeData& s)
{
    const std::int64_t bx = pointsToEmu(s.begin.x()), by = pointsToEmu(s.begin.y());
    const std::int64_t ex = pointsToEmu(s.end.x()), ey = pointsToEmu(s.end.y());
    return {std::min(bx, ex), std::min(by, ey), std::abs(ex - bx), std::abs(ey - by), ex < bx, ey < by};
}

struct Box {
    std::int64_t x, y, cx, cy;
};

Box shapeBox(const ShapeData& s)
{
    return {pointsToEmu(s.left), pointsToEmu(s.top), std::max<std::int64_t>(0, pointsToEmu(s.width)),
            std::max<std::int64_t>(0, pointsToEmu(s.height))};
}

std::int64_t rotationUnits(float degrees)
{
    if (!std::isfinite(degrees))
        return 0;
    std::int64_t r = std::llround(degrees * 60000.0) % 21600000;
    if (r < 0)
        r += 21600000;
    return r;
}

// --- fresh XML ------------------------------------------------------------------------------

class Writer {
public:
    Writer(XmlBytes& out, const Prefixes& prefixes) : o(out), px(prefixes) {}

    void open(const QByteArray& prefix, std::string_view local)
    {
        o.Raw('<');
        o.Raw(prefix);
        o.Raw(local);
    }
    void close(const QByteArray& prefix, std::string_view local)
    {
        o.Raw("</");
        o.Raw(prefix);
        o.Raw(local);
        o.Raw('>');
    }
    void attrName(std::string_view name)
    {
        o.Raw(' ');
        o.Raw(name);
        o.Raw("=\"");
    }
    void attr(std::string_view name, std::int64_t value)
    {
        attrName(name);
        o.Number(value);
        o.Raw('"');
    }
    void attr(std::string_view name, const char* value)
    {
        attrName(name);
        o.Raw(value);
        o.Raw('"');
    }
    // A value that is ASCII by construction (a preset or arrowhead name).
    void attrAscii(std::string_view name, const QString& value)
    {
        attrName(name);
        o.Latin1(value);
        o.Raw('"');
    }
    void attrText(std::string_view name, QStringView value)
    {
        attrName(name);
        o.Attribute(value);
        o.Raw('"');
    }
    void endEmpty() { o.Raw("/>"); }
    void end() { o.Raw('>'); }

    void solidFill(std::uint32_t bgr)
    {
        open(px.a, "solidFill");
        end();
        open(px.a, "srgbClr");
        attrName("val");
        o.HexColour(bgr);
        o.Raw('"');
        endEmpty();
        close(px.a, "solidFill");
    }
    void noFill()
    {
        open(px.a, "noFill");
        endEmpty();
    }

    void xfrm(std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy, bool flipH, bool flipV, std::int64_t rot)
    {
        open(px.a, "xfrm");
        if (rot != 0)
            attr("rot", rot);
        if (flipH)
            attr("flipH", "1");
        if (flipV)
            attr("flipV", "1");
        end();
        open(px.a, "off");
        attr("x", x);
        attr("y", y);
        endEmpty();
        open(px.a, "ext");
        attr("cx", cx);
        attr("cy", cy);
        endEmpty();
        close(px.a, "xfrm");
    }

    void prstGeom(const QString& preset)
    {
        open(px.a, "prstGeom");
        attrAscii("prst", preset);
        end();
        open(px.a, "avLst");
        endEmpty();
        close(px.a, "prstGeom");
    }

    void lineEnd(const char* element, int style)
    {
        if (style == ArrowheadNone)
            return;
        open(px.a, element);
        attrAscii("type", lineEndOfArrowhead(style));
        attr("w", "med");
        attr("len", "med");
        endEmpty();
    }

    void line(const ShapeData& s)
    {
        open(px.a, "ln");
        if (s.lineVisible)
            attr("w", lineWidthEmu(s.lineWeight));
        end();
        if (s.lineVisible)
            solidFill(s.lineRgb);
        else
            noFill();
        lineEnd("headEnd", s.beginArrowhead);
        lineEnd("tailEnd", s.endArrowhead);
        close(px.a, "ln");
    }

    void runProperties(const char* element, const ShapeData& s)
    {
        open(px.a, element);
        attr("sz", fontSizeHundredths(s.fontSize));
        end();
        if (s.textColourSet)
            solidFill(s.textRgb);
        open(px.a, "latin");
        attrText("typeface", s.fontName);
        endEmpty();
        close(px.a, element);
    }

    void textBody(const ShapeData& s)
    {
        const bool label = s.kind == ShapeKind::TextBox;
        open(px.p, "txBody");
        end();
        open(px.a, "bodyPr");
        attr("wrap", s.wordWrap ? "square" : "none");
        attr("lIns", std::max<std::int64_t>(0, pointsToEmu(s.marginLeft)));
        attr("tIns", std::max<std::int64_t>(0, pointsToEmu(s.marginTop)));
        attr("rIns", std::max<std::int64_t>(0, pointsToEmu(s.marginRight)));
        attr("bIns", std::max<std::int64_t>(0, pointsToEmu(s.marginBottom)));
        attr("rtlCol", "0");
        // Text that sizes its shape sits at the top: a program that fits the shape again with
        // its own font metrics (LibreOffice does on loading) then keeps its top edge in place.
        attr("anchor", label || s.autoSize == AutoSizeShapeToFitText ? "t" : "ctr");
        end();
        if (const char* fit = AutofitElement(s.autoShapeType, s.autoSize, s.wordWrap)) {
            open(px.a, fit);
            endEmpty();
        }
        close(px.a, "bodyPr");
        open(px.a, "lstStyle");
        endEmpty();
        const QStringList paragraphs = s.paragraphs.isEmpty() ? QStringList{QString()} : s.paragraphs;
        for (const QString& paragraph : paragraphs) {
            open(px.a, "p");
            end();
            if (!label) {
                open(px.a, "pPr");
                attr("algn", "ctr");
                endEmpty();
            }
            const auto segments = QStringView(paragraph).split(QChar(0x0B));
            for (qsizetype i = 0; i < segments.size(); ++i) {
                if (i > 0) {
                    open(px.a, "br");
                    end();
                    runProperties("rPr", s);
                    close(px.a, "br");
                }
                if (segments[i].isEmpty())
                    continue;
                open(px.a, "r");
                end();
                runProperties("rPr", s);
                open(px.a, "t");
                end();
                o.Text(segments[i]);
                close(px.a, "t");
                close(px.a, "r");
            }
            runProperties("endParaRPr", s);
            close(px.a, "p");
        }
        close(px.p, "txBody");
    }

    XmlBytes& o;
    const Prefixes& px;
};

void writeGlue(Writer& w, const char* element, const GlueRef& ref)
{
    if (!ref.present)
        return;
    w.open(w.px.a, element);
    w.attr("id", static_cast<std::int64_t>(ref.id));
    w.attr("idx", static_cast<std::int64_t>(ref.idx));
    w.endEmpty();
}

// --- patching -------------------------------------------------------------------------------

bool isElement(const XmlNode& n, const QString& uri, std::initializer_list<const char*> names)
{
    if (n.kind != XmlNode::Kind::Element || n.ns != uri)
        return false;
    for (const char* name : names)
        if (n.local == QLatin1String(name))
            return true;
    return false;
}

XmlNode* findChild(XmlNode* parent, const QString& uri, std::initializer_list<const char*> names)
{
    if (!parent)
        return nullptr;
    for (auto& c : parent->children)
        if (isElement(*c, uri, names))
            return c.get();
    return nullptr;
}

// Index of the first element child that is not one of `leading` (the children that come
// before the one to insert): the place to insert at.
size_t insertionIndex(const XmlNode& parent, const QString& uri, std::initializer_list<const char*> leading)
{
    for (size_t i = 0; i < parent.children.size(); ++i) {
        const XmlNode& c = *parent.children[i];
        if (c.kind != XmlNode::Kind::Element)
            continue;
        if (!isElement(c, uri, leading))
            return i;
    }
    return parent.children.size();
}

void removeChildren(XmlNode& parent, const QString& uri, std::initializer_list<const char*> names)
{
    std::erase_if(parent.children, [&](const std::unique_ptr<XmlNode>& c) { return isElement(*c, uri, names); });
}

QString number(std::int64_t v)
{
    return QString::number(static_cast<qlonglong>(v));
}

class Patcher {
public:
    Patcher(XmlNode& root, const NamespaceScope& scope) : root_(root)
    {
        a_ = prefixFor(scope, ns::A);
        p_ = prefixFor(scope, ns::P);
    }

    std::unique_ptr<XmlNode> a(const char* local) { return makeElement(a_, ns::A, QLatin1String(local)); }
    std::unique_ptr<XmlNode> p(const char* local) { return makeElement(p_, ns::P, QLatin1String(local)); }

    std::unique_ptr<XmlNode> solidFill(std::uint32_t bgr)
    {
        auto fill = a("solidFill");
        auto colour = a("srgbClr");
        colour->setAttr(QStringLiteral("val"), bgrToHex(bgr));
        fill->children.push_back(std::move(colour));
        return fill;
    }

private:
    // The prefix bound to `uri` on the fragment's root or around it; when there is none the root
    // element gets a declaration of its own.
    QString prefixFor(const NamespaceScope& scope, const QString& uri)
    {
        QString found;
        bool have = false;
        for (const auto& [prefix, bound] : scope)
            if (bound == uri) {
                found = prefix;
                have = true;
            }
        for (const auto& [name, value] : root_.attrs) {
            if (value != uri)
                continue;
            if (name == QLatin1String("xmlns")) {
                found.clear();
                have = true;
            } else if (name.startsWith(QLatin1String("xmlns:"))) {
                found = name.mid(6);
                have = true;
            }
        }
        if (have)
            return found;
        const QString made = uri == ns::A ? QStringLiteral("zova") : QStringLiteral("zovp");
        root_.setAttr(QStringLiteral("xmlns:") + made, uri);
        return made;
    }

    XmlNode& root_;
    QString a_, p_;
};

void setXfrm(Patcher& px, XmlNode& xfrm, std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy)
{
    XmlNode* off = findChild(&xfrm, ns::A, {"off"});
    if (!off)
        off = xfrm.insert(0, px.a("off"));
    off->setAttr(QStringLiteral("x"), number(x));
    off->setAttr(QStringLiteral("y"), number(y));
    XmlNode* ext = findChild(&xfrm, ns::A, {"ext"});
    if (!ext)
        ext = xfrm.insert(insertionIndex(xfrm, ns::A, {"off"}), px.a("ext"));
    ext->setAttr(QStringLiteral("cx"), number(cx));
    ext->setAttr(QStringLiteral("cy"), number(cy));
}

// An XML boolean attribute that is set.
bool isOn(const QString& value)
{
    return value == QLatin1String("1") || value == QLatin1String("true");
}

void setOrRemoveFlag(XmlNode& node, const char* name, bool on)
{
    if (on)
        node.setAttr(QLatin1String(name), QStringLiteral("1"));
    else
        node.removeAttr(QLatin1String(name));
}

// The children of spPr that come before a fill, and before a line.
#define ZOV_BEFORE_FILL "xfrm", "custGeom", "prstGeom"
#define ZOV_FILLS "noFill", "solidFill", "gradFill", "blipFill", "pattFill", "grpFill"

// Sets the font name and/or size on every run property element of the text.
void applyFont(Patcher& px, XmlNode& txBody, const ShapeData& s, bool name, bool size)
{
    for (auto& para : txBody.children) {
        if (!isElement(*para, ns::A, {"p"}))
            continue;
        for (auto& item : para->children) {
            XmlNode* props = nullptr;
            if (isElement(*item, ns::A, {"r", "fld", "br"})) {
                props = findChild(item.get(), ns::A, {"rPr"});
                if (!props)
                    props = item->insert(0, px.a("rPr"));
            } else if (isElement(*item, ns::A, {"endParaRPr"})) {
                props = item.get();
            }
            if (!props)
                continue;
            if (size)
                props->setAttr(QStringLiteral("sz"), number(fontSizeHundredths(s.fontSize)));
            if (name) {
                XmlNode* latin = findChild(props, ns::A, {"latin"});
                if (!latin) {
                    size_t at = props->children.size();
                    for (size_t i = 0; i < props->children.size(); ++i)
                        if (isElement(*props->children[i], ns::A, {"ea", "cs", "sym", "hlinkClick", "hlinkMouseOver", "rtl", "extLst"})) {
                            at = i;
                            break;
                        }
                    latin = props->insert(at, px.a("latin"));
                }
                latin->setAttr(QStringLiteral("typeface"), s.fontName);
            }
        }
    }
}

// Replaces the paragraphs of the text body by the model's, keeping the formatting of the
// original paragraphs and of its first run.
void rebuildParagraphs(Patcher& px, XmlNode& txBody, const ShapeData& s)
{
    std::vector<std::unique_ptr<XmlNode>> oldParagraphs;
    size_t at = txBody.children.size();
    for (size_t i = 0; i < txBody.children.size();) {
        if (isElement(*txBody.children[i], ns::A, {"p"})) {
            at = std::min(at, i);
            oldParagraphs.push_back(std::move(txBody.children[i]));
            txBody.children.erase(txBody.children.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    if (at == txBody.children.size())
        at = insertionIndex(txBody, ns::A, {"bodyPr", "lstStyle"});

    // The run formatting to repeat: the first run's, else the first end-of-paragraph one.
    std::unique_ptr<XmlNode> runProps;
    for (const auto& para : oldParagraphs) {
        for (const auto& item : para->children)
            if (isElement(*item, ns::A, {"r", "fld"}))
                if (XmlNode* rPr = findChild(item.get(), ns::A, {"rPr"})) {
                    runProps = cloneTree(*rPr);
                    break;
                }
        if (runProps)
            break;
    }
    if (!runProps)
        for (const auto& para : oldParagraphs)
            if (XmlNode* end = findChild(para.get(), ns::A, {"endParaRPr"})) {
                runProps = cloneTree(*end);
                const qsizetype colon = end->qname.indexOf(QLatin1Char(':'));
                runProps->qname = colon >= 0 ? end->qname.left(colon + 1) + QStringLiteral("rPr") : QStringLiteral("rPr");
                runProps->local = QStringLiteral("rPr");
                break;
            }
    if (!runProps)
        runProps = px.a("rPr");

    const QStringList paragraphs = s.paragraphs.isEmpty() ? QStringList{QString()} : s.paragraphs;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const XmlNode* model = oldParagraphs.empty() ? nullptr
                               : oldParagraphs[std::min(static_cast<size_t>(i), oldParagraphs.size() - 1)].get();
        auto para = px.a("p");
        para->attrs = model ? model->attrs : decltype(para->attrs){};
        if (const XmlNode* pPr = model ? findChild(const_cast<XmlNode*>(model), ns::A, {"pPr"}) : nullptr)
            para->children.push_back(cloneTree(*pPr));
        const auto segments = QStringView(paragraphs[i]).split(QChar(0x0B));
        for (qsizetype k = 0; k < segments.size(); ++k) {
            if (k > 0) {
                auto br = px.a("br");
                br->children.push_back(cloneTree(*runProps));
                para->children.push_back(std::move(br));
            }
            if (segments[k].isEmpty())
                continue;
            auto run = px.a("r");
            run->children.push_back(cloneTree(*runProps));
            auto t = px.a("t");
            auto text = std::make_unique<XmlNode>();
            text->kind = XmlNode::Kind::Text;
            text->text = segments[k].toString();
            t->children.push_back(std::move(text));
            run->children.push_back(std::move(t));
            para->children.push_back(std::move(run));
        }
        if (const XmlNode* end = model ? findChild(const_cast<XmlNode*>(model), ns::A, {"endParaRPr"}) : nullptr)
            para->children.push_back(cloneTree(*end));
        txBody.insert(at + static_cast<size_t>(i), std::move(para));
    }
}

void setGlue(Patcher& px, XmlNode& cNvCxnSpPr, const char* element, const GlueRef& ref)
{
    removeChildren(cNvCxnSpPr, ns::A, {element});
    if (!ref.present)
        return;
    auto node = px.a(element);
    node->setAttr(QStringLiteral("id"), number(ref.id));
    node->setAttr(QStringLiteral("idx"), number(ref.idx));
    const bool begin = QLatin1String(element) == QLatin1String("stCxn");
    const size_t at = begin ? insertionIndex(cNvCxnSpPr, ns::A, {"cxnSpLocks"}) : insertionIndex(cNvCxnSpPr, ns::A, {"cxnSpLocks", "stCxn"});
    cNvCxnSpPr.insert(at, std::move(node));
}

// Alternate content: each form of the shape (each child of mc:Choice and mc:Fallback) takes the
// new id and name, and its box goes where the one the shape was read with went (the forms may
// differ slightly, as an ink drawing and its picture do).
XmlNode* firstElementNamed(XmlNode* parent, QLatin1StringView local)
{
    if (parent)
        for (auto& c : parent->children)
            if (c->kind == XmlNode::Kind::Element && c->local == local)
                return c.get();
    return nullptr;
}

XmlNode* formTransform(XmlNode& form)
{
    if (XmlNode* own = firstElementNamed(&form, QLatin1String("xfrm"))) // graphic frames, content parts
        return own;
    return findChild(findChild(&form, ns::P, {"spPr", "grpSpPr"}), ns::A, {"xfrm"});
}

void patchAlternateForms(XmlNode& root, const ShapeData& s, const ShapeData& b, std::uint32_t id, bool moved)
{
    const std::int64_t oldLeft = pointsToEmu(b.left), oldTop = pointsToEmu(b.top);
    const std::int64_t newLeft = pointsToEmu(s.left), newTop = pointsToEmu(s.top);
    const double sx = b.width > 0 ? double(s.width) / b.width : 1.0, sy = b.height > 0 ? double(s.height) / b.height : 1.0;
    for (auto& branch : root.children) {
        if (!isElement(*branch, ns::Mc, {"Choice", "Fallback"}))
            continue;
        for (auto& form : branch->children) {
            if (form->kind != XmlNode::Kind::Element)
                continue;
            XmlNode* nv = nullptr;
            for (auto& c : form->children)
                if (c->kind == XmlNode::Kind::Element && c->local.startsWith(QLatin1String("nv"))) {
                    nv = c.get();
                    break;
                }
            if (XmlNode* cNvPr = firstElementNamed(nv, QLatin1String("cNvPr"))) {
                if (cNvPr->attr(QLatin1String("id")) != number(id))
                    cNvPr->setAttr(QStringLiteral("id"), number(id));
                if (s.name != b.name)
                    cNvPr->setAttr(QStringLiteral("name"), s.name);
            }
            XmlNode* xfrm = moved ? formTransform(*form) : nullptr;
            if (!xfrm)
                continue;
            auto mapped = [](const XmlNode* node, QLatin1StringView name, std::int64_t from, std::int64_t to, double scale) {
                return to + std::llround(double(node->attr(name).toLongLong() - from) * scale);
            };
            if (XmlNode* off = firstElementNamed(xfrm, QLatin1String("off"))) {
                off->setAttr(QStringLiteral("x"), number(mapped(off, QLatin1String("x"), oldLeft, newLeft, sx)));
                off->setAttr(QStringLiteral("y"), number(mapped(off, QLatin1String("y"), oldTop, newTop, sy)));
            }
            if (XmlNode* ext = firstElementNamed(xfrm, QLatin1String("ext"))) {
                ext->setAttr(QStringLiteral("cx"), number(std::max<std::int64_t>(0, mapped(ext, QLatin1String("cx"), 0, 0, sx))));
                ext->setAttr(QStringLiteral("cy"), number(std::max<std::int64_t>(0, mapped(ext, QLatin1String("cy"), 0, 0, sy))));
            }
        }
    }
}

} // namespace

Prefixes Prefixes::forScope(const NamespaceScope& scope)
{
    Prefixes px;
    bool haveP = false, haveA = false;
    QString p, a;
    for (const auto& [prefix, uri] : scope) {
        if (uri == ns::P) {
            p = prefix;
            haveP = true;
        } else if (uri == ns::A) {
            a = prefix;
            haveA = true;
        }
    }
    // A prefix is usable when no later declaration rebound it to something else.
    auto usable = [&](const QString& prefix, const QString& uri) {
        for (const auto& [pre, bound] : scope)
            if (pre == prefix && bound != uri)
                return false;
        return true;
    };
    if (haveP && usable(p, ns::P)) {
        px.p = p.isEmpty() ? QByteArray() : p.toUtf8() + ':';
    } else {
        px.p = "p:";
        px.declarations += " xmlns:p=\"" + ns::P.toUtf8() + '"';
    }
    if (haveA && usable(a, ns::A)) {
        px.a = a.isEmpty() ? QByteArray() : a.toUtf8() + ':';
    } else {
        px.a = "a:";
        px.declarations += " xmlns:a=\"" + ns::A.toUtf8() + '"';
    }
    return px;
}

GlueRef glueRefOf(const GlueEnd& end, const WriteIds& ids)
{
    const auto target = end.shape.lock();
    if (!target || end.site <= 0)
        return {};
    const std::uint32_t id = ids.idOf(target.get());
    if (id == 0)
        return {};
    const int count = connectionSiteCount(*target);
    if (count <= 0)
        return {};
    return {true, id, std::clamp(end.site, 1, count) - 1};
}

void writeNewShape(XmlBytes& out, const ShapeData& s, std::uint32_t id, const WriteIds& ids, const Prefixes& px)
{
    Writer w(out, px);
    if (s.kind == ShapeKind::Connector) {
        w.open(px.p, "cxnSp");
        out.Raw(px.declarations);
        w.end();
        w.open(px.p, "nvCxnSpPr");
        w.end();
        w.open(px.p, "cNvPr");
        w.attr("id", static_cast<std::int64_t>(id));
        w.attrText("name", s.name);
        w.endEmpty();
        const GlueRef begin = glueRefOf(s.beginGlue, ids), end = glueRefOf(s.endGlue, ids);
        w.open(px.p, "cNvCxnSpPr");
        if (begin.present || end.present) {
            w.end();
            writeGlue(w, "stCxn", begin);
            writeGlue(w, "endCxn", end);
            w.close(px.p, "cNvCxnSpPr");
        } else {
            w.endEmpty();
        }
        w.open(px.p, "nvPr");
        w.endEmpty();
        w.close(px.p, "nvCxnSpPr");
        w.open(px.p, "spPr");
        w.end();
        const ConnectorBox box = connectorBox(s);
        w.xfrm(box.x, box.y, box.cx, box.cy, box.flipH, box.flipV, 0);
        w.prstGeom(presetFor(s));
        w.line(s);
        w.close(px.p, "spPr");
        w.close(px.p, "cxnSp");
        return;
    }

    w.open(px.p, "sp");
    out.Raw(px.declarations);
    w.end();
    w.open(px.p, "nvSpPr");
    w.end();
    w.open(px.p, "cNvPr");
    w.attr("id", static_cast<std::int64_t>(id));
    w.attrText("name", s.name);
    w.endEmpty();
    w.open(px.p, "cNvSpPr");
    if (s.kind == ShapeKind::TextBox)
        w.attr("txBox", "1");
    w.endEmpty();
    w.open(px.p, "nvPr");
    w.endEmpty();
    w.close(px.p, "nvSpPr");
    w.open(px.p, "spPr");
    w.end();
    const Box box = shapeBox(s);
    w.xfrm(box.x, box.y, box.cx, box.cy, s.flipH, s.flipV, rotationUnits(s.rotation));
    w.prstGeom(presetFor(s));
    if (s.fillVisible)
        w.solidFill(s.fillRgb);
    else
        w.noFill();
    w.line(s);
    w.close(px.p, "spPr");
    if (s.hasTextFrame)
        w.textBody(s);
    w.close(px.p, "sp");
}

QByteArray patchShape(const ShapeData& s, const QByteArray& sourceXml, const ParsedShape& before, std::uint32_t id,
                      const WriteIds& ids, const NamespaceScope& scope)
{
    auto root = parseXmlTree(QString::fromUtf8(sourceXml), QStringLiteral("(shape)"), scope);
    Patcher px(*root, scope);
    const ShapeData& b = before.data;
    const bool isSp = isElement(*root, ns::P, {"sp"});
    const bool isCxn = isElement(*root, ns::P, {"cxnSp"});
    if (isElement(*root, ns::Mc, {"AlternateContent"})) {
        const bool moved = s.left != b.left || s.top != b.top || s.width != b.width || s.height != b.height;
        patchAlternateForms(*root, s, b, id, moved);
        QString out;
        writeXmlTree(*root, out);
        return out.toUtf8();
    }

    // Identity: id, name, the text-box mark.
    XmlNode* nv = nullptr;
    for (auto& c : root->children)
        if (c->kind == XmlNode::Kind::Element && c->ns == ns::P && c->local.startsWith(QLatin1String("nv"))) {
            nv = c.get();
            break;
        }
    if (XmlNode* cNvPr = findChild(nv, ns::P, {"cNvPr"})) {
        if (cNvPr->attr(QLatin1String("id")) != number(id))
            cNvPr->setAttr(QStringLiteral("id"), number(id));
        if (s.name != b.name)
            cNvPr->setAttr(QStringLiteral("name"), s.name);
    }
    // The text-box mark follows a change of the shape's kind. A no-symbol title label read
    // without it (LibreOffice drops it) gets it back as soon as it is written again: Impress's
    // grown box was read back into the box the label had, and that box, written without the
    // mark, would be taken for Impress's again and made smaller at every save. Other shapes read
    // as labels (an unfilled rectangle of text) keep what they had.
    const XmlNode* marks = isSp && nv ? findChild(nv, ns::P, {"cNvSpPr"}) : nullptr;
    const bool unmarkedTitle = s.kind == ShapeKind::TextBox && s.autoShapeType == ShapeNoSymbol &&
                               !(marks && isOn(marks->attr(QLatin1String("txBox"))));
    if (isSp && nv && ((s.kind == ShapeKind::TextBox) != (b.kind == ShapeKind::TextBox) || unmarkedTitle)) {
        XmlNode* cNvSpPr = findChild(nv, ns::P, {"cNvSpPr"});
        if (!cNvSpPr)
            cNvSpPr = nv->insert(insertionIndex(*nv, ns::P, {"cNvPr"}), px.p("cNvSpPr"));
        setOrRemoveFlag(*cNvSpPr, "txBox", s.kind == ShapeKind::TextBox);
    }

    // Shape properties: created where a modelled shape lacks them.
    XmlNode* spPr = findChild(root.get(), ns::P, {"spPr", "grpSpPr"});
    auto needSpPr = [&]() -> XmlNode& {
        if (!spPr)
            spPr = root->insert(insertionIndex(*root, ns::P, {"nvSpPr", "nvCxnSpPr", "nvPicPr", "nvGrpSpPr"}), px.p("spPr"));
        return *spPr;
    };

    // Geometry.
    bool geometryChanged = isCxn ? (s.begin != b.begin || s.end != b.end)
                                 : (s.left != b.left || s.top != b.top || s.width != b.width || s.height != b.height);
    // A shape that inherits its place (a placeholder without a transform) keeps inheriting it
    // unless it was moved: fitting its text alone must not pin it to the slide's corner.
    if (!isCxn && !before.hasXfrm && s.left == b.left && s.top == b.top)
        geometryChanged = false;
    if (geometryChanged) {
        XmlNode* xfrm = nullptr;
        if (isElement(*root, ns::P, {"graphicFrame"})) {
            xfrm = findChild(root.get(), ns::P, {"xfrm"});
        } else if (isSp || isCxn || isElement(*root, ns::P, {"pic", "grpSp"})) {
            XmlNode& props = needSpPr();
            xfrm = findChild(&props, ns::A, {"xfrm"});
            if (!xfrm)
                xfrm = props.insert(0, px.a("xfrm"));
        }
        if (xfrm && isCxn) {
            const ConnectorBox box = connectorBox(s);
            setXfrm(px, *xfrm, box.x, box.y, box.cx, box.cy);
            xfrm->removeAttr(QLatin1String("rot"));
            setOrRemoveFlag(*xfrm, "flipH", box.flipH);
            setOrRemoveFlag(*xfrm, "flipV", box.flipV);
        } else if (xfrm) {
            const Box box = shapeBox(s);
            setXfrm(px, *xfrm, box.x, box.y, box.cx, box.cy);
        }
    }
    if (!isSp && !isCxn) {
        QString out;
        writeXmlTree(*root, out);
        return out.toUtf8();
    }

    // Geometry type.
    if (isSp && (s.autoShapeType != b.autoShapeType || s.preset != b.preset)) {
        const QString preset = presetOfAutoShapeType(s.autoShapeType);
        if (!preset.isEmpty()) {
            XmlNode& props = needSpPr();
            removeChildren(props, ns::A, {"prstGeom", "custGeom"});
            auto geom = px.a("prstGeom");
            geom->setAttr(QStringLiteral("prst"), preset);
            geom->children.push_back(px.a("avLst"));
            props.insert(insertionIndex(props, ns::A, {"xfrm"}), std::move(geom));
        }
    }

    // Fill (a solid colour or none; other fills stay as they are).
    const bool fillChanged = s.fillVisible != b.fillVisible || s.fillSolid != b.fillSolid || (s.fillSolid && s.fillRgb != b.fillRgb);
    if (isSp && fillChanged && (!s.fillVisible || s.fillSolid)) {
        XmlNode& props = needSpPr();
        removeChildren(props, ns::A, {ZOV_FILLS});
        props.insert(insertionIndex(props, ns::A, {ZOV_BEFORE_FILL}), s.fillVisible ? px.solidFill(s.fillRgb) : px.a("noFill"));
    }

    // Line and arrowheads.
    const bool lineChanged = s.lineVisible != b.lineVisible || s.lineRgb != b.lineRgb || s.lineWeight != b.lineWeight;
    const bool headChanged = s.beginArrowhead != b.beginArrowhead;
    const bool tailChanged = s.endArrowhead != b.endArrowhead;
    if (lineChanged || headChanged || tailChanged) {
        XmlNode& props = needSpPr();
        XmlNode* ln = findChild(&props, ns::A, {"ln"});
        if (!ln)
            ln = props.insert(insertionIndex(props, ns::A, {ZOV_BEFORE_FILL, ZOV_FILLS}), px.a("ln"));
        if (lineChanged) {
            removeChildren(*ln, ns::A, {"noFill", "solidFill", "gradFill", "pattFill"});
            if (s.lineVisible) {
                ln->setAttr(QStringLiteral("w"), number(lineWidthEmu(s.lineWeight)));
                ln->insert(0, px.solidFill(s.lineRgb));
            } else {
                ln->insert(0, px.a("noFill"));
            }
        }
        auto setEnd = [&](const char* element, int style) {
            removeChildren(*ln, ns::A, {element});
            if (style == ArrowheadNone)
                return;
            auto node = px.a(element);
            node->setAttr(QStringLiteral("type"), lineEndOfArrowhead(style));
            node->setAttr(QStringLiteral("w"), QStringLiteral("med"));
            node->setAttr(QStringLiteral("len"), QStringLiteral("med"));
            size_t at = ln->children.size();
            for (size_t i = 0; i < ln->children.size(); ++i)
                if (isElement(*ln->children[i], ns::A, {"extLst"}) || (QLatin1String(element) == QLatin1String("headEnd") && isElement(*ln->children[i], ns::A, {"tailEnd"}))) {
                    at = i;
                    break;
                }
            ln->insert(at, std::move(node));
        };
        if (headChanged)
            setEnd("headEnd", s.beginArrowhead);
        if (tailChanged)
            setEnd("tailEnd", s.endArrowhead);
    }

    // Text.
    if (isSp) {
        const bool textChanged = s.paragraphs != b.paragraphs;
        const bool nameChanged = s.fontName != b.fontName, sizeChanged = s.fontSize != b.fontSize;
        const bool wrapChanged = s.wordWrap != b.wordWrap;
        const bool marginsChanged = s.marginLeft != b.marginLeft || s.marginRight != b.marginRight || s.marginTop != b.marginTop
                                    || s.marginBottom != b.marginBottom;
        // A shape turned into a pentagon (a concept made a reference) changes its autofit mark too.
        const char* fit = AutofitElement(s.autoShapeType, s.autoSize, s.wordWrap);
        const char* fitBefore = AutofitElement(b.autoShapeType, b.autoSize, b.wordWrap);
        const bool fitChanged = qstrcmp(fit, fitBefore) != 0; // either may be none
        if (textChanged || nameChanged || sizeChanged || wrapChanged || marginsChanged || fitChanged) {
            XmlNode* txBody = findChild(root.get(), ns::P, {"txBody"});
            if (!txBody) {
                txBody = root->insert(insertionIndex(*root, ns::P, {"nvSpPr", "spPr", "style"}), px.p("txBody"));
                txBody->children.push_back(px.a("bodyPr"));
                txBody->children.push_back(px.a("lstStyle"));
            }
            XmlNode* bodyPr = findChild(txBody, ns::A, {"bodyPr"});
            if (!bodyPr)
                bodyPr = txBody->insert(0, px.a("bodyPr"));
            if (wrapChanged)
                bodyPr->setAttr(QStringLiteral("wrap"), s.wordWrap ? QStringLiteral("square") : QStringLiteral("none"));
            if (marginsChanged) {
                bodyPr->setAttr(QStringLiteral("lIns"), number(std::max<std::int64_t>(0, pointsToEmu(s.marginLeft))));
                bodyPr->setAttr(QStringLiteral("tIns"), number(std::max<std::int64_t>(0, pointsToEmu(s.marginTop))));
                bodyPr->setAttr(QStringLiteral("rIns"), number(std::max<std::int64_t>(0, pointsToEmu(s.marginRight))));
                bodyPr->setAttr(QStringLiteral("bIns"), number(std::max<std::int64_t>(0, pointsToEmu(s.marginBottom))));
            }
            if (fitChanged) {
                removeChildren(*bodyPr, ns::A, {"noAutofit", "normAutofit", "spAutoFit"});
                if (fit)
                    bodyPr->insert(insertionIndex(*bodyPr, ns::A, {"prstTxWarp"}), px.a(fit));
            }
            if (textChanged || !findChild(txBody, ns::A, {"p"}))
                rebuildParagraphs(px, *txBody, s);
            if (nameChanged || sizeChanged)
                applyFont(px, *txBody, s, nameChanged, sizeChanged);
        }
    }

    // Glue.
    if (isCxn) {
        const GlueRef begin = glueRefOf(s.beginGlue, ids), end = glueRefOf(s.endGlue, ids);
        auto changed = [&](const GlueRef& now, const GlueRef& old) {
            if (now.present)
                return now != old;
            return old.present && ids.wasGlued(old);
        };
        const bool beginChanged = changed(begin, before.begin), endChanged = changed(end, before.end);
        if ((beginChanged || endChanged) && nv) {
            XmlNode* cNvCxnSpPr = findChild(nv, ns::P, {"cNvCxnSpPr"});
            if (!cNvCxnSpPr)
                cNvCxnSpPr = nv->insert(insertionIndex(*nv, ns::P, {"cNvPr"}), px.p("cNvCxnSpPr"));
            if (beginChanged)
                setGlue(px, *cNvCxnSpPr, "stCxn", begin);
            if (endChanged)
                setGlue(px, *cNvCxnSpPr, "endCxn", end);
        }
    }

    QString out;
    writeXmlTree(*root, out);
    return out.toUtf8();
}

} // namespace zov::host::pptx

#undef ZOV_BEFORE_FILL
#undef ZOV_FILLS
