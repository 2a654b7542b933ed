#include "app/desktop/SlideCanvas.h"

#include "platform/CursorPosition.h"

#include "app/desktop/ShapeDeletion.h"
#include "app/render/ShapeOutline.h"
#include "drawing/GraphEncoding.h"
#include "drawing/GraphTitle.h"
#include "host/HostError.h"
#include "host/Slide.h"
#include "host/geometry/Geometry.h"
#include "host/model/Touch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace zov::app {

using host::ShapeData;
using host::ShapeKind;

namespace {

constexpr double kMargin = 24;          // pixels of grey around the slide
constexpr double kMinZoom = 10, kMaxZoom = 800;
constexpr double kHandleSize = 7;       // pixels
constexpr double kMinShapeSize = 1;     // points
constexpr double kZoomSteps[] = {10, 25, 33, 50, 66, 75, 100, 125, 150, 200, 300, 400, 600, 800};

bool isConnector(const ShapeData& s) { return s.kind == ShapeKind::Connector; }

// Sets, not lists: a large selection asks about every shape of the slide.
bool gluedToAny(const ShapeData& connector, const std::unordered_set<const ShapeData*>& shapes)
{
    for (const host::GlueEnd* end : {&connector.beginGlue, &connector.endGlue}) {
        if (!end->isGlued())
            continue;
        const auto target = end->shape.lock();
        if (shapes.count(target.get()) != 0)
            return true;
    }
    return false;
}

// A connector glued at either end goes where its shapes go: moved by itself (pressed on where
// it crosses a node, or chosen with its nodes' neighbours) it would come loose and silently
// take an argument out of the graph. Only its ends, dragged onto a shape, reglue it.
bool gluedAtAnEnd(const ShapeData& connector)
{
    return connector.beginGlue.isGlued() || connector.endGlue.isGlued();
}

int nearestSite(const ShapeData& shape, QPointF point)
{
    int best = 1;
    double bestDistance = std::numeric_limits<double>::max();
    for (int site = 1; site <= host::connectionSiteCount(shape); ++site) {
        const double d = QLineF(host::connectionSitePoint(shape, site), point).length();
        if (d < bestDistance) {
            bestDistance = d;
            best = site;
        }
    }
    return best;
}

} // namespace

