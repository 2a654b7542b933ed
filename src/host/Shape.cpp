#include "host/Shape.h"

#include "host/DocumentWindow.h"
#include "host/Slide.h"
#include "host/geometry/Geometry.h"
#include "host/geometry/Presets.h"
#include "host/geometry/TextFit.h"
#include "host/model/Lock.h"
#include "host/model/Paragraphs.h"
#include "host/model/Removal.h"
#include "host/model/Touch.h"

#include <algorithm>
#include <cmath>

namespace zov::host {

namespace {

ShapeData& textShape(const std::weak_ptr<ShapeData>& d, std::shared_ptr<ShapeData>& keep)
{
    keep = lockShape(d);
    if (!keep->hasTextFrame || keep->kind == ShapeKind::Connector)
        throw HostError("This shape has no text frame");
    return *keep;
}

ShapeData& connectorShape(const std::weak_ptr<ShapeData>& d, std::shared_ptr<ShapeData>& keep)
{
    keep = lockShape(d);
    if (keep->kind != ShapeKind::Connector)
        throw HostError("This member can only be used on a connector");
    return *keep;
}

// After a change that can alter the shape's size: re-fit it and let glued connectors follow.
void refit(ShapeData& s)
{
    fitShapeToText(s);
    followMovedShape(s);
}

// Moving or resizing a connector by its box: map both end points into the new box. Its ends
// no longer sit on their sites, so they come loose.
void reshapeConnector(ShapeData& c, double left, double top, double width, double height)
{
    const double oldLeft = c.left, oldTop = c.top, oldW = c.width, oldH = c.height;
    auto mapX = [&](double x, bool isEnd) { return oldW > 0 ? left + (x - oldLeft) * width / oldW : left + (isEnd ? width : 0); };
    auto mapY = [&](double y, bool isEnd) { return oldH > 0 ? top + (y - oldTop) * height / oldH : top + (isEnd ? height : 0); };
    const QPointF b(mapX(c.begin.x(), false), mapY(c.begin.y(), false));
    const QPointF e(mapX(c.end.x(), true), mapY(c.end.y(), true));
    c.begin = b;
    c.end = e;
    c.beginGlue = {};
    c.endGlue = {};
    syncConnectorBox(c);
}

void validateSite(const ShapeData& target, int site)
{
    if (target.kind == ShapeKind::Connector)
        throw HostError("A connector cannot be glued to another connector");
    if (site < 1 || site > connectionSiteCount(target))
        throw HostError("The connection site is out of range");
}

} // namespace

// --- colours, fill, line -------------------------------------------------------------------

std::int32_t ColorFormat::RGB() const
{
    const auto s = lockShape(d_);
    return static_cast<std::int32_t>(target_ == ColorTarget::Line ? s->lineRgb : s->fillRgb);
}

void ColorFormat::SetRGB(std::int32_t bgr)
{
    auto s = lockShape(d_);
    // Only the three colour bytes count; the high byte is not part of a colour.
    const auto value = static_cast<std::uint32_t>(bgr) & 0xFFFFFFu;
    (target_ == ColorTarget::Line ? s->lineRgb : s->fillRgb) = value;
    markChanged(*s);
}

void FillFormat::Solid()
{
    auto s = lockShape(d_);
    s->fillSolid = true;
    s->fillVisible = true;
    markChanged(*s);
}

bool FillFormat::Visible() const
{
    return lockShape(d_)->fillVisible;
}

void FillFormat::SetVisible(bool visible)
{
    auto s = lockShape(d_);
    s->fillVisible = visible;
    if (visible)
        s->fillSolid = true;
    markChanged(*s);
}

int LineFormat::EndArrowheadStyle() const
{
    return lockShape(d_)->endArrowhead;
}

void LineFormat::SetEndArrowheadStyle(int style)
{
    if (style < ArrowheadNone || style > ArrowheadOval)
        throw HostError("Invalid arrowhead style");
    auto s = lockShape(d_);
    s->endArrowhead = style;
    markChanged(*s);
}

int LineFormat::BeginArrowheadStyle() const
{
    return lockShape(d_)->beginArrowhead;
}

void LineFormat::SetBeginArrowheadStyle(int style)
{
    if (style < ArrowheadNone || style > ArrowheadOval)
        throw HostError("Invalid arrowhead style");
    auto s = lockShape(d_);
    s->beginArrowhead = style;
    markChanged(*s);
}

bool LineFormat::Visible() const
{
    return lockShape(d_)->lineVisible;
}

void LineFormat::SetVisible(bool visible)
{
    auto s = lockShape(d_);
    s->lineVisible = visible;
    markChanged(*s);
}

float LineFormat::Weight() const
{
    return lockShape(d_)->lineWeight;
}

void LineFormat::SetWeight(float points)
{
    if (!(points >= 0 && points <= 1584))
        throw HostError("The line weight is out of range (0 to 1584 points)");
    auto s = lockShape(d_);
    s->lineWeight = points;
    markChanged(*s);
}

// --- font and text ------------------------------------------------------------------------

QString FontFormat::Name() const
{
    std::shared_ptr<ShapeData> keep;
    return textShape(d_, keep).fontName;
}

void FontFormat::SetName(const QString& name)
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& s = textShape(d_, keep);
    if (name.trimmed().isEmpty())
        throw HostError("A font name cannot be empty");
    s.fontName = name;
    markChanged(s);
    refit(s);
}

