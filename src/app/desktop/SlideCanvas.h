#pragma once
// The slide canvas: shows the slide in view of one document window, lets the user select,
// move, resize, delete and edit the text of shapes, drag connector ends onto shapes, and zoom.
//
// The canvas keeps the document window's view transform (the screen pixel of the slide's
// top-left corner and the pixels per point) in step with what it shows, so that the window's
// PointsToScreenPixelsX/Y and RangeFromPoint agree with the screen.
//
// Every change goes through the object model; when one is complete the canvas records it in
// the document's history and emits documentChanged().
#include "app/document/DocumentHistory.h"
#include "app/render/SlidePainter.h"
#include "host/DocumentWindow.h"

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

class QRubberBand;
class QTextEdit;

namespace zov::app {

class SlideCanvas : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit SlideCanvas(QWidget* parent = nullptr);
    ~SlideCanvas() override;

    // The window whose slide is shown and the history that records the canvas's changes.
    // An empty window shows nothing.
    void setDocument(host::DocumentWindow window, DocumentHistory* history);
    const host::DocumentWindow& documentWindow() const { return window_; }

    // Zoom: 100 % shows a slide point as 1/72 inch. Fitting follows the canvas's size.
    double zoomPercent() const { return zoomPercent_; }
    void setZoomPercent(double percent);
    bool fitsWindow() const { return fit_; }
    void setFitWindow(bool fit);
    void zoomIn();
    void zoomOut();
    double pixelsPerPoint() const;

    // Slide points <-> viewport pixels.
    QPointF slideToViewport(QPointF points) const;
    QPointF viewportToSlide(QPointF pixels) const;
    // Pushes the present screen position and zoom of the slide to the document window.
    void syncViewTransform();

    // Selection of shapes on the slide in view.
    std::vector<host::Shape> selection() const;
    void setSelection(const std::vector<host::Shape>& shapes);
    void selectAll();
    void clearSelection();
    void deleteSelection();
    // Moves the selected shapes by a distance in points (the arrow keys).
    void nudgeSelection(QPointF points);

    // In-place text editing of a shape with a text frame.
    void editText(const host::Shape& shape);
    bool isEditingText() const;
    // Ends the edit; the text goes to the shape unless `commit` is false.
    void finishTextEdit(bool commit);
    // The editor widget while editing (tests type into it).
    QTextEdit* textEditor() const;

    // True while the mouse is moving or resizing shapes (the history is paused then).
    bool isDragging() const { return drag_.kind != DragKind::None; }

    // The document changed without the canvas (add-in, undo, slide change): repaint, drop
    // selected shapes that are gone, and re-measure.
    void refresh();

Q_SIGNALS:
    void documentChanged();
    // An edit was refused by the document in part (a title naming another slide's graph): the
    // host's reason, for the user.
    void refusedEdit(const QString& reason);
    void selectionChanged();
    void zoomChanged(double percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab step through the shapes of the slide, as in presentation programs, so
    // that a shape can be chosen without the mouse; on a slide without shapes they move the
    // keyboard focus on as usual (F6 always does).
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The text a title label edited to `text` keeps; `refusal` gets the host's reason when it
    // refuses the new name.
    QString renameGraphFromTitle(host::Shape title, const QString& text, QString& refusal);
    enum class DragKind { None, Pending, Move, Resize, ConnectorEnd, RubberBand };
    struct Start {
        std::weak_ptr<host::ShapeData> shape;
        QRectF box; // left, top, width, height at the start
    };
    struct Drag {
        DragKind kind = DragKind::None;
        QPoint pressPixel;      // viewport
        QPointF pressPoint;     // slide points
        int handle = -1;        // resize: 0..7 clockwise from top-left; connector: 0 begin, 1 end
        std::vector<Start> starts;
        bool changed = false;
    };

    host::SlideData* slideInView() const;
    // Selects the shape after (or before) the one selected alone, in the slide's order,
    // wrapping round; false when the slide has no shape.
    bool selectNextShape(bool forward);
    QSizeF pageSize() const;
    QPointF slideOrigin() const; // viewport pixel of the slide's top-left corner
    // The page and every shape of the slide in view, in slide points: what scrolling reaches (a
    // shape may lie partly or wholly off the page).
    QRectF contentRect() const;
    void updateScrollBars();
    void applyZoom(double percent, QPointF anchorViewport);
    void commitChange();
    void pruneSelection();
    void noteKeyboardPlace(); // the middle of the shape chosen with Tab, for the palette's commands
    void chooseNodeAddedByKeyboard();
    bool isSelected(const host::ShapeData* shape) const;
    host::Shape shapeAt(QPoint viewportPixel) const;
    // A handle of a selected shape under the pixel: the shape and the handle's number.
    bool handleAt(QPoint viewportPixel, host::Shape& shape, int& handle) const;
    std::vector<QPointF> handlePoints(const host::ShapeData& shape) const; // viewport pixels
    void beginDrag(DragKind kind, QMouseEvent* event);
    void dragMove(QPointF deltaPoints);
    void dragResize(QPointF deltaPoints);
    void dragConnectorEnd(QPointF slidePoint);
    void finishConnectorEnd(QPoint viewportPixel);
    void cancelDrag();
    void placeTextEditor();
    void paintSelection(QPainter& painter);
    // Background, page and the shapes reaching into the view; shapes in `skip` are left out.
    void paintSlideLayer(QPainter& painter, const std::unordered_set<const host::ShapeData*>& skip);
    // While a drag runs, everything that does not move is drawn once into a picture and each
    // frame draws only the picture and the moving shapes (the dragged ones, their connectors).
    void prepareDragLayer();
    void dropDragLayer();

    host::DocumentWindow window_;
    DocumentHistory* history_ = nullptr;
    render::SlidePainter painter_;
    double zoomPercent_ = 100;
    bool fit_ = true;
    std::vector<std::weak_ptr<host::ShapeData>> selection_;
    Drag drag_;
    QRubberBand* rubberBand_ = nullptr;
    QPointer<QWidget> trackedWindow_;
    QPixmap dragLayer_;
    // The page and its shapes as last painted, shown again while nothing they show has changed:
    // a repaint for the selection, for the window's activation or for an expose then draws no
    // shape (on a slide of thousands of shapes, painting them takes most of a second).
    struct LayerKey {
        std::uint64_t revision = 0;
        const void* slide = nullptr;
        QPointF origin;
        double scale = 0;
        QSize size;
        qreal ratio = 0;
        bool operator==(const LayerKey&) const = default;
    };
    LayerKey currentLayerKey() const;
    QPixmap slideLayer_;
    LayerKey layerKey_;
    // contentRect, kept for the document, revision, slide and page size it was measured for.
    struct ContentKey {
        const void* document = nullptr;
        std::uint64_t revision = 0;
        const void* slide = nullptr;
        QSizeF page;
        bool operator==(const ContentKey&) const = default;
    };
    mutable QRectF content_;
    mutable ContentKey contentKey_;
    std::vector<std::weak_ptr<host::ShapeData>> dragShapes_; // back to front
    QTextEdit* editor_ = nullptr;
    std::weak_ptr<host::ShapeData> editedShape_;
    // The slide in view and its number of shapes at the last refresh: one shape more since is
    // a node a command has just added.
    const host::SlideData* countedSlide_ = nullptr;
    std::size_t countedShapes_ = 0;
};

} // namespace zov::app