SlideCanvas::SlideCanvas(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setProperty(platform::SlideViewProperty, true);
    setFrameShape(QFrame::NoFrame);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

SlideCanvas::~SlideCanvas() = default;

void SlideCanvas::setDocument(host::DocumentWindow window, DocumentHistory* history)
{
    if (isEditingText())
        finishTextEdit(true);
    cancelDrag();
    window_ = std::move(window);
    history_ = history;
    slideLayer_ = QPixmap(); // another document: nothing painted for the last one is shown again
    selection_.clear();
    updateScrollBars();
    syncViewTransform();
    viewport()->update();
    Q_EMIT selectionChanged();
}

host::SlideData* SlideCanvas::slideInView() const
{
    if (window_.IsNothing())
        return nullptr;
    try {
        return &window_.View().Slide().data();
    } catch (const host::HostError&) {
        return nullptr; // a presentation without slides
    }
}

QSizeF SlideCanvas::pageSize() const
{
    if (window_.IsNothing())
        return {720, 540};
    const host::PresentationData& p = window_.Presentation().data();
    return {p.slideWidth, p.slideHeight};
}

double SlideCanvas::pixelsPerPoint() const
{
    return zoomPercent_ / 100.0 * logicalDpiX() / 72.0;
}

QRectF SlideCanvas::contentRect() const
{
    ContentKey key;
    if (!window_.IsNothing()) {
        key.document = &window_.Presentation().data();
        key.revision = window_.Presentation().data().revision;
    }
    key.slide = slideInView();
    key.page = pageSize();
    // While a drag lasts the slide stays where it was on the screen, however far the shapes go:
    // the content is measured again when the drag ends.
    if ((key == contentKey_ || (isDragging() && key.slide == contentKey_.slide)) && !content_.isNull())
        return content_;
    // Shapes count by their geometry: a shape lying on the page's edge (a graph's title label at
    // 0,0) whose outline or smoothing reaches a point past it gives no scroll bar, nor one that
    // lies past it by a fraction of a point (a title label as Impress writes it back).
    const QRectF page(QPointF(0, 0), pageSize());
    QRectF content = page;
    if (const host::SlideData* slide = slideInView())
        for (const auto& shape : slide->shapes)
            content = content.united(render::shapeBounds(*shape));
    if (page.adjusted(-1, -1, 1, 1).contains(content))
        content = page;
    content_ = content;
    contentKey_ = key;
    return content;
}

QPointF SlideCanvas::slideOrigin() const
{
    // The content (the page, and shapes beyond it) is centred when it fits the view, else placed
    // by the scroll bars, a margin around it.
    const double scale = pixelsPerPoint();
    const QRectF content = contentRect();
    const QSizeF size = content.size() * scale;
    const QSize view = viewport()->size();
    const double x = size.width() + 2 * kMargin <= view.width() ? (view.width() - size.width()) / 2
                                                                 : kMargin - horizontalScrollBar()->value();
    const double y = size.height() + 2 * kMargin <= view.height() ? (view.height() - size.height()) / 2
                                                                   : kMargin - verticalScrollBar()->value();
    return QPointF(x, y) - content.topLeft() * scale;
}

QPointF SlideCanvas::slideToViewport(QPointF points) const
{
    return slideOrigin() + points * pixelsPerPoint();
}

QPointF SlideCanvas::viewportToSlide(QPointF pixels) const
{
    return (pixels - slideOrigin()) / pixelsPerPoint();
}

void SlideCanvas::syncViewTransform()
{
    if (window_.IsNothing())
        return;
    const QPointF origin = viewport()->mapToGlobal(QPointF(0, 0)) + slideOrigin();
    window_.SetViewTransform(origin.x(), origin.y(), pixelsPerPoint());
}

void SlideCanvas::updateScrollBars()
{
    // Fitting measures the whole area the canvas has without scroll bars, and a fitted slide
    // needs none. Measured against the viewport instead, the zoom would follow the bars: a bar
    // shows, the fitted slide shrinks, the bar hides, the slide grows, and so on for ever.
    bool fitted = false;
    if (fit_) {
        const QSizeF page = pageSize();
        const QSize area = maximumViewportSize();
        if (page.width() > 0 && page.height() > 0 && area.width() > 2 * kMargin && area.height() > 2 * kMargin) {
            const double pxPerPercent = logicalDpiX() / 72.0 / 100.0;
            const double exact = std::min((area.width() - 2 * kMargin) / (page.width() * pxPerPercent),
                                          (area.height() - 2 * kMargin) / (page.height() * pxPerPercent));
            const double percent = std::clamp(exact, kMinZoom, kMaxZoom);
            fitted = exact >= kMinZoom;
            if (std::abs(percent - zoomPercent_) > 1e-9) {
                zoomPercent_ = percent;
                Q_EMIT zoomChanged(zoomPercent_);
            }
        }
    }
    // Otherwise the content has a fixed size: a bar that shows only makes the viewport smaller
    // and the ranges larger, so the bars settle after one step. Shapes beyond the page widen the
    // content, fitted or not, so that scrolling reaches them.
    const QRectF reach = contentRect();
    const bool pageOnly = reach == QRectF(QPointF(0, 0), pageSize());
    const QSizeF content = reach.size() * pixelsPerPoint() + QSizeF(2 * kMargin, 2 * kMargin);
    const QSize view = viewport()->size();
    const bool noBars = fitted && pageOnly;
    const int width = noBars ? 0 : std::max(0, static_cast<int>(std::ceil(content.width())) - view.width());
    const int height = noBars ? 0 : std::max(0, static_cast<int>(std::ceil(content.height())) - view.height());
    horizontalScrollBar()->setRange(0, width);
    verticalScrollBar()->setRange(0, height);
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
}

void SlideCanvas::applyZoom(double percent, QPointF anchor)
{
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    const QPointF anchorPoint = viewportToSlide(anchor);
    zoomPercent_ = percent;
    dropDragLayer();
    updateScrollBars();
    // Keep the slide point under the anchor where it was.
    const QPointF moved = slideToViewport(anchorPoint) - anchor;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + static_cast<int>(std::lround(moved.x())));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + static_cast<int>(std::lround(moved.y())));
    syncViewTransform();
    placeTextEditor();
    viewport()->update();
    Q_EMIT zoomChanged(zoomPercent_);
}