float FontFormat::Size() const
{
    std::shared_ptr<ShapeData> keep;
    return textShape(d_, keep).fontSize;
}

void FontFormat::SetSize(float points)
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& s = textShape(d_, keep);
    if (!(points >= 1 && points <= 4000))
        throw HostError("The font size is out of range (1 to 4000 points)");
    s.fontSize = points;
    markChanged(s);
    refit(s);
}

QString TextRangeFormat::Text() const
{
    std::shared_ptr<ShapeData> keep;
    const QString all = textShape(d_, keep).text();
    if (length_ < 0)
        return all.mid(start_ - 1);
    return all.mid(start_ - 1, length_);
}

void TextRangeFormat::SetText(const QString& text)
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& s = textShape(d_, keep);
    QString all = s.text();
    const qsizetype from = std::min<qsizetype>(start_ - 1, all.size());
    const qsizetype count = length_ < 0 ? all.size() - from : std::min<qsizetype>(length_, all.size() - from);
    all.replace(from, count, text);
    s.paragraphs = splitParagraphs(all);
    markChanged(s);
    refit(s);
}

TextRangeFormat TextRangeFormat::Characters(int start, int length) const
{
    if (start < 1 || length < 0)
        throw HostError("Characters: start must be 1 or more and length 0 or more");
    std::shared_ptr<ShapeData> keep;
    textShape(d_, keep);
    int newLength = length;
    if (length_ >= 0) // stay inside this range
        newLength = std::max(0, std::min(length, length_ - (start - 1)));
    return TextRangeFormat(d_, start_ + start - 1, newLength);
}

void TextRangeFormat::Select()
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& s = textShape(d_, keep);
    PresentationData* presentation = s.slide ? s.slide->presentation : nullptr;
    if (!presentation)
        return;
    auto window = presentation->window.lock();
    if (!window)
        return;
    window->selectedShape = keep;
    window->selectionStart = start_;
    window->selectionLength = length_ >= 0 ? length_ : static_cast<int>(s.text().size()) - (start_ - 1);
}

int TextFrameFormat::AutoSize() const
{
    std::shared_ptr<ShapeData> keep;
    return textShape(d_, keep).autoSize;
}

void TextFrameFormat::SetAutoSize(int mode)
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& s = textShape(d_, keep);
    if (mode < AutoSizeNone || mode > AutoSizeTextToFitShape)
        throw HostError("Invalid auto-size mode");
    s.autoSize = mode;
    // Fitting the shape to its text measures each paragraph as one line, so the frame no longer
    // wraps: a file written from here says so, and other programs lay the text out the same way.
    if (mode == AutoSizeShapeToFitText)
        s.wordWrap = false;
    markChanged(s);
    refit(s);
}

bool TextFrameFormat::WordWrap() const
{
    std::shared_ptr<ShapeData> keep;
    return textShape(d_, keep).wordWrap;
}

