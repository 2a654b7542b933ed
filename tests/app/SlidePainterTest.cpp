// The slide painter draws each geometry by its outline: filled inside, not outside, with the
// shapes' own colours and text colours. Rendered into images at a known scale, without widgets.
#include "app/render/ShapeOutline.h"
#include "app/render/SlidePainter.h"
#include "host/AutoShapeType.h"
#include "host/Presentation.h"

#include <QImage>
#include <gtest/gtest.h>
#include <algorithm>

namespace zov::test {

namespace {

constexpr std::uint32_t kFill = 0x00FF0000; // blue as 0x00BBGGRR

struct Probe {
    const char* name;
    int type;
    QPointF inside;  // fractions of the box: must show the fill
    QPointF outside; // fractions of the box (or beyond): must stay white
};

// Renders one slide holding one filled shape at (100, 100) 200 x 120 points, at 1 px per point.
QImage renderShape(int type, float rotation = 0)
{
    host::Presentation p = host::NewPresentation();
    host::Slide slide = p.Slides().Add(1, host::LayoutBlank);
    host::Shape shape = slide.Shapes().AddShape(type, 100, 100, 200, 120);
    shape.Fill().ForeColor().SetRGB(static_cast<std::int32_t>(kFill));
    shape.data().rotation = rotation;
    app::render::SlidePainter painter;
    return painter.renderImage(slide.data(), QSize(720, 540), Qt::gray);
}

QColor at(const QImage& image, QPointF fraction)
{
    return image.pixelColor(QPoint(static_cast<int>(100 + fraction.x() * 200), static_cast<int>(100 + fraction.y() * 120)));
}

} // namespace

TEST(SlidePainterTest, EveryGeometryIsFilledInsideItsOutlineOnly)
{
    const Probe probes[] = {
        {"rectangle", host::ShapeRectangle, {0.03, 0.05}, {-0.05, 0.5}},
        {"oval", host::ShapeOval, {0.5, 0.1}, {0.04, 0.06}},
        {"diamond", host::ShapeDiamond, {0.5, 0.2}, {0.15, 0.15}},
        {"decision", host::ShapeFlowchartDecision, {0.8, 0.5}, {0.85, 0.2}},
        // The point begins at 200 - 60 = 140 points: its corners are outside.
        {"home plate", host::ShapePentagon, {0.95, 0.5}, {0.97, 0.08}},
        // The ring is filled, the opening beside the bar is not.
        {"no symbol", host::ShapeNoSymbol, {0.5, 0.05}, {0.7, 0.3}},
        // The tail reaches below the box, left of the middle.
        {"callout", host::ShapeRoundedRectangularCallout, {0.3, 1.08}, {0.7, 1.08}},
    };
    for (const Probe& probe : probes) {
        SCOPED_TRACE(probe.name);
        const QImage image = renderShape(probe.type);
        EXPECT_EQ(at(image, probe.inside), QColor(0, 0, 255));
        EXPECT_EQ(at(image, probe.outside), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white)); // the page itself
    }
}

// A shape of another program's "line" geometry is a line across its box, not the box: from the
// top left to the bottom right, or the other diagonal when flipped.
TEST(SlidePainterTest, ALineShapeIsDrawnAcrossItsBox)
{
    for (const bool flipped : {false, true}) {
        SCOPED_TRACE(flipped ? "flipped" : "not flipped");
        host::Presentation p = host::NewPresentation();
        host::Slide slide = p.Slides().Add(1, host::LayoutBlank);
        host::Shape line = slide.Shapes().AddShape(host::ShapeRectangle, 100, 100, 200, 120);
        host::ShapeData& data = line.data();
        data.autoShapeType = host::ShapeNotPrimitive;
        data.preset = QStringLiteral("line");
        data.fillVisible = false;
        data.lineVisible = true;
        data.lineWeight = 3;
        data.lineRgb = kFill;
        data.flipH = flipped;
        app::render::SlidePainter painter;
        const QImage image = painter.renderImage(slide.data(), QSize(720, 540), Qt::gray);
        const QPointF onLine = flipped ? QPointF(0.75, 0.25) : QPointF(0.25, 0.25);
        const QPointF offLine = flipped ? QPointF(0.25, 0.25) : QPointF(0.75, 0.25);
        EXPECT_EQ(at(image, onLine), QColor(0, 0, 255));
        EXPECT_EQ(at(image, offLine), QColor(Qt::white));
        EXPECT_EQ(at(image, QPointF(0.5, 0.0)), QColor(Qt::white)); // no box around it
    }
}

