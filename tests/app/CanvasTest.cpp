// The slide canvas on the offscreen platform: what the mouse and keys do to the model (and what
// it draws while a shape is dragged), and that the document window's view transform matches the
// screen.
#include "DesktopFixture.h"
#include "platform/CursorPosition.h"

#include "host/geometry/Geometry.h"

#include <QAction>
#include "app/desktop/SlideList.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace zov::test {

namespace {

QColor colourOf(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

bool near(QColor a, QColor b, int tolerance = 8)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Somewhere inside the shape's box but off its text.
QPointF fillPointOf(const host::Shape& s)
{
    return {s.Left() + s.Width() / 2.0, s.Top() + s.Height() * 0.2};
}

// Presses the left button at `from`, moves past the drag threshold to `to` and releases there.
void drag(QWidget* viewport, QPoint from, QPoint to)
{
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, from + (to - from) / 4 + QPoint(5, 5));
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
}

} // namespace

using CanvasTest = DesktopFixture;

// The layout settles at once after a resize, at any window size and zoom: the scroll bars do
// not keep switching on and off, and a slide fitted to the window needs none.
TEST_F(CanvasTest, LayoutSettlesAtEverySizeAndZoom)
{
    makeGraph();
    struct ResizeCounter : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Resize ? 1 : 0;
            return false;
        }
    } resizes;
    canvas().viewport()->installEventFilter(&resizes);
    for (const double zoom : {0.0, 50.0, 100.0, 137.0}) {
        for (int width = 520; width <= 1560; width += 131) {
            for (int height = 380; height <= 1000; height += 89) {
                if (zoom == 0)
                    canvas().setFitWindow(true);
                else
                    canvas().setZoomPercent(zoom);
                window->resize(width, height);
                settle();
                resizes.count = 0;
                settle();
                ASSERT_EQ(resizes.count, 0) << "zoom " << zoom << ", window " << width << " x " << height;
                if (zoom == 0) {
                    ASSERT_FALSE(canvas().horizontalScrollBar()->isVisible()) << width << " x " << height;
                    ASSERT_FALSE(canvas().verticalScrollBar()->isVisible()) << width << " x " << height;
                }
            }
        }
    }
}

// A shape beyond the page (a long label, a graph larger than the slide) is drawn on the grey
// around it, and the scroll bars reach it, also with the slide fitted to the window.
TEST_F(CanvasTest, ShapesBeyondThePageCanBeScrolledTo)
{
    SampleGraph g = makeGraph();
    canvas().setFitWindow(true);
    window->resize(900, 700);
    settle();
    ASSERT_FALSE(canvas().horizontalScrollBar()->isVisible());
    const double pageWidth = application.ActiveWindow().Presentation().data().slideWidth;
    g.cat.SetLeft(static_cast<float>(pageWidth + 300));
    g.relation.SetLeft(-250);
    window->syncWithDocument();
    settle();
    QScrollBar* bar = canvas().horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    bar->setValue(bar->maximum());
    settle();
    const int right = viewportPoint(QPointF(g.cat.Left() + g.cat.Width(), g.cat.Top())).x();
    EXPECT_LE(right, canvas().viewport()->width());
    EXPECT_GT(right, canvas().viewport()->width() / 2);
    bar->setValue(bar->minimum());
    settle();
    EXPECT_GE(viewportPoint(QPointF(g.relation.Left(), g.relation.Top())).x(), 0);
    // Back on the page, the fitted slide needs no bars again, also with shapes lying on its
    // edges (a graph's title label at 0,0), whose outlines reach a little past them.
    const double pageHeight = application.ActiveWindow().Presentation().data().slideHeight;
    g.cat.SetLeft(-0.2F); // as a title label comes back from Impress
    g.cat.SetTop(0);
    g.relation.SetLeft(static_cast<float>(pageWidth - g.relation.Width()));
    g.relation.SetTop(static_cast<float>(pageHeight - g.relation.Height()));
    window->syncWithDocument();
    settle();
    EXPECT_FALSE(canvas().horizontalScrollBar()->isVisible());
    EXPECT_FALSE(canvas().verticalScrollBar()->isVisible());
}

