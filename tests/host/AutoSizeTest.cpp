// Auto-size "shape to fit text": the size follows the text's real font metrics plus the frame's
// margins, one line per paragraph and no word wrap, and the left/top corner stays put.
#include "HostFixture.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>

namespace zov::host::test {
namespace {

// Text width in points as a 72 dpi device measures it.
double advance(const QString& family, double size, const QString& text) {
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(2835);
    device.setDotsPerMeterY(2835);
    QFont font(family);
    font.setPointSizeF(size);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font, &device).horizontalAdvance(text);
}

TEST_F(HostFixture, WidthIsTheTextAdvancePlusTheMarginsWithArialMeasuredAsLiberationSans) {
    Shape s = addText(ShapeRectangle, QStringLiteral("Proposition"));
    s.TextFrame().TextRange().Font().SetName(QStringLiteral("Arial"));
    s.TextFrame().TextRange().Font().SetSize(18);
    const double text = advance(QStringLiteral("Liberation Sans"), 18, QStringLiteral("Proposition"));
    EXPECT_NEAR(s.Width(), text + 7.2 + 7.2, 0.01);

    // Another font measures differently.
    s.TextFrame().TextRange().Font().SetName(QStringLiteral("Liberation Mono"));
    EXPECT_NEAR(s.Width(), advance(QStringLiteral("Liberation Mono"), 18, QStringLiteral("Proposition")) + 14.4,
                0.01);
}

TEST_F(HostFixture, TheGeometrysTextRectangleDecidesHowMuchLargerTheShapeIs) {
    const QString label = QStringLiteral("Agnt");
    const Shape rect = addText(ShapeRectangle, label);
    const Shape diamond = addText(ShapeDiamond, label);
    const Shape oval = addText(ShapeOval, label);
    const Shape callout = addText(ShapeRoundedRectangularCallout, label);
    // A diamond's text rectangle is half its width and height; an ellipse's is 1/sqrt(2).
    EXPECT_NEAR(diamond.Width(), 2 * rect.Width(), 0.01);
    EXPECT_NEAR(diamond.Height(), 2 * rect.Height(), 0.01);
    EXPECT_NEAR(oval.Width(), rect.Width() * 1.41421, 0.01);
    EXPECT_GT(callout.Height(), rect.Height());
    // A pentagon's text rectangle stops halfway into its point, a quarter of its height short
    // of the right edge: the shape is that much wider than the text needs, so that a reader
    // that wraps text to the rectangle keeps the label on one line.
    const Shape pentagon = addText(ShapePentagon, label);
    EXPECT_NEAR(pentagon.Height(), rect.Height(), 0.01);
    EXPECT_NEAR(pentagon.Width() - pentagon.Height() / 4, rect.Width(), 0.01);
}

} // namespace
} // namespace zov::host::test
