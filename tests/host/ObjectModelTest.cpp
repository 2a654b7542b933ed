// Presentations, windows, slides and shapes: what exists, in which order, under which name.
#include "HostFixture.h"

namespace zov::host::test {
namespace {

TEST(Presentations, AddShowsANewEmptyPresentationInANewActiveWindow) {
    Application app;
    EXPECT_EQ(app.Presentations().Count(), 0);
    EXPECT_TRUE(app.ActiveWindow().IsNothing());
    EXPECT_TRUE(app.ActivePresentation().IsNothing());

    const Presentation first = app.Presentations().Add();
    EXPECT_EQ(app.Presentations().Count(), 1);
    EXPECT_EQ(first.Slides().Count(), 0);
    EXPECT_FLOAT_EQ(first.PageSetup().SlideWidth(), 720);
    EXPECT_FLOAT_EQ(first.PageSetup().SlideHeight(), 540);
    EXPECT_TRUE(app.ActivePresentation() == first);

    const Presentation second = app.Presentations().Add();
    EXPECT_EQ(app.Presentations().Count(), 2);
    EXPECT_TRUE(app.ActivePresentation() == second);
    EXPECT_TRUE(app.ActiveWindow().Presentation() == second);
    EXPECT_TRUE(app.Presentations().Item(1) == first);

    // Closing the active window makes the other one active again.
    app.Close(app.ActiveWindow());
    EXPECT_TRUE(app.ActivePresentation() == first);
    EXPECT_EQ(app.Presentations().Count(), 1);
}

TEST_F(HostFixture, SlidesAreAddedAtTheirIndexWithDistinctDefaultNames) {
    Slides slides = presentation.Slides();
    const Slide first = slides.Item(1);
    const Slide inserted = slides.Add(1, LayoutBlank);
    const Slide last = slides.Add(3, LayoutBlank);
    ASSERT_EQ(slides.Count(), 3);
    EXPECT_TRUE(slides.Item(1) == inserted);
    EXPECT_TRUE(slides.Item(2) == first);
    EXPECT_EQ(first.SlideIndex(), 2);
    EXPECT_EQ(last.SlideIndex(), 3);
    EXPECT_NE(first.Name(), inserted.Name());
    EXPECT_NE(inserted.Name(), last.Name());
    EXPECT_NE(first.Name(), last.Name());

    EXPECT_THROW(slides.Add(5, LayoutBlank), HostError);
    EXPECT_THROW(slides.Add(0, LayoutBlank), HostError);
}

TEST_F(HostFixture, ASlideNameAnotherSlideHasIsRefused) {
    Slide dog = slide();
    dog.SetName(QStringLiteral("Dog"));
    Slide other = presentation.Slides().Add(2, LayoutBlank);
    const QString before = other.Name();

    EXPECT_THROW(other.SetName(QStringLiteral("Dog")), HostError);
    EXPECT_EQ(other.Name(), before);
    EXPECT_THROW(other.SetName(QString()), HostError);

    // Names compare exactly: another letter case is another name; a slide may keep its own.
    other.SetName(QStringLiteral("dog"));
    EXPECT_EQ(other.Name(), QStringLiteral("dog"));
    dog.SetName(QStringLiteral("Dog"));
    EXPECT_TRUE(presentation.Slides().FindByName(QStringLiteral("dog")) == other);

    // A name becomes free once its slide is renamed or deleted.
    dog.SetName(QStringLiteral("Cat"));
    other.SetName(QStringLiteral("Dog"));
    other.Delete();
    EXPECT_TRUE(presentation.Slides().FindByName(QStringLiteral("Dog")).IsNothing());
    EXPECT_TRUE(presentation.Slides().FindByName(QStringLiteral("Cat")) == dog);
    presentation.Slides().Item(1).SetName(QStringLiteral("Dog"));
    EXPECT_EQ(presentation.Slides().Item(1).Name(), QStringLiteral("Dog"));
}

TEST_F(HostFixture, AutoShapeTypeIsReadAndCanBeChanged) {
    Shape rect = shapes().AddShape(ShapeRectangle, 0, 0, 50, 20);
    Shape label = shapes().AddLabel(TextOrientationHorizontal, 0, 0, 100, 45);
    Shape line = shapes().AddConnector(ConnectorStraight, 0, 0, 10, 10);
    EXPECT_EQ(rect.AutoShapeType(), 1);
    EXPECT_EQ(label.AutoShapeType(), 1);
    EXPECT_EQ(line.AutoShapeType(), -2);
    for (int type : {4, 9, 19, 51, 63, 106})
        EXPECT_EQ(shapes().AddShape(type, 0, 0, 10, 10).AutoShapeType(), type);

    label.SetAutoShapeType(ShapeNoSymbol);
    rect.SetAutoShapeType(ShapePentagon);
    EXPECT_EQ(label.AutoShapeType(), 19);
    EXPECT_EQ(rect.AutoShapeType(), 51);
    EXPECT_THROW(line.SetAutoShapeType(ShapeRectangle), HostError);
    EXPECT_THROW(rect.SetAutoShapeType(9999), HostError);
    EXPECT_THROW(shapes().AddShape(9999, 0, 0, 10, 10), HostError);
}

TEST_F(HostFixture, TextJoinsParagraphsWithCrLfAndCharactersAddressPartsOfIt) {
    Shape s = shapes().AddShape(ShapeRectangle, 0, 0, 100, 10);
    TextRangeFormat text = s.TextFrame().TextRange();
    text.SetText(QStringLiteral("one\ntwo\rthree\r\nfour"));
    EXPECT_EQ(text.Text(), QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));