TEST_F(CanvasTest, DragMovesShapeAndGluedArcFollows)
{
    const SampleGraph g = makeGraph();
    const float left = g.cat.Left(), top = g.cat.Top();
    QWidget* vp = canvas().viewport();
    const QPoint start = viewportPoint(fillPointOf(g.cat));
    const QPoint offset(60, 40);
    QTest::mousePress(vp, Qt::LeftButton, {}, start);
    QTest::mouseMove(vp, start + QPoint(10, 5));
    QTest::mouseMove(vp, start + offset);
    // Mid-drag the picture shows the shape at its new place and the others where they were.
    const QImage during = vp->grab().toImage();
    EXPECT_TRUE(near(during.pixelColor(viewportPoint(fillPointOf(g.cat))), colourOf(kConceptFill)));
    EXPECT_TRUE(near(during.pixelColor(start - QPoint(0, 3)), Qt::white));
    EXPECT_TRUE(near(during.pixelColor(viewportPoint(fillPointOf(g.relation))), colourOf(kRelationFill)));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, start + offset);
    settle();
    const double scale = canvas().pixelsPerPoint();
    EXPECT_NEAR(g.cat.Left(), left + offset.x() / scale, 0.01);
    EXPECT_NEAR(g.cat.Top(), top + offset.y() / scale, 0.01);
    // Still glued, and its begin sits on the moved shape's site.
    ASSERT_TRUE(g.arc.ConnectorFormat().BeginConnected());
    const QPointF site = g.cat.ConnectionSitePoint(g.arc.ConnectorFormat().BeginConnectionSite());
    EXPECT_NEAR(g.arc.data().begin.x(), site.x(), 1e-3);
    EXPECT_NEAR(g.arc.data().begin.y(), site.y(), 1e-3);
    // The drag is one step of the history.
    window->undo();
    EXPECT_FLOAT_EQ(g.cat.Left(), left);
    EXPECT_FLOAT_EQ(g.cat.Top(), top);
    const QPointF back = g.cat.ConnectionSitePoint(g.arc.ConnectorFormat().BeginConnectionSite());
    EXPECT_NEAR(g.arc.data().begin.x(), back.x(), 1e-3);
}

// An arrow glued to its shapes goes where they go: dragged by its middle (where it crosses a
// node, a press meant for the node lands on it) or moved with the arrow keys, it stays put and
// glued, where it used to come loose at both ends and take an argument out of the graph.
TEST_F(CanvasTest, AGluedArrowIsNotMovedByItselfAndStaysGlued)
{
    const SampleGraph g = makeGraph();
    const QPointF begin = g.arc.data().begin, end = g.arc.data().end;
    QWidget* vp = canvas().viewport();
    const QPoint middle = viewportPoint((begin + end) / 2);
    QTest::mousePress(vp, Qt::LeftButton, {}, middle);
    QTest::mouseMove(vp, middle + QPoint(10, 5));
    QTest::mouseMove(vp, middle + QPoint(60, 40));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, middle + QPoint(60, 40));
    settle();
    ASSERT_EQ(canvas().selection().size(), 1u) << "the press chose the arrow";
    EXPECT_TRUE(canvas().selection().front().Connector());
    QTest::keyClick(vp, Qt::Key_Right);
    settle();
    EXPECT_TRUE(g.arc.ConnectorFormat().BeginConnected());
    EXPECT_TRUE(g.arc.ConnectorFormat().EndConnected());
    EXPECT_EQ(g.arc.data().begin, begin);
    EXPECT_EQ(g.arc.data().end, end);
}

TEST_F(CanvasTest, ResizeHandleAndConnectorEndDrag)
{
    const SampleGraph g = makeGraph();
    QWidget* vp = canvas().viewport();
    canvas().setSelection({g.cat});
    // The bottom-right handle.
    const QPoint corner = viewportPoint({g.cat.Left() + g.cat.Width(), g.cat.Top() + g.cat.Height()});
    const float width = g.cat.Width(), height = g.cat.Height();
    drag(vp, corner, corner + QPoint(40, 30));
    settle();
    const double scale = canvas().pixelsPerPoint();
    EXPECT_NEAR(g.cat.Width(), width + 40 / scale, 0.01);
    EXPECT_NEAR(g.cat.Height(), height + 30 / scale, 0.01);

    // Drag the arc's end off the oval onto empty slide: it comes loose there.
    canvas().setSelection({g.arc});
    const QPoint end = viewportPoint(g.arc.data().end);
    const QPoint empty = viewportPoint({600, 100});
    drag(vp, end, empty);
    settle();
    EXPECT_FALSE(g.arc.ConnectorFormat().EndConnected());
    EXPECT_TRUE(g.arc.ConnectorFormat().BeginConnected());
    // ... and back onto the oval: glued to its nearest site.
    const QPoint loose = viewportPoint(g.arc.data().end);
    const QPoint onOval = viewportPoint({g.relation.Left() + 5.0, g.relation.Top() + g.relation.Height() / 2.0});
    drag(vp, loose, onOval);
    settle();
    ASSERT_TRUE(g.arc.ConnectorFormat().EndConnected());
    EXPECT_EQ(g.arc.ConnectorFormat().EndConnectedShape(), g.relation);
    EXPECT_EQ(g.arc.ConnectorFormat().EndConnectionSite(), 3); // the ellipse's left site
}

