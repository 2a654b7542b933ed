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

TEST_F(HostFixture, LongerTextAndLargerFontsGrowTheShapeInPlace) {
    Shape s = addText(ShapeRectangle, QStringLiteral("Cat"), 120, 80);
    const float narrow = s.Width(), height = s.Height();
    s.TextFrame().TextRange().SetText(QStringLiteral("Cat:Tom the tabby"));
    EXPECT_GT(s.Width(), narrow);
    EXPECT_FLOAT_EQ(s.Height(), height); // still one line: no wrap
    s.TextFrame().TextRange().SetText(QStringLiteral("Cat"));
    EXPECT_FLOAT_EQ(s.Width(), narrow);

    s.TextFrame().TextRange().Font().SetSize(36); // twice the default 18 points
    EXPECT_GT(s.Width(), narrow * 1.6f);
    EXPECT_GT(s.Height(), height * 1.6f);
    EXPECT_FLOAT_EQ(s.Left(), 120);
    EXPECT_FLOAT_EQ(s.Top(), 80);
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

TEST_F(HostFixture, EachParagraphIsOneLineAndTheWidestSetsTheWidth) {
    const Shape one = addText(ShapeRectangle, QStringLiteral("a long first line"));
    const Shape two = addText(ShapeRectangle, QStringLiteral("a long first line\r\nshort"));
    const Shape three = addText(ShapeRectangle, QStringLiteral("a long first line\r\nshort\r\nx"));
    EXPECT_FLOAT_EQ(two.Width(), one.Width());
    const float line = three.Height() - two.Height();
    EXPECT_GT(line, 18);
    EXPECT_NEAR(two.Height() - one.Height(), line, 0.01);
    // Even a very long text stays one line.
    const Shape wide = addText(ShapeRectangle, QString(200, u'w'));
    EXPECT_GT(wide.Width(), 720);
    EXPECT_FLOAT_EQ(wide.Height(), one.Height());
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
}

TEST_F(HostFixture, WithoutAutoSizeTheShapeKeepsItsSize) {
    Shape s = shapes().AddShape(ShapeRectangle, 10, 10, 100, 10);
    s.TextFrame().TextRange().SetText(QStringLiteral("A text much wider than one hundred points"));
    EXPECT_FLOAT_EQ(s.Width(), 100);
    EXPECT_FLOAT_EQ(s.Height(), 10);
    EXPECT_TRUE(s.TextFrame().WordWrap());
    s.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
    EXPECT_GT(s.Width(), 100);
    EXPECT_FLOAT_EQ(s.Left(), 10);
    EXPECT_FALSE(s.TextFrame().WordWrap()); // the text is laid out as measured: one line each
}

TEST_F(HostFixture, ALabelFitsItsTextAsSoonAsItHasSome) {
    Shape title = shapes().AddLabel(TextOrientationHorizontal, 0, 0, 100, 45);
    EXPECT_EQ(title.TextFrame().AutoSize(), AutoSizeShapeToFitText);
    title.TextFrame().TextRange().SetText(QStringLiteral("p1 is Proposition"));
    title.SetAutoShapeType(ShapeNoSymbol); // the title marker does not change how a label fits
    const Shape rect = addText(ShapeRectangle, QStringLiteral("p1 is Proposition"));
    EXPECT_FLOAT_EQ(title.Width(), rect.Width());
    EXPECT_FLOAT_EQ(title.Left(), 0);
}

} // namespace
} // namespace zov::host::test
