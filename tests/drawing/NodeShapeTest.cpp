// Drawing one node shape: the actor mark, and failures part way (the shapes of each role are
// in tests/cases/cgif_import/shapes.case).
#include "drawing/GraphEncoding.h"
#include "drawing/NodeShape.h"
#include "host/Application.h"
#include "host/Presentation.h"

#include <gtest/gtest.h>
#include <tuple>

namespace zov::drawing {
namespace {

class NodeShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::Presentation presentation = app.Presentations().Add();
        presentation.Slides().Add(1, host::LayoutBlank);
        app.ActiveWindow().View().GotoSlide(1);
    }

    host::Shapes shapes() { return app.ActiveWindow().View().Slide().Shapes(); }

    host::Application app;
    DrawingSettings settings;
};

TEST_F(NodeShapeTest, ActDFDrawsFiveBlanksAndOnlyThatExactLabelIsReplaced) {
    const std::tuple<int, const char*, const char*> cases[] = {
        {ActorMarkShapeType, "ActDF", "     "}, {ActorShapeType, "ActDF", "     "}, {ActorShapeType, "actdf", "actdf"}};
    for (const auto& [type, label, drawn] : cases) {
        const host::Shape s = CreateNodeShape(app, settings, QStringLiteral("QKXBAMEW"), type, QString::fromUtf8(label), 10, 10,
                                              settings.actorColor);
        EXPECT_EQ(s.TextFrame().TextRange().Text(), QString::fromUtf8(drawn)) << type << " " << label;
    }
}

TEST_F(NodeShapeTest, FailureAfterAddingLeavesTheHalfMadeShapeAndReturnsNone) {
    // The host refuses a font size of 0 points, so drawing stops at the font step.
    settings.nodeFontSize = 0;
    const host::Shape result = CreateNodeShape(app, settings, QStringLiteral("x2/ABCDEFGH"), ConceptShapeType,
                                               QStringLiteral("Cat"), 30, 40, settings.conceptColor);
    EXPECT_TRUE(result.IsNothing());

    ASSERT_EQ(shapes().Count(), 1);
    const host::Shape halfMade = shapes().Item(1);
    EXPECT_EQ(halfMade.Name(), QStringLiteral("x2/ABCDEFGH"));
    EXPECT_EQ(halfMade.TextFrame().TextRange().Text(), QStringLiteral("Cat"));
    EXPECT_EQ(halfMade.Fill().ForeColor().RGB(), settings.conceptColor);
    // The steps after the failure did not run: no auto-size, and the text is still selected.
    EXPECT_NE(halfMade.TextFrame().AutoSize(), host::AutoSizeShapeToFitText);
    EXPECT_FLOAT_EQ(halfMade.Width(), NodeShapeInitialWidth);
    EXPECT_TRUE(app.ActiveWindow().Selection().SelectedShape() == halfMade);

    // An empty font name ends the drawing the same way.
    settings.nodeFontSize = 18;
    settings.nodeFontName.clear();
    EXPECT_TRUE(CreateNodeShape(app, settings, QStringLiteral("ABCDEFGH"), RelationShapeType,
                                QStringLiteral("Agnt"), 0, 0, settings.relationColor).IsNothing());
    EXPECT_EQ(shapes().Count(), 2);
}

TEST_F(NodeShapeTest, FailureWhileAddingReachesTheCaller) {
    host::Application empty; // no presentation, no window
    EXPECT_THROW(CreateNodeShape(empty, settings, QStringLiteral("AAAAAAAA"), ConceptShapeType,
                                 QStringLiteral("Cat"), 0, 0, settings.conceptColor),
                 host::HostError);

    // A window whose presentation has no slide in view.
    host::Application noSlide;
    noSlide.Presentations().Add();
    EXPECT_THROW(CreateNodeShape(noSlide, settings, QStringLiteral("AAAAAAAA"), ConceptShapeType,
                                 QStringLiteral("Cat"), 0, 0, settings.conceptColor),
                 host::HostError);
}

} // namespace
} // namespace zov::drawing