void SlideCanvas::setZoomPercent(double percent)
{
    fit_ = false;
    applyZoom(percent, QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
}

void SlideCanvas::setFitWindow(bool fit)
{
    fit_ = fit;
    updateScrollBars();
    syncViewTransform();
    placeTextEditor();
    viewport()->update();
    Q_EMIT zoomChanged(zoomPercent_);
}

void SlideCanvas::zoomIn()
{
    for (double step : kZoomSteps)
        if (step > zoomPercent_ + 0.5) {
            setZoomPercent(step);
            return;
        }
    setZoomPercent(kMaxZoom);
}

void SlideCanvas::zoomOut()
{
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
        if (*it < zoomPercent_ - 0.5) {
            setZoomPercent(*it);
            return;
        }
    setZoomPercent(kMinZoom);
}

// --- selection ----------------------------------------------------------------------------

bool SlideCanvas::isSelected(const ShapeData* shape) const
{
    return std::any_of(selection_.begin(), selection_.end(),
                       [&](const std::weak_ptr<ShapeData>& s) { return s.lock().get() == shape; });
}

void SlideCanvas::pruneSelection()
{
    const host::SlideData* slide = slideInView();
    const auto before = selection_.size();
    selection_.erase(std::remove_if(selection_.begin(), selection_.end(),
                                    [&](const std::weak_ptr<ShapeData>& w) {
                                        const auto s = w.lock();
                                        return !s || !s->slide || s->slide != slide;
                                    }),
                     selection_.end());
    if (selection_.size() != before)
        Q_EMIT selectionChanged();
}

std::vector<host::Shape> SlideCanvas::selection() const
{
    std::vector<host::Shape> result;
    for (const auto& w : selection_) {
        const auto s = w.lock();
        if (s && s->slide)
            result.emplace_back(s);
    }
    return result;
}

void SlideCanvas::setSelection(const std::vector<host::Shape>& shapes)
{
    selection_.clear();
    for (const host::Shape& s : shapes)
        if (!s.IsNothing())
            selection_.push_back(s.lock());
    pruneSelection();
    viewport()->update();
    Q_EMIT selectionChanged();
}

void SlideCanvas::selectAll()
{
    selection_.clear();
    if (host::SlideData* slide = slideInView())
        for (const auto& s : slide->shapes)
            selection_.push_back(s);
    viewport()->update();
    Q_EMIT selectionChanged();
}

void SlideCanvas::clearSelection()
{
    if (selection_.empty())
        return;
    selection_.clear();
    noteKeyboardPlace(); // nothing chosen: the commands act in the middle of the view again
    viewport()->update();
    Q_EMIT selectionChanged();
}

void SlideCanvas::deleteSelection()
{
    const auto shapes = selection();
    if (shapes.empty())
        return;
    DeleteWithGluedConnectors(shapes); // arcs glued to a deleted node go with it
    selection_.clear();
    commitChange();
    Q_EMIT selectionChanged();
}

void SlideCanvas::nudgeSelection(QPointF delta)
{
    bool changed = false;
    for (host::Shape s : selection()) {
        if (s.Connector() && gluedAtAnEnd(s.data()))
            continue;
        s.SetLeft(s.Left() + static_cast<float>(delta.x()));
        s.SetTop(s.Top() + static_cast<float>(delta.y()));
        changed = true;
    }
    noteKeyboardPlace();
    if (changed)
        commitChange();
}

void SlideCanvas::commitChange()
{
    if (history_) {
        history_->setPaused(false);
        history_->record();
    }
    viewport()->update();
    Q_EMIT documentChanged();
}

// While the keyboard chose last, a node that a palette command has just added where the chosen
// shape was becomes the chosen one, so that the arrow keys move it off the shape under it.
void SlideCanvas::chooseNodeAddedByKeyboard()
{
    const host::SlideData* slide = slideInView();
    const std::size_t count = slide != nullptr ? slide->shapes.size() : 0;
    const bool oneMore = slide != nullptr && slide == countedSlide_ && count == countedShapes_ + 1;
    countedSlide_ = slide;
    countedShapes_ = count;
    if (!oneMore || !viewport()->property(platform::ChosenByKeyProperty).toBool())
        return;
    const auto& added = slide->shapes.back();
    if (added->kind == ShapeKind::Connector)
        return;
    selection_ = {added};
    Q_EMIT selectionChanged();
}

// While the keyboard chose last, the place the palette's commands act is the middle of the shape
// chosen, wherever it has moved since; with no shape chosen on the slide in view (another slide
// shown, the shape deleted) that place is forgotten, so the commands act in the middle of the view.
void SlideCanvas::noteKeyboardPlace()
{
    if (!viewport()->property(platform::ChosenByKeyProperty).toBool())
        return;
    const auto chosen = selection();
    if (chosen.size() != 1) {
        viewport()->setProperty(platform::LastPointerProperty, QVariant());
        viewport()->setProperty(platform::ChosenByKeyProperty, false);
        return;
    }
    const host::ShapeData& shape = chosen.front().data();
    const QPointF middle = shape.kind == ShapeKind::Connector
        ? (shape.begin + shape.end) / 2
        : QPointF(shape.left + shape.width / 2.0, shape.top + shape.height / 2.0);
    viewport()->setProperty(platform::LastPointerProperty, middle);
}

void SlideCanvas::refresh()
{
    pruneSelection();
    chooseNodeAddedByKeyboard();
    noteKeyboardPlace();
    if (isEditingText()) {
        const auto edited = editedShape_.lock();
        if (!edited || !edited->slide || edited->slide != slideInView())
            finishTextEdit(false);
        else
            placeTextEditor();
    }
    updateScrollBars();
    syncViewTransform();
    viewport()->update();
}

// --- hit testing --------------------------------------------------------------------------

host::Shape SlideCanvas::shapeAt(QPoint viewportPixel) const
{
    if (window_.IsNothing())
        return {};
    const_cast<SlideCanvas*>(this)->syncViewTransform();
    const QPoint global = viewport()->mapToGlobal(viewportPixel);
    return window_.RangeFromPoint(global.x(), global.y());
}

std::vector<QPointF> SlideCanvas::handlePoints(const ShapeData& shape) const
{
    if (isConnector(shape))
        return {slideToViewport(shape.begin), slideToViewport(shape.end)};
    const QRectF box(slideToViewport(QPointF(shape.left, shape.top)),
                     slideToViewport(QPointF(shape.left + shape.width, shape.top + shape.height)));
    const QPointF c = box.center();
    return {box.topLeft(), {c.x(), box.top()}, box.topRight(), {box.right(), c.y()},
            box.bottomRight(), {c.x(), box.bottom()}, box.bottomLeft(), {box.left(), c.y()}};
}

bool SlideCanvas::handleAt(QPoint viewportPixel, host::Shape& shape, int& handle) const
{
    const auto shapes = selection();
    // Resizing works on one shape at a time; connector ends whenever one connector is chosen.
    if (shapes.size() != 1)
        return false;
    const ShapeData& chosen = shapes.front().data();
    const auto points = handlePoints(chosen);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (std::abs(points[i].x() - viewportPixel.x()) <= kHandleSize / 2 + 1 &&
            std::abs(points[i].y() - viewportPixel.y()) <= kHandleSize / 2 + 1) {
            shape = shapes.front();
            handle = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

// --- painting -----------------------------------------------------------------------------

void SlideCanvas::paintSlideLayer(QPainter& painter, const std::unordered_set<const ShapeData*>& skip)
{
    painter.fillRect(viewport()->rect(), QColor(0xE3, 0xE5, 0xE8));
    if (window_.IsNothing())
        return;
    if (window_.Presentation().Slides().Count() == 0) {
        // No page to draw on: say how to get one instead of showing a page nothing can be put on.
        painter.setPen(QColor(0x55, 0x5A, 0x60));
        painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         tr("The presentation has no slides.\nSlide > New Slide (Ctrl+M) adds one."));
        return;
    }
    const double scale = pixelsPerPoint();
    const QPointF origin = slideOrigin();
    const QRectF page(origin, pageSize() * scale);
    painter.fillRect(page.translated(3, 3), QColor(0, 0, 0, 40)); // shadow
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    painter.fillRect(QRectF(QPointF(0, 0), pageSize()), Qt::white);
    if (const host::SlideData* slide = slideInView()) {
        const QRect pixels = viewport()->rect();
        const QRectF exposed(viewportToSlide(pixels.topLeft()), viewportToSlide(QPointF(pixels.right() + 1, pixels.bottom() + 1)));
        if (skip.empty()) {
            painter_.paintShapes(painter, *slide, exposed);
            painter.restore();
            return;
        }
        for (const auto& shape : slide->shapes) {
            if (!exposed.intersects(render::paintBounds(*shape)))
                continue;
            if (skip.count(shape.get()) != 0)
                continue;
            painter_.paintShape(painter, *shape);
        }
    }
    painter.restore();
}

void SlideCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    if (!dragLayer_.isNull() && isDragging()) {
        painter.drawPixmap(0, 0, dragLayer_);
        painter.save();
        painter.translate(slideOrigin());
        painter.scale(pixelsPerPoint(), pixelsPerPoint());
        for (const auto& weak : dragShapes_)
            if (const auto s = weak.lock(); s && s->slide)
                painter_.paintShape(painter, *s);
        painter.restore();
    } else {
        const LayerKey key = currentLayerKey();
        if (slideLayer_.isNull() || !(key == layerKey_)) {
            slideLayer_ = QPixmap(viewport()->size() * key.ratio);
            slideLayer_.setDevicePixelRatio(key.ratio);
            QPainter layer(&slideLayer_);
            paintSlideLayer(layer, {});
            layerKey_ = key;
        }
        painter.drawPixmap(0, 0, slideLayer_); // clipped to the region the event repaints
    }
    paintSelection(painter);
}

// What the slide layer shows depends on: every change of the document moves its revision on
// (undo and redo included), and the slide, zoom, scroll position and size of the view.
SlideCanvas::LayerKey SlideCanvas::currentLayerKey() const
{
    LayerKey key;
    if (!window_.IsNothing())
        key.revision = window_.Presentation().data().revision;
    key.slide = slideInView();
    key.origin = slideOrigin();
    key.scale = pixelsPerPoint();
    key.size = viewport()->size();
    key.ratio = viewport()->devicePixelRatioF();
    return key;
}

void SlideCanvas::prepareDragLayer()
{
    dragShapes_.clear();
    const host::SlideData* slide = slideInView();
    if (!slide)
        return;
    std::unordered_set<const ShapeData*> moving;
    for (const Start& start : drag_.starts)
        if (const auto s = start.shape.lock())
            moving.insert(s.get());
    std::unordered_set<const ShapeData*> dynamic;
    for (const auto& shape : slide->shapes) {
        const bool dragged = moving.count(shape.get()) != 0;
        if (dragged || (isConnector(*shape) && gluedToAny(*shape, moving))) {
            dynamic.insert(shape.get());
            dragShapes_.push_back(shape);
        }
    }
    const qreal ratio = viewport()->devicePixelRatioF();
    dragLayer_ = QPixmap(viewport()->size() * ratio);
    dragLayer_.setDevicePixelRatio(ratio);
    QPainter painter(&dragLayer_);
    paintSlideLayer(painter, dynamic);
}

void SlideCanvas::dropDragLayer()
{
    dragLayer_ = QPixmap();
    dragShapes_.clear();
}

void SlideCanvas::paintSelection(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor accent(0x1F, 0x6F, 0xD0);
    for (const host::Shape& shape : selection()) {
        const ShapeData& s = shape.data();
        const auto points = handlePoints(s);
        if (isConnector(s)) {
            // A band along the arc, wider than the arc itself, so that a selected arc stands out
            // from the others however thin it is.
            QColor band = accent;
            band.setAlpha(90);
            painter.setPen(QPen(band, 5, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(points[0], points[1]);
            painter.setPen(QPen(accent, 1, Qt::DashLine));
            painter.drawLine(points[0], points[1]);
            const host::GlueEnd* ends[2] = {&s.beginGlue, &s.endGlue};
            for (int i = 0; i < 2; ++i) {
                const QRectF r(points[static_cast<std::size_t>(i)] - QPointF(kHandleSize / 2, kHandleSize / 2), QSizeF(kHandleSize, kHandleSize));
                painter.setPen(QPen(accent, 1));
                // A glued end is filled; a loose one is hollow.
                painter.setBrush(ends[i]->isGlued() ? QBrush(QColor(0xC0, 0x20, 0x20)) : QBrush(Qt::white));
                painter.drawEllipse(r);
            }
            continue;
        }
        painter.setPen(QPen(accent, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(points[0], points[4]));
        painter.setPen(QPen(accent, 1));
        painter.setBrush(Qt::white);
        for (const QPointF& p : points)
            painter.drawRect(QRectF(p - QPointF(kHandleSize / 2, kHandleSize / 2), QSizeF(kHandleSize, kHandleSize)));
    }
}

// --- geometry events ----------------------------------------------------------------------

void SlideCanvas::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!dragLayer_.isNull())
        prepareDragLayer();
    updateScrollBars();
    syncViewTransform();
    placeTextEditor();
}

void SlideCanvas::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    if (!dragLayer_.isNull())
        prepareDragLayer();
    syncViewTransform();
    placeTextEditor();
    viewport()->update();
}

void SlideCanvas::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    // The slide's place on the screen also changes when the top-level window moves.
    if (trackedWindow_ != window()) {
        if (trackedWindow_)
            trackedWindow_->removeEventFilter(this);
        trackedWindow_ = window();
        trackedWindow_->installEventFilter(this);
    }
    updateScrollBars();
    syncViewTransform();
}