void TextFrameFormat::SetWordWrap(bool wrap)
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& s = textShape(d_, keep);
    s.wordWrap = wrap;
    markChanged(s);
}

// --- connectors ---------------------------------------------------------------------------

void ConnectorFormatView::BeginConnect(const Shape& target, int site)
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& c = connectorShape(d_, keep);
    const auto t = target.lock();
    if (t->slide != c.slide)
        throw HostError("A connector can only be glued to a shape on its own slide");
    validateSite(*t, site);
    glueConnectorEnd(keep, true, t, site);
    updateGluedEnds(c);
    markChanged(c);
}

void ConnectorFormatView::EndConnect(const Shape& target, int site)
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& c = connectorShape(d_, keep);
    const auto t = target.lock();
    if (t->slide != c.slide)
        throw HostError("A connector can only be glued to a shape on its own slide");
    validateSite(*t, site);
    glueConnectorEnd(keep, false, t, site);
    updateGluedEnds(c);
    markChanged(c);
}

void ConnectorFormatView::BeginDisconnect()
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& c = connectorShape(d_, keep);
    c.beginGlue = {};
    markChanged(c);
}

void ConnectorFormatView::EndDisconnect()
{
    std::shared_ptr<ShapeData> keep;
    ShapeData& c = connectorShape(d_, keep);
    c.endGlue = {};
    markChanged(c);
}

bool ConnectorFormatView::BeginConnected() const
{
    std::shared_ptr<ShapeData> keep;
    return connectorShape(d_, keep).beginGlue.isGlued();
}

bool ConnectorFormatView::EndConnected() const
{
    std::shared_ptr<ShapeData> keep;
    return connectorShape(d_, keep).endGlue.isGlued();
}

Shape ConnectorFormatView::BeginConnectedShape() const
{
    std::shared_ptr<ShapeData> keep;
    const GlueEnd& end = connectorShape(d_, keep).beginGlue;
    if (!end.isGlued())
        throw HostError("The connector's begin end is not connected");
    return Shape(end.shape);
}

Shape ConnectorFormatView::EndConnectedShape() const
{
    std::shared_ptr<ShapeData> keep;
    const GlueEnd& end = connectorShape(d_, keep).endGlue;
    if (!end.isGlued())
        throw HostError("The connector's end is not connected");
    return Shape(end.shape);
}

int ConnectorFormatView::BeginConnectionSite() const
{
    std::shared_ptr<ShapeData> keep;
    const GlueEnd& end = connectorShape(d_, keep).beginGlue;
    if (!end.isGlued())
        throw HostError("The connector's begin end is not connected");
    return end.site;
}

int ConnectorFormatView::EndConnectionSite() const
{
    std::shared_ptr<ShapeData> keep;
    const GlueEnd& end = connectorShape(d_, keep).endGlue;
    if (!end.isGlued())
        throw HostError("The connector's end is not connected");
    return end.site;
}

Shape ConnectorFormatView::Parent() const
{
    std::shared_ptr<ShapeData> keep;
    connectorShape(d_, keep);
    return Shape(d_);
}

// --- shape --------------------------------------------------------------------------------

bool Shape::IsAlive() const
{
    const auto s = d_.lock();
    return s && s->slide && s->slide->presentation;
}

bool Shape::operator==(const Shape& other) const
{
    return d_.lock() == other.d_.lock();
}

ShapeData& Shape::data() const
{
    return *lockShape(d_);
}

std::shared_ptr<ShapeData> Shape::lock() const
{
    return lockShape(d_);
}

int Shape::AutoShapeType() const
{
    const auto s = lock();
    return s->kind == ShapeKind::Connector ? ShapeMixed : s->autoShapeType;
}

void Shape::SetAutoShapeType(int type)
{
    const auto s = lock();
    if (s->kind == ShapeKind::Connector)
        throw HostError("A connector's auto-shape type cannot be changed");
    const QString preset = presetForAutoShapeType(type);
    if (preset.isEmpty())
        throw HostError("Unsupported shape type " + std::to_string(type));
    if (s->kind == ShapeKind::Foreign)
        s->kind = ShapeKind::AutoShape;
    s->autoShapeType = type;
    s->preset = preset;
    markChanged(*s);
    refit(*s);
    followMovedShape(*s); // the sites moved even when the size did not
}