TEST(SlidePainterTest, RotationTurnsTheShapeAboutItsCentre)
{
    const QImage upright = renderShape(host::ShapePentagon);
    const QImage turned = renderShape(host::ShapePentagon, 180);
    // Turned half round, the point is on the left.
    EXPECT_EQ(at(upright, {0.03, 0.08}), QColor(0, 0, 255));
    EXPECT_EQ(at(turned, {0.03, 0.08}), QColor(Qt::white));
    EXPECT_EQ(at(turned, {0.03, 0.5}), QColor(0, 0, 255));
}

// The strongest ink inside `box`: the pixel farthest from white.
QColor inkIn(const QImage& image, QRect box)
{
    QColor ink(Qt::white);
    int bestDepth = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int depth = 3 * 255 - c.red() - c.green() - c.blue();
            if (depth > bestDepth) {
                bestDepth = depth;
                ink = c;
            }
        }
    return ink;
}

TEST(SlidePainterTest, TextIsDrawnInItsShapesColourElseBlack)
{
    host::Presentation p = host::NewPresentation();
    host::Slide slide = p.Slides().Add(1, host::LayoutBlank);
    // Boxes without fill or line, so that only their letters leave ink (drawn at 1 px per point).
    const auto labelled = [&](float top) {
        host::Shape shape = slide.Shapes().AddShape(host::ShapeRectangle, 100, top, 300, 100);
        shape.Fill().SetVisible(false);
        shape.Line().SetVisible(false);
        shape.TextFrame().TextRange().SetText(QStringLiteral("HMW"));
        shape.TextFrame().TextRange().Font().SetSize(60);
        return shape;
    };
    host::Shape red = labelled(50);
    red.data().textColourSet = true;
    red.data().textRgb = 0x000000FF; // red as 0x00BBGGRR
    host::Shape plain = labelled(300);
    plain.data().textRgb = 0x0000FF00; // a colour that is not set does not count

    app::render::SlidePainter painter;
    const QImage image = painter.renderImage(slide.data(), QSize(720, 540), Qt::gray);
    const QColor redInk = inkIn(image, QRect(100, 50, 300, 100));
    EXPECT_GT(redInk.red(), 200) << redInk.name().toStdString();
    EXPECT_LT(redInk.green(), 60) << redInk.name().toStdString();
    EXPECT_LT(redInk.blue(), 60) << redInk.name().toStdString();
    const QColor plainInk = inkIn(image, QRect(100, 300, 300, 100));
    EXPECT_LT(std::max({plainInk.red(), plainInk.green(), plainInk.blue()}), 60) << plainInk.name().toStdString();
}

// A frame that wraps (as a file may say) wraps its lines to the shape's width even when it also
// fits the shape to its text; a frame that does not wrap keeps each paragraph on one line.
TEST(SlidePainterTest, AFrameThatWrapsKeepsItsTextWithinTheShapesWidth)
{
    host::Presentation p = host::NewPresentation();
    host::Slide slide = p.Slides().Add(1, host::LayoutBlank);
    const auto label = [&](float top, bool wrap) {
        host::Shape shape = slide.Shapes().AddShape(host::ShapeRectangle, 100, top, 120, 200);
        shape.Fill().SetVisible(false);
        shape.Line().SetVisible(false);
        shape.TextFrame().TextRange().SetText(QStringLiteral("Circulaire et critères d'orientation"));
        shape.TextFrame().TextRange().Font().SetSize(16);
        shape.data().autoSize = host::AutoSizeShapeToFitText; // as read from a file: the size stays
        shape.data().wordWrap = wrap;
    };
    label(20, true);
    label(300, false);
    app::render::SlidePainter painter;
    const QImage image = painter.renderImage(slide.data(), QSize(720, 540), Qt::white);
    // Columns with ink right of the wrapping shape, and rows with ink in each shape's band.
    const auto inked = [&](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += qGray(image.pixel(x, y)) < 128;
        return count;
    };
    EXPECT_EQ(inked(QRect(225, 20, 300, 200)), 0) << "wrapped text stays within the shape";
    EXPECT_GT(inked(QRect(225, 300, 300, 200)), 0) << "a frame that does not wrap runs past the shape";
}

TEST(SlidePainterTest, TextAndTailWidenWhatAShapeCanTouch)
{
    host::Presentation p = host::NewPresentation();
    host::Slide slide = p.Slides().Add(1, host::LayoutBlank);
    host::Shape callout = slide.Shapes().AddShape(host::ShapeRoundedRectangularCallout, 10, 10, 100, 40);
    const QRectF bounds = app::render::paintBounds(callout.data());
    EXPECT_GE(bounds.bottom(), 10 + 40 * 1.125);
    host::Shape arc = slide.Shapes().AddConnector(host::ConnectorStraight, 10, 10, 100, 10);
    EXPECT_GT(app::render::paintBounds(arc.data()).height(), 0); // a flat line still has room for its arrowhead
}

} // namespace zov::test