bool SlideCanvas::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == trackedWindow_ && (event->type() == QEvent::Move || event->type() == QEvent::Show))
        syncViewTransform();
    if (editor_ && watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                finishTextEdit(false);
                return true;
            }
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier)) {
                finishTextEdit(true);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                finishTextEdit(true);
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void SlideCanvas::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const double steps = event->angleDelta().y() / 120.0;
        if (steps != 0) {
            fit_ = false;
            applyZoom(zoomPercent_ * std::pow(1.1, steps), event->position());
        }
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

// --- mouse --------------------------------------------------------------------------------

void SlideCanvas::beginDrag(DragKind kind, QMouseEvent* event)
{
    drag_ = Drag{};
    drag_.kind = kind;
    drag_.pressPixel = event->position().toPoint();
    drag_.pressPoint = viewportToSlide(event->position());
    for (host::Shape s : selection()) {
        const ShapeData& d = s.data();
        drag_.starts.push_back({s.lock(), QRectF(d.left, d.top, d.width, d.height)});
    }
}

void SlideCanvas::mousePressEvent(QMouseEvent* event)
{
    if (isEditingText())
        finishTextEdit(true);
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || window_.IsNothing() || !slideInView()) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint pixel = event->position().toPoint();
    host::Shape handleShape;
    int handle = -1;
    if (handleAt(pixel, handleShape, handle)) {
        beginDrag(handleShape.Connector() ? DragKind::ConnectorEnd : DragKind::Resize, event);
        drag_.handle = handle;
        return;
    }
    const host::Shape hit = shapeAt(pixel);
    const bool extend = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (hit.IsNothing()) {
        if (!extend)
            clearSelection();
        beginDrag(DragKind::RubberBand, event);
        return;
    }
    const ShapeData* hitData = &hit.data();
    if (extend && isSelected(hitData)) {
        selection_.erase(std::remove_if(selection_.begin(), selection_.end(),
                                        [&](const std::weak_ptr<ShapeData>& w) { return w.lock().get() == hitData; }),
                         selection_.end());
        viewport()->update();
        Q_EMIT selectionChanged();
        return;
    }
    if (!isSelected(hitData)) {
        if (!extend)
            selection_.clear();
        selection_.push_back(hit.lock());
        viewport()->update();
        Q_EMIT selectionChanged();
    }
    beginDrag(DragKind::Pending, event);
}