bool Shape::Connector() const
{
    return lock()->kind == ShapeKind::Connector;
}

QString Shape::Name() const
{
    return lock()->name;
}

void Shape::SetName(const QString& name)
{
    const auto s = lock();
    s->name = name;
    markChanged(*s);
}

float Shape::Left() const
{
    return lock()->left;
}

float Shape::Top() const
{
    return lock()->top;
}

float Shape::Width() const
{
    return lock()->width;
}

float Shape::Height() const
{
    return lock()->height;
}

void Shape::SetLeft(float v)
{
    const auto s = lock();
    if (s->kind == ShapeKind::Connector)
        reshapeConnector(*s, v, s->top, s->width, s->height);
    else
        s->left = onEmuGrid(v);
    markChanged(*s);
    followMovedShape(*s);
}

void Shape::SetTop(float v)
{
    const auto s = lock();
    if (s->kind == ShapeKind::Connector)
        reshapeConnector(*s, s->left, v, s->width, s->height);
    else
        s->top = onEmuGrid(v);
    markChanged(*s);
    followMovedShape(*s);
}

void Shape::SetWidth(float v)
{
    const auto s = lock();
    if (s->kind == ShapeKind::Connector)
        reshapeConnector(*s, s->left, s->top, v, s->height);
    else
        s->width = v;
    markChanged(*s);
    followMovedShape(*s);
}

void Shape::SetHeight(float v)
{
    const auto s = lock();
    if (s->kind == ShapeKind::Connector)
        reshapeConnector(*s, s->left, s->top, s->width, v);
    else
        s->height = v;
    markChanged(*s);
    followMovedShape(*s);
}

FillFormat Shape::Fill() const
{
    lock();
    return FillFormat(d_);
}

LineFormat Shape::Line() const
{
    lock();
    return LineFormat(d_);
}

TextFrameFormat Shape::TextFrame() const
{
    std::shared_ptr<ShapeData> keep;
    textShape(d_, keep);
    return TextFrameFormat(d_);
}

ConnectorFormatView Shape::ConnectorFormat() const
{
    std::shared_ptr<ShapeData> keep;
    connectorShape(d_, keep);
    return ConnectorFormatView(d_);
}

bool Shape::HasTextFrame() const
{
    const auto s = lock();
    return s->hasTextFrame && s->kind != ShapeKind::Connector;
}

int Shape::ConnectionSiteCount() const
{
    return connectionSiteCount(*lock());
}

QPointF Shape::ConnectionSitePoint(int site) const
{
    const auto s = lock();
    if (site < 1 || site > connectionSiteCount(*s))
        throw HostError("The connection site is out of range");
    return connectionSitePoint(*s, site);
}

void Shape::RerouteConnections()
{
    const auto s = lock();
    if (s->kind == ShapeKind::Connector) {
        rerouteConnector(*s);
        markChanged(*s);
        return;
    }
    // On a shape: every connector glued to it takes its nearest sites.
    for (const auto& c : connectorsGluedTo(*s)) {
        rerouteConnector(*c);
        markChanged(*c);
    }
}

void Shape::SetShapesDefaultProperties()
{
    const auto s = lock();
    PresentationData* presentation = s->slide->presentation;
    if (!presentation)
        return;
    auto defaults = std::make_shared<ShapeData>();
    defaults->fillVisible = s->fillVisible;
    defaults->fillSolid = s->fillSolid;
    defaults->fillRgb = s->fillRgb;
    defaults->lineVisible = s->lineVisible;
    defaults->lineRgb = s->lineRgb;
    defaults->lineWeight = s->lineWeight;
    defaults->fontName = s->fontName;
    defaults->fontSize = s->fontSize;
    presentation->shapeDefaults = std::move(defaults);
    markChanged(*presentation);
}

void Shape::Delete()
{
    removeShapes({lock()});
}

Slide Shape::Parent() const
{
    const auto s = lock();
    return Slide(sharedSlide(s->slide));
}

} // namespace zov::host