// Deleting a node deletes the arcs glued to it, and one undo brings both back glued.
TEST_F(CanvasTest, DeleteKeyRemovesSelectionWithItsArcsAndUndoBringsTheSameShapesBack)
{
    const SampleGraph g = makeGraph();
    host::Shapes shapes = application.ActiveWindow().View().Slide().Shapes();
    ASSERT_EQ(shapes.Count(), 3);
    QTest::mouseClick(canvas().viewport(), Qt::LeftButton, {}, viewportPoint(fillPointOf(g.relation)));
    ASSERT_EQ(canvas().selection().size(), 1u);
    canvas().setFocus();
    const std::size_t steps = window->history()->stepCount();
    QTest::keyClick(&canvas(), Qt::Key_Delete);
    settle();
    EXPECT_EQ(shapes.Count(), 1);
    EXPECT_THROW(g.relation.Name(), host::HostError);
    EXPECT_FALSE(g.arc.IsAlive()) << "the arc glued to the deleted node went with it";
    EXPECT_EQ(window->history()->stepCount(), steps + 1);

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(shapes.Count(), 3);
    EXPECT_EQ(g.relation.TextFrame().TextRange().Text(), QStringLiteral("On")); // the old handle works
    EXPECT_TRUE(g.arc.ConnectorFormat().EndConnected());
    EXPECT_EQ(g.arc.ConnectorFormat().EndConnectedShape(), g.relation);
    EXPECT_EQ(g.arc.ConnectorFormat().BeginConnectedShape(), g.cat);

    // The Edit menu's Delete does the same; deleting only the arc leaves its nodes.
    canvas().setSelection({g.cat});
    canvas().setFocus();
    window->findChild<QAction*>(QStringLiteral("EditDelete"))->trigger();
    settle();
    EXPECT_EQ(shapes.Count(), 1);
    EXPECT_EQ(shapes.Item(1), g.relation);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    canvas().setSelection({g.arc});
    QTest::keyClick(&canvas(), Qt::Key_Delete);
    settle();
    EXPECT_EQ(shapes.Count(), 2);
}