void SlideCanvas::mouseMoveEvent(QMouseEvent* event)
{
    // Where the palette's commands act once the pointer has gone over to the palette.
    viewport()->setProperty(platform::LastPointerProperty, viewportToSlide(event->position()));
    viewport()->setProperty(platform::ChosenByKeyProperty, false);
    if (drag_.kind == DragKind::None) {
        // Show what a press would do.
        host::Shape s;
        int handle = -1;
        const QPoint pixel = event->position().toPoint();
        if (handleAt(pixel, s, handle)) {
            if (s.Connector())
                viewport()->setCursor(Qt::CrossCursor);
            else
                viewport()->setCursor(handle == 1 || handle == 5 ? Qt::SizeVerCursor
                                      : handle == 3 || handle == 7 ? Qt::SizeHorCursor
                                      : handle == 0 || handle == 4 ? Qt::SizeFDiagCursor
                                                                   : Qt::SizeBDiagCursor);
        } else {
            viewport()->setCursor(shapeAt(pixel).IsNothing() ? Qt::ArrowCursor : Qt::SizeAllCursor);
        }
        return;
    }
    const QPointF point = viewportToSlide(event->position());
    const QPointF delta = point - drag_.pressPoint;
    switch (drag_.kind) {
    case DragKind::Pending:
        if ((event->position().toPoint() - drag_.pressPixel).manhattanLength() < QApplication::startDragDistance())
            return;
        drag_.kind = DragKind::Move;
        if (history_)
            history_->setPaused(true);
        prepareDragLayer();
        [[fallthrough]];
    case DragKind::Move:
        dragMove(delta);
        break;
    case DragKind::Resize:
        if (history_)
            history_->setPaused(true);
        if (dragLayer_.isNull())
            prepareDragLayer();
        dragResize(delta);
        break;
    case DragKind::ConnectorEnd:
        if (history_)
            history_->setPaused(true);
        if (dragLayer_.isNull())
            prepareDragLayer();
        dragConnectorEnd(point);
        break;
    case DragKind::RubberBand: {
        if (!rubberBand_)
            rubberBand_ = new QRubberBand(QRubberBand::Rectangle, viewport());
        rubberBand_->setGeometry(QRect(drag_.pressPixel, event->position().toPoint()).normalized());
        rubberBand_->show();
        return; // the band is a widget of its own: the slide needs no repaint
    }
    case DragKind::None:
        break;
    }
    viewport()->update();
}

