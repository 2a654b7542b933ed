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

struct Role {
    int type;
    std::int32_t DrawingSettings::*color;
    const char* label;
};

TEST_F(NodeShapeTest, DrawsEachRoleWithItsTypeNameTextColourAndNodeFont) {
    settings.nodeFontName = QStringLiteral("Liberation Serif");
    settings.nodeFontSize = 20;
    settings.actorColor = 0x00123456;
    const Role roles[] = {
        {ConceptShapeType, &DrawingSettings::conceptColor, "Cat:Tom"},
        {CoreferentConceptShapeType, &DrawingSettings::conceptColor, "Cat:*x"},
        {RelationShapeType, &DrawingSettings::relationColor, "Agnt"},
        {ActorShapeType, &DrawingSettings::actorColor, "Plus"},
        {CommentShapeType, &DrawingSettings::commentColor, "a remark"},
    };
    float top = 10;
    for (const Role& role : roles) {
        const QString name = QStringLiteral("x1/") + QString::number(role.type);
        const host::Shape shape = CreateNodeShape(app, settings, name, role.type, QString::fromUtf8(role.label),
                                                  50, top, settings.*role.color);
        ASSERT_FALSE(shape.IsNothing()) << role.type;
        EXPECT_EQ(shape.AutoShapeType(), role.type);
        EXPECT_EQ(shape.Name(), name);
        EXPECT_EQ(shape.TextFrame().TextRange().Text(), QString::fromUtf8(role.label));
        EXPECT_EQ(shape.Fill().ForeColor().RGB(), settings.*role.color);
        EXPECT_TRUE(shape.Fill().Visible());
        EXPECT_EQ(shape.TextFrame().TextRange().Font().Name(), QStringLiteral("Liberation Serif"));
        EXPECT_FLOAT_EQ(shape.TextFrame().TextRange().Font().Size(), 20.0f);
        EXPECT_EQ(shape.TextFrame().AutoSize(), host::AutoSizeShapeToFitText);
        EXPECT_GT(shape.Height(), NodeShapeInitialHeight); // fitted to the text
        EXPECT_FLOAT_EQ(shape.Left(), 50.0f);
        EXPECT_FLOAT_EQ(shape.Top(), top);
        top += 60;
    }
    EXPECT_EQ(shapes().Count(), 5);
    EXPECT_EQ(shapes().Item(3).Name(), QStringLiteral("x1/9")); // creation order
    EXPECT_TRUE(app.ActiveWindow().Selection().SelectedShape().IsNothing());
}

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