// Without the mouse: Tab and Shift+Tab step through the slide's shapes (wrapping round), the
// arrow keys move the one chosen, F2 edits its text, and F6 moves the keyboard focus on.
TEST_F(CanvasTest, TabChoosesShapesAndTheKeysThenWorkOnThem)
{
    const SampleGraph g = makeGraph();
    canvas().clearSelection();
    canvas().setFocus();
    const auto chosen = [&] { return canvas().selection().size() == 1 ? canvas().selection().front() : host::Shape(); };
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    EXPECT_EQ(chosen(), g.cat);
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    EXPECT_EQ(chosen(), g.relation);
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    EXPECT_EQ(chosen(), g.arc);
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    EXPECT_EQ(chosen(), g.cat) << "round again";
    QTest::keyClick(&canvas(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(chosen(), g.arc);
    QTest::keyClick(&canvas(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(chosen(), g.relation);
    EXPECT_TRUE(canvas().hasFocus());

    const float left = g.relation.Left();
    QTest::keyClick(&canvas(), Qt::Key_Right);
    settle();
    EXPECT_NEAR(g.relation.Left(), left + 6, 0.01);
    QTest::keyClick(&canvas(), Qt::Key_F2);
    ASSERT_TRUE(canvas().isEditingText());
    QTest::keyClick(canvas().textEditor(), Qt::Key_Escape);
    EXPECT_FALSE(canvas().isEditingText());

    // F6 goes to the list of slides and back, and from another of the program's windows (the
    // palette, here its stand-in) back to the slide.
    window->activateWindow();
    canvas().setFocus();
    QTest::keyClick(&canvas(), Qt::Key_F6);
    EXPECT_TRUE(window->slideList()->hasFocus()) << "F6 leaves the slide for the list";
    QTest::keyClick(window->slideList(), Qt::Key_F6);
    EXPECT_TRUE(canvas().hasFocus()) << "and comes back";
    QTest::keyClick(&canvas(), Qt::Key_F6);
    ASSERT_EQ(window->focusWidget(), window->slideList());
    QWidget palette;
    auto* box = new QLineEdit(&palette);
    palette.show();
    QApplication::setActiveWindow(&palette);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F6);
    QApplication::processEvents();
    EXPECT_EQ(window->focusWidget(), &canvas()) << "from the palette";
}

// The slide notes where the pointer last moved over it: the palette's commands act there once
// the pointer has gone over to the palette.
TEST_F(CanvasTest, ThePointerIsNotedWhereItLastMovedOverTheSlide)
{
    EXPECT_TRUE(canvas().viewport()->property(platform::SlideViewProperty).toBool());
    const QPoint at = viewportPoint(QPointF(200, 150));
    QTest::mouseMove(canvas().viewport(), at);
    const QPointF noted = canvas().viewport()->property(platform::LastPointerProperty).toPointF();
    EXPECT_NEAR(noted.x(), 200, 1.5) << "a slide point, which zooming does not move";
    EXPECT_NEAR(noted.y(), 150, 1.5);
    EXPECT_FALSE(canvas().viewport()->property(platform::ChosenByKeyProperty).toBool());
    // A shape chosen with Tab notes its middle, until the pointer moves over the slide again.
    const SampleGraph g = makeGraph();
    canvas().setFocus();
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    ASSERT_EQ(canvas().selection().size(), 1u);
    const host::Shape chosen = canvas().selection().front();
    ASSERT_FALSE(chosen.Connector());
    EXPECT_EQ(canvas().viewport()->property(platform::LastPointerProperty).toPointF(),
              QPointF(chosen.Left() + chosen.Width() / 2.0, chosen.Top() + chosen.Height() / 2.0));
    EXPECT_TRUE(canvas().viewport()->property(platform::ChosenByKeyProperty).toBool());
    // Moved with the arrow keys, the shape takes the place with it.
    QTest::keyClick(&canvas(), Qt::Key_Right);
    settle();
    EXPECT_EQ(canvas().viewport()->property(platform::LastPointerProperty).toPointF(),
              QPointF(chosen.Left() + chosen.Width() / 2.0, chosen.Top() + chosen.Height() / 2.0));
    // Another slide in view, where nothing is chosen: the place is forgotten (the middle of the
    // view stands for it), not carried over onto whatever lies there.
    window->addSlide();
    settle();
    EXPECT_FALSE(canvas().viewport()->property(platform::LastPointerProperty).isValid());
    EXPECT_FALSE(canvas().viewport()->property(platform::ChosenByKeyProperty).toBool());
    window->goToSlide(1);
    settle();
    canvas().setFocus();
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    // A node a palette command adds there becomes the chosen one (an arc it adds does not).
    host::Shape added = window->presentation().Slides().Item(1).Shapes().AddShape(host::ShapeOval, 300, 200, 60, 30);
    window->syncWithDocument();
    ASSERT_EQ(canvas().selection().size(), 1u);
    EXPECT_EQ(canvas().selection().front(), added);
    EXPECT_EQ(canvas().viewport()->property(platform::LastPointerProperty).toPointF(), QPointF(330, 215));
    window->presentation().Slides().Item(1).Shapes().AddConnector(host::ConnectorStraight, 0, 0, 10, 10);
    window->syncWithDocument();
    EXPECT_EQ(canvas().selection().front(), added);
    // Escape chooses nothing: the place is forgotten.
    QTest::keyClick(&canvas(), Qt::Key_Escape);
    EXPECT_FALSE(canvas().viewport()->property(platform::LastPointerProperty).isValid());
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    QTest::mouseMove(canvas().viewport(), at + QPoint(5, 5));
    EXPECT_FALSE(canvas().viewport()->property(platform::ChosenByKeyProperty).toBool());
}

TEST_F(CanvasTest, DoubleClickEditsTextInPlace)
{
    const SampleGraph g = makeGraph();
    QTest::mouseDClick(canvas().viewport(), Qt::LeftButton, {}, viewportPoint(fillPointOf(g.cat)));
    ASSERT_TRUE(canvas().isEditingText());
    QTextEdit* editor = canvas().textEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("Cat"));
    // It grows with what is typed, so that the whole label shows.
    const int narrow = editor->width();
    editor->setPlainText(QStringLiteral("Animal: 'Tom' of the house"));
    EXPECT_GT(editor->width(), narrow);
    EXPECT_GE(editor->viewport()->width(), editor->document()->idealWidth());
    editor->setPlainText(QStringLiteral("Dog\nHouse"));
    // Escape throws the edit away.
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(canvas().isEditingText());
    EXPECT_EQ(g.cat.TextFrame().TextRange().Text(), QStringLiteral("Cat"));

    canvas().editText(g.cat);
    canvas().textEditor()->setPlainText(QStringLiteral("Dog\nHouse"));
    canvas().finishTextEdit(true);
    settle();
    EXPECT_EQ(g.cat.TextFrame().TextRange().Text(), QStringLiteral("Dog\r\nHouse"));
    window->undo();
    EXPECT_EQ(g.cat.TextFrame().TextRange().Text(), QStringLiteral("Cat"));
}

// The canvas shows again what it painted last while nothing has changed; a change made through
// the object model, an undo, a zoom and another slide each show at the next paint.
TEST_F(CanvasTest, EveryChangeShowsAtTheNextPaint)
{
    const SampleGraph g = makeGraph();
    QWidget* vp = canvas().viewport();
    const auto colourAt = [&](const host::Shape& s) { return vp->grab().toImage().pixelColor(viewportPoint(fillPointOf(s))); };
    EXPECT_TRUE(near(colourAt(g.cat), colourOf(kConceptFill)));

    host::Shape cat = g.cat;
    cat.Fill().ForeColor().SetRGB(0x000000FF); // red, as 0x00BBGGRR
    settle();
    EXPECT_TRUE(near(colourAt(g.cat), Qt::red)) << "a change behind the canvas's back";
    window->undo();
    settle();
    EXPECT_TRUE(near(colourAt(g.cat), colourOf(kConceptFill))) << "an undo";

    canvas().setSelection({g.cat}); // only the selection is painted anew
    settle();
    EXPECT_TRUE(near(colourAt(g.relation), colourOf(kRelationFill)));

    const QPoint before = viewportPoint(fillPointOf(g.cat));
    canvas().setZoomPercent(canvas().zoomPercent() / 2); // the whole page stays in view
    settle();
    ASSERT_NE(viewportPoint(fillPointOf(g.cat)), before);
    EXPECT_TRUE(near(colourAt(g.cat), colourOf(kConceptFill))) << "a zoom";

    ASSERT_TRUE(window->addSlide()); // a blank slide comes into view
    settle();
    EXPECT_TRUE(near(vp->grab().toImage().pixelColor(before), Qt::white) ||
                near(vp->grab().toImage().pixelColor(before), QColor(0xE3, 0xE5, 0xE8)))
        << "the new slide shows no shape of the other";
}

TEST_F(CanvasTest, RubberBandSelectsShapesInside)
{
    const SampleGraph g = makeGraph();
    QWidget* vp = canvas().viewport();
    const QPoint from = viewportPoint({g.cat.Left() - 10.0, g.cat.Top() - 10.0});
    const QPoint to = viewportPoint({g.cat.Left() + g.cat.Width() + 10.0, g.cat.Top() + g.cat.Height() + 10.0});
    drag(vp, from, to);
    const auto selected = canvas().selection();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected.front(), g.cat);

    // A level arc (its box has no height) is inside a band that holds both its ends, and a band
    // over shapes already selected selects each once.
    host::Shape relation = g.relation;
    relation.SetTop(g.cat.Top() + g.cat.Height() / 2 - relation.Height() / 2);
    settle();
    ASSERT_EQ(g.arc.data().begin.y(), g.arc.data().end.y());
    const QPoint past = viewportPoint({g.relation.Left() + g.relation.Width() + 10.0, g.cat.Top() + g.cat.Height() + 30.0});
    drag(vp, from, past);
    const auto all = canvas().selection();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_NE(std::find(all.begin(), all.end(), g.arc), all.end()) << "the level arc was left out";
}

} // namespace zov::test