void SlideCanvas::dragMove(QPointF delta)
{
    for (const Start& start : drag_.starts) {
        const auto s = start.shape.lock();
        if (!s || !s->slide)
            continue;
        if (isConnector(*s) && gluedAtAnEnd(*s))
            continue;
        host::Shape shape(s);
        shape.SetLeft(static_cast<float>(start.box.left() + delta.x()));
        shape.SetTop(static_cast<float>(start.box.top() + delta.y()));
        drag_.changed = true;
    }
}

void SlideCanvas::dragResize(QPointF delta)
{
    if (drag_.starts.empty())
        return;
    const Start& start = drag_.starts.front();
    const auto s = start.shape.lock();
    if (!s || !s->slide)
        return;
    double left = start.box.left(), top = start.box.top(), right = start.box.right(), bottom = start.box.bottom();
    const int h = drag_.handle;
    if (h == 0 || h == 6 || h == 7)
        left += delta.x();
    if (h == 2 || h == 3 || h == 4)
        right += delta.x();
    if (h == 0 || h == 1 || h == 2)
        top += delta.y();
    if (h == 4 || h == 5 || h == 6)
        bottom += delta.y();
    const QRectF box = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    host::Shape shape(s);
    shape.SetLeft(static_cast<float>(box.left()));
    shape.SetTop(static_cast<float>(box.top()));
    shape.SetWidth(static_cast<float>(std::max(kMinShapeSize, box.width())));
    shape.SetHeight(static_cast<float>(std::max(kMinShapeSize, box.height())));
    drag_.changed = true;
}

void SlideCanvas::dragConnectorEnd(QPointF point)
{
    if (drag_.starts.empty())
        return;
    const auto s = drag_.starts.front().shape.lock();
    if (!s || !s->slide || !isConnector(*s))
        return;
    // The dragged end leaves its shape and follows the pointer.
    if (drag_.handle == 0) {
        s->beginGlue = {};
        s->begin = point;
    } else {
        s->endGlue = {};
        s->end = point;
    }
    host::syncConnectorBox(*s);
    host::markChanged(*s);
    drag_.changed = true;
}