    text.SetText(QStringLiteral("Cat:Tom"));
    EXPECT_EQ(text.Characters(5, 3).Text(), QStringLiteral("Tom"));
    EXPECT_EQ(text.Characters(1, 0).Text(), QString());
    text.Characters(5, 3).SetText(QStringLiteral("Felix"));
    EXPECT_EQ(text.Text(), QStringLiteral("Cat:Felix"));
    text.Characters(1, 0).SetText(QStringLiteral("("));
    EXPECT_EQ(text.Text(), QStringLiteral("(Cat:Felix"));
    EXPECT_THROW(text.Characters(0, 1), HostError);

    EXPECT_THROW(text.Font().SetSize(0), HostError);
}

TEST_F(HostFixture, SelectingATextRangeSetsTheWindowSelectionAndUnselectClearsIt) {
    Shape s = shapes().AddShape(ShapeRectangle, 0, 0, 100, 10);
    s.TextFrame().TextRange().SetText(QStringLiteral("Comment"));
    s.TextFrame().TextRange().Characters(1, 0).Select();
    Selection selection = window().Selection();
    EXPECT_TRUE(selection.SelectedShape() == s);
    EXPECT_EQ(selection.Start(), 1);
    EXPECT_EQ(selection.Length(), 0);

    s.TextFrame().TextRange().Select();
    EXPECT_EQ(selection.Length(), 7);

    selection.Unselect();
    EXPECT_TRUE(selection.SelectedShape().IsNothing());
    EXPECT_FALSE(selection.HasTextRange());

    // Deleting the selected shape clears the selection too.
    s.TextFrame().TextRange().Select();
    s.Delete();
    EXPECT_FALSE(selection.HasTextRange());
}

TEST_F(HostFixture, ArrowheadsAndTheShapeDefaults) {
    Shape line = shapes().AddConnector(ConnectorStraight, 0, 0, 10, 10);
    EXPECT_EQ(line.Line().EndArrowheadStyle(), ArrowheadNone);
    EXPECT_EQ(line.Line().BeginArrowheadStyle(), ArrowheadNone);
    EXPECT_THROW(line.Line().SetEndArrowheadStyle(0), HostError);

    // The formatting of one shape becomes the default for shapes added next.
    Shape model = shapes().AddShape(ShapeRectangle, 0, 0, 50, 50);
    model.Fill().ForeColor().SetRGB(0x00123456);
    model.TextFrame().TextRange().Font().SetName(QStringLiteral("Liberation Mono"));
    model.SetShapesDefaultProperties();
    Shape next = shapes().AddShape(ShapeDiamond, 0, 0, 50, 50);
    EXPECT_EQ(next.Fill().ForeColor().RGB(), 0x00123456);
    EXPECT_EQ(next.TextFrame().TextRange().Font().Name(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(next.AutoShapeType(), ShapeDiamond);
}

TEST_F(HostFixture, RangeDeleteRemovesEveryShapeOfTheSlide) {
    const Shape a = shapes().AddShape(ShapeRectangle, 0, 0, 50, 20);
    Shape b = shapes().AddShape(ShapeOval, 100, 0, 50, 20);
    const Shape arc = connect(a, b);
    Slide other = presentation.Slides().Add(2, LayoutBlank);
    other.Shapes().AddShape(ShapeRectangle, 0, 0, 10, 10);

    ShapeRange range = shapes().Range();
    EXPECT_EQ(range.Count(), 3);
    b.Delete(); // already gone when the range is deleted: skipped
    range.Delete();
    EXPECT_EQ(shapes().Count(), 0);
    EXPECT_THROW(a.Name(), HostError);
    EXPECT_THROW(arc.Name(), HostError);
    EXPECT_EQ(other.Shapes().Count(), 1);
}

} // namespace
} // namespace zov::host::test
