// The run key: slide measurement, the pointer-to-slide map, the dispatch by command mode and
// what the dispatcher does to the text box afterwards.
#include "EditorFixture.h"

#include "editor/EditorMessages.h"

#include <limits>

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;

TEST(SlideGeometryTest, RoundsHalvesToEvenWithin16BitsAndMapsPixelsLinearly) {
    const std::pair<double, int> rounding[] = {{2.5, 2},      {3.5, 4},        {-2.5, -2}, {-3.5, -4}, {7.4999, 7},
                                               {1e9, 32767}, {-1e9, -32768}, {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto& [value, expected] : rounding)
        EXPECT_EQ(RoundToInt16(value), expected) << value;

    const SlideGeometry geometry{100, 50, 820, 590, 720, 540};
    const SlidePoint at = ToSlidePoints(geometry, 460, 320);
    EXPECT_DOUBLE_EQ(at.Left, 360);
    EXPECT_DOUBLE_EQ(at.Top, 270);
    const SlidePoint outside = ToSlidePoints(geometry, 0, 700);
    EXPECT_DOUBLE_EQ(outside.Left, -100);
    EXPECT_DOUBLE_EQ(outside.Top, 650);
    // Corners that coincide give 0 rather than a division by zero.
    const SlidePoint flat = ToSlidePoints(SlideGeometry{5, 5, 5, 5, 720, 540}, 9, 9);
    EXPECT_EQ(flat.Left, 0);
    EXPECT_EQ(flat.Top, 0);
}

using DispatchTest = EditorTest;

TEST_F(DispatchTest, MeasuresTheSlideFromTheWindowAndPutsItInNormalView) {
    presentation.Slides().Add(1, host::LayoutBlank);
    window.SetViewTransform(40, 30, 0.5);
    window.SetViewType(7);
    presentation.PageSetup().SetSlideHeight(540.5f); // held rounded half to even
    ASSERT_TRUE(session.MeasureSlide());
    const SlideGeometry& g = session.SlideGeometry();
    EXPECT_EQ(g.OriginX, 40);
    EXPECT_EQ(g.OriginY, 30);
    EXPECT_EQ(g.EndX, 400);
    EXPECT_EQ(g.EndY, 300);
    EXPECT_EQ(g.WidthPoints, 720);
    EXPECT_EQ(g.HeightPoints, 540);
    EXPECT_EQ(window.ViewType(), host::ViewNormal);
    EXPECT_EQ(window.ActivePane().ViewType(), host::ViewSlide);
}

TEST_F(DispatchTest, ConceptKeepsThePointerPositionWhileOtherNodesRoundTheirTop) {
    AddGraph();
    window.SetViewTransform(0, 0, 2.0); // every odd pixel lies half-way between two points
    struct Case {
        std::int16_t mode;
        const char* text;
        QPoint pixel;
        float left, top;
    };
    const Case cases[] = {
        {CommandCode::NewConcept, "Cat", {201, 101}, 100.5f, 50.5f},
        {CommandCode::NewRelation, "On", {401, 101}, 200.5f, 50}, // 50.5 -> 50
        {CommandCode::NewActor, "Plus", {601, 103}, 300.5f, 52},  // 51.5 -> 52
        {CommandCode::Comment, "", {801, 105}, 400.5f, 52},       // 52.5 -> 52
    };
    for (const Case& c : cases) {
        cursor.setPosition(c.pixel);
        Run(c.mode, QString::fromUtf8(c.text));
        EXPECT_FLOAT_EQ(LastShape().Left(), c.left) << c.mode;
        EXPECT_FLOAT_EQ(LastShape().Top(), c.top) << c.mode;
    }
    ExpectNoMessage();
}

TEST_F(DispatchTest, NodeCommandsClearAndFocusTheTextBoxLinkLabelAndCommentLeaveIt) {
    AddGraph();
    textBox.SetText(QStringLiteral("left over"));
    session.SetCommandMode(CommandCode::NewConcept);
    EXPECT_EQ(session.CommandMode(), CommandCode::NewConcept);
    EXPECT_EQ(textBox.Text(), QString()); // choosing a mode clears the box
    textBox.SetText(QStringLiteral("Cat"));
    textBox.ResetFocusCount();
    PointAt(200, 200);
    session.RunCommandAtPointer();
    EXPECT_EQ(ShapeCount(), 2);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(textBox.FocusCount(), 1);
    // Running again finds the box empty.
    session.RunCommandAtPointer();
    EXPECT_EQ(ShapeCount(), 2);
    ExpectOnly(msg::NoLabel, msg::ErrorTitle);
    EXPECT_EQ(textBox.FocusCount(), 2);

    for (const std::int16_t mode : {CommandCode::Link, CommandCode::ChangeLabel, CommandCode::Comment}) {
        session.SetCommandMode(mode);
        textBox.SetText(QStringLiteral("kept"));
        textBox.ResetFocusCount();
        PointAt(600, 500); // empty area
        session.RunCommandAtPointer();
        EXPECT_EQ(textBox.Text(), QStringLiteral("kept")) << "mode " << mode;
        EXPECT_EQ(textBox.FocusCount(), 0) << "mode " << mode;
        TakeMessages();
    }
    // A code no command has runs nothing, but the text box is still cleared and focused.
    const int before = ShapeCount();
    session.SetCommandMode(9);
    textBox.SetText(QStringLiteral("gone"));
    textBox.ResetFocusCount();
    session.RunCommandAtPointer();
    EXPECT_EQ(ShapeCount(), before);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(textBox.FocusCount(), 1);
    ExpectNoMessage();
}

TEST_F(DispatchTest, EveryRunEndsWithANodeTableRebuild) {
    AddGraph();
    session.Reader().ClearReaderTables();
    session.SetCommandMode(9); // runs nothing
    session.RunCommandAtPointer();
    ASSERT_EQ(session.Reader().Tables().BoundArray.size(), 1u);
    EXPECT_EQ(session.Reader().Tables().BoundArray[0].Name, QStringLiteral("G1"));
    // A refused command rebuilds as well: the concept record of the failed read is gone.
    RunAt(CommandCode::NewConcept, QStringLiteral("Cat Dog"), 200, 200);
    EXPECT_EQ(session.Reader().Tables().BoundArray.size(), 1u);
}

TEST_F(DispatchTest, AWindowlessHostOrSlidelessPresentationIsReportedNotCrashed) {
    // No slide yet: the node command cannot draw.
    RunAt(CommandCode::NewConcept, QStringLiteral("Cat"), 10, 10);
    auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.startsWith(msg::CommandFailed));
    EXPECT_EQ(shown[0].title, msg::AppTitle);
    // The commands that act on a shape find none and say nothing.
    for (const std::int16_t mode : {CommandCode::Link, CommandCode::ChangeLabel, CommandCode::Jump})
        RunAt(mode, QString(), 10, 10);
    ExpectNoMessage();

    host::Application empty;
    EditorSession lonely(empty, settings, boxes, cursor);
    lonely.SetTextBox(&textBox);
    textBox.SetText(QStringLiteral("Cat"));
    lonely.RunCommandAtPointer();
    ExpectOnly(msg::NoPresentationWindow, msg::AppTitle);
    EXPECT_EQ(textBox.Text(), QStringLiteral("Cat"));
}

} // namespace
} // namespace zov::editor::testing