void SlideCanvas::finishConnectorEnd(QPoint pixel)
{
    if (drag_.starts.empty())
        return;
    const auto s = drag_.starts.front().shape.lock();
    if (!s || !s->slide)
        return;
    // Glue the end to the nearest site of the shape under the pointer, if there is one.
    host::Shape connector(s);
    const QPointF point = viewportToSlide(pixel);
    host::Shape target;
    const host::SlideData* slide = s->slide;
    for (auto it = slide->shapes.rbegin(); it != slide->shapes.rend(); ++it) {
        const ShapeData& candidate = **it;
        if (isConnector(candidate) || host::connectionSiteCount(candidate) == 0)
            continue;
        if (host::containsPoint(candidate, point, 3.0 / pixelsPerPoint())) {
            target = host::Shape(*it);
            break;
        }
    }
    if (target.IsNothing())
        return;
    const int site = nearestSite(target.data(), point);
    if (drag_.handle == 0)
        connector.ConnectorFormat().BeginConnect(target, site);
    else
        connector.ConnectorFormat().EndConnect(target, site);
}

void SlideCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || drag_.kind == DragKind::None) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const Drag drag = drag_;
    dropDragLayer();
    if (drag.kind == DragKind::RubberBand) {
        if (rubberBand_)
            rubberBand_->hide();
        const QRectF band(viewportToSlide(drag.pressPixel), viewportToSlide(event->position()));
        drag_ = Drag{};
        if (band.normalized().width() > 0 || band.normalized().height() > 0) {
            const QRectF area = band.normalized();
            if (host::SlideData* slide = slideInView()) {
                // A set of what is selected already: asking the selection shape by shape would
                // take time in the square of the shapes a large band takes in.
                std::unordered_set<const ShapeData*> selected;
                for (const auto& s : selection_)
                    if (const auto shape = s.lock())
                        selected.insert(shape.get());
                for (const auto& s : slide->shapes) {
                    // An arc is inside when both its ends are: a level or upright arc has a box
                    // without height or width, which no rectangle "contains".
                    const bool inside = isConnector(*s)
                        ? area.contains(s->begin) && area.contains(s->end)
                        : area.contains(QRectF(s->left, s->top, s->width, s->height));
                    if (inside && selected.insert(s.get()).second)
                        selection_.push_back(s);
                }
            }
            Q_EMIT selectionChanged();
        }
        viewport()->update();
        return;
    }
    if (drag.kind == DragKind::ConnectorEnd && drag.changed) {
        drag_ = drag;
        finishConnectorEnd(event->position().toPoint());
    }
    drag_ = Drag{};
    if (drag.changed)
        commitChange();
    else if (history_)
        history_->setPaused(false);
}

void SlideCanvas::cancelDrag()
{
    if (drag_.kind == DragKind::None)
        return;
    const bool changed = drag_.changed;
    drag_ = Drag{};
    dropDragLayer();
    if (rubberBand_)
        rubberBand_->hide();
    if (history_) {
        history_->setPaused(false);
        if (changed)
            history_->revert();
    }
    pruneSelection();
    viewport()->update();
    if (changed)
        Q_EMIT documentChanged();
}

void SlideCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const host::Shape hit = shapeAt(event->position().toPoint());
    if (!hit.IsNothing() && hit.HasTextFrame())
        editText(hit);
}

// --- keyboard -----------------------------------------------------------------------------

void SlideCanvas::keyPressEvent(QKeyEvent* event)
{
    const double step = event->modifiers() & Qt::ControlModifier ? 1.0 : 6.0; // points
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        deleteSelection();
        return;
    case Qt::Key_Escape:
        if (isDragging())
            cancelDrag();
        else
            clearSelection();
        return;
    case Qt::Key_F2: {
        const auto shapes = selection();
        if (shapes.size() == 1 && shapes.front().HasTextFrame())
            editText(shapes.front());
        return;
    }
    case Qt::Key_Left:
        nudgeSelection({-step, 0});
        return;
    case Qt::Key_Right:
        nudgeSelection({step, 0});
        return;
    case Qt::Key_Up:
        nudgeSelection({0, -step});
        return;
    case Qt::Key_Down:
        nudgeSelection({0, step});
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

bool SlideCanvas::focusNextPrevChild(bool next)
{
    if (!isEditingText() && hasFocus() && selectNextShape(next))
        return true;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool SlideCanvas::selectNextShape(bool forward)
{
    host::SlideData* slide = slideInView();
    if (slide == nullptr || slide->shapes.empty())
        return false;
    const auto count = static_cast<std::ptrdiff_t>(slide->shapes.size());
    std::ptrdiff_t at = -1;
    if (selection_.size() == 1)
        if (const auto found = std::find(slide->shapes.begin(), slide->shapes.end(), selection_.front().lock());
            found != slide->shapes.end())
            at = found - slide->shapes.begin();
    at = forward ? (at + 1) % count : (at <= 0 ? count - 1 : at - 1);
    selection_ = {slide->shapes[static_cast<std::size_t>(at)]};
    // Without a mouse the palette's commands (Link, Edit, Jump) act on the shape chosen here.
    viewport()->setProperty(platform::ChosenByKeyProperty, true);
    noteKeyboardPlace();
    viewport()->update();
    Q_EMIT selectionChanged();
    return true;
}

// --- text editing -------------------------------------------------------------------------

bool SlideCanvas::isEditingText() const
{
    return editor_ != nullptr;
}

QTextEdit* SlideCanvas::textEditor() const
{
    return editor_;
}

void SlideCanvas::editText(const host::Shape& shape)
{
    if (isEditingText())
        finishTextEdit(true);
    if (shape.IsNothing() || !shape.HasTextFrame())
        return;
    editedShape_ = shape.lock();
    selection_ = {shape.lock()};
    Q_EMIT selectionChanged();
    editor_ = new QTextEdit(viewport());
    editor_->setAcceptRichText(false);
    editor_->setFrameShape(QFrame::Box);
    editor_->setLineWrapMode(QTextEdit::NoWrap);
    // It grows with its text: no scroll bars to eat the room.
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor_->setPlainText(shape.TextFrame().TextRange().Text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\v', u'\n'));
    if (shape.data().kind == ShapeKind::AutoShape) {
        QTextOption option = editor_->document()->defaultTextOption();
        option.setAlignment(Qt::AlignHCenter);
        editor_->document()->setDefaultTextOption(option);
        editor_->setPlainText(editor_->toPlainText()); // re-lay out with the centred option
    }
    editor_->selectAll();
    editor_->installEventFilter(this);
    connect(editor_, &QTextEdit::textChanged, this, &SlideCanvas::placeTextEditor);
    placeTextEditor();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
}

void SlideCanvas::placeTextEditor()
{
    if (!editor_)
        return;
    const auto s = editedShape_.lock();
    if (!s || !s->slide)
        return;
    const double scale = pixelsPerPoint();
    QFont font(s->fontName);
    font.setPointSizeF(std::max(1.0, s->fontSize * scale * 72.0 / logicalDpiY()));
    editor_->setFont(font);
    const QFontMetricsF metrics(font, editor_);
    const int lines = std::max(1, static_cast<int>(editor_->document()->blockCount()));
    QRectF box(slideToViewport(QPointF(s->left, s->top)), QSizeF(s->width, s->height) * scale);
    // Room for the text as it grows while typing.
    const double wanted = lines * metrics.lineSpacing() + 12;
    if (box.height() < wanted)
        box.setHeight(wanted);
    // As wide as its longest line, growing on both sides of the shape's middle.
    double widest = 0;
    for (const QString& line : editor_->toPlainText().split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const double width = std::max({box.width(), widest + 24, 80.0});
    box.adjust(-(width - box.width()) / 2, 0, (width - box.width()) / 2, 0);
    editor_->setGeometry(box.toAlignedRect());
}

void SlideCanvas::finishTextEdit(bool commit)
{
    if (!editor_)
        return;
    QTextEdit* editor = editor_;
    editor_ = nullptr; // before anything that may move the focus and call back here
    editor->removeEventFilter(this);
    const QString text = editor->toPlainText();
    editor->hide();
    editor->deleteLater();
    const auto s = editedShape_.lock();
    editedShape_.reset();
    setFocus(Qt::OtherFocusReason);
    if (!commit || !s || !s->slide)
        return;
    host::Shape shape(s);
    const QString before = shape.TextFrame().TextRange().Text();
    QString after = text;
    after.replace(u'\n', QStringLiteral("\r\n"));
    if (after == before)
        return;
    QString refusal;
    if (shape.AutoShapeType() == drawing::TitleLabelShapeType)
        after = renameGraphFromTitle(shape, after, refusal);
    shape.TextFrame().TextRange().SetText(after);
    commitChange();
    if (!refusal.isEmpty())
        Q_EMIT refusedEdit(refusal); // once the edit is done: the message box runs events
}

// A graph's name is its slide's: a title label edited to "NAME is TYPE" with a new NAME renames
// the slide and the label's own name, as the palette's Edit command does. A name the host
// refuses (another slide's) is told, and the title keeps the slide's name.
QString SlideCanvas::renameGraphFromTitle(host::Shape title, const QString& text, QString& refusal)
{
    const std::optional<QString> name = drawing::GraphNameInTitle(text, title.Parent().Name());
    if (!name)
        return text;
    try {
        drawing::NameGraphSlide(title, *name);
        return text;
    } catch (const host::HostError& refused) {
        refusal = QString::fromUtf8(refused.what());
        return title.Parent().Name() + text.mid(name->size());
    }
}

} // namespace zov::app
