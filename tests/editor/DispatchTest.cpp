// The run key: slide measurement, the pointer-to-slide map, the dispatch by command mode and
// what the dispatcher does to the text box afterwards.
#include "EditorFixture.h"

#include "editor/EditorMessages.h"

#include <limits>

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;

TEST(SlideGeometryTest, RoundsHalvesToEvenAndStaysWithin16Bits) {
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(3.5), 4);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(-3.5), -4);
    EXPECT_EQ(RoundToInt16(7.4999), 7);
    EXPECT_EQ(RoundToInt16(1e9), 32767);
    EXPECT_EQ(RoundToInt16(-1e9), -32768);
    EXPECT_EQ(RoundToInt16(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(SlideGeometryTest, MapsPixelsLinearlyBetweenTheCorners) {
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

    // A page height between two points is held rounded half to even.
    presentation.PageSetup().SetSlideHeight(540.5f);
    ASSERT_TRUE(session.MeasureSlide());
    EXPECT_EQ(session.SlideGeometry().HeightPoints, 540);
}

TEST_F(DispatchTest, ConceptKeepsThePointerPositionWhileOtherNodesRoundTheirTop) {
    AddGraph();
    window.SetViewTransform(0, 0, 2.0); // every odd pixel lies half-way between two points
    cursor.setPosition(QPoint(201, 101));
    Run(CommandCode::NewConcept, QStringLiteral("Cat"));
    host::Shape cat = LastShape();
    EXPECT_FLOAT_EQ(cat.Left(), 100.5f);
    EXPECT_FLOAT_EQ(cat.Top(), 50.5f);

    cursor.setPosition(QPoint(401, 101)); // top 50.5 -> 50
    Run(CommandCode::NewRelation, QStringLiteral("On"));
    EXPECT_FLOAT_EQ(LastShape().Left(), 200.5f);
    EXPECT_FLOAT_EQ(LastShape().Top(), 50);

    cursor.setPosition(QPoint(601, 103)); // top 51.5 -> 52
    Run(CommandCode::NewActor, QStringLiteral("Plus"));
    EXPECT_FLOAT_EQ(LastShape().Left(), 300.5f);
    EXPECT_FLOAT_EQ(LastShape().Top(), 52);

    cursor.setPosition(QPoint(801, 105)); // top 52.5 -> 52
    Run(CommandCode::Comment, QString());
    EXPECT_FLOAT_EQ(LastShape().Left(), 400.5f);
    EXPECT_FLOAT_EQ(LastShape().Top(), 52);
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
}

TEST_F(DispatchTest, RunningTwiceDrawsOnceThenReportsTheEmptyLabel) {
    AddGraph();
    textBox.ResetFocusCount();
    session.SetCommandMode(CommandCode::NewConcept);
    EXPECT_EQ(session.CommandMode(), CommandCode::NewConcept);
    textBox.SetText(QStringLiteral("Cat"));
    PointAt(200, 200);
    session.RunCommandAtPointer();
    EXPECT_EQ(ShapeCount(), 2);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(textBox.FocusCount(), 1);

    session.RunCommandAtPointer();
    EXPECT_EQ(ShapeCount(), 2);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], msg::NoLabel, msg::ErrorTitle, MessageIcon::Critical);
    EXPECT_EQ(textBox.FocusCount(), 2);
}

TEST_F(DispatchTest, SettingTheModeClearsTheTextBox) {
    textBox.SetText(QStringLiteral("left over"));
    session.SetCommandMode(CommandCode::Jump);
    EXPECT_EQ(session.CommandMode(), CommandCode::Jump);
    EXPECT_EQ(textBox.Text(), QString());
}

TEST_F(DispatchTest, LinkLabelAndCommentLeaveTheTextBoxAloneOtherModesClearAndFocusIt) {
    AddGraph();
    for (const std::int16_t mode : {CommandCode::Link, CommandCode::ChangeLabel, CommandCode::Comment}) {
        session.SetCommandMode(mode);
        textBox.SetText(QStringLiteral("kept"));
        textBox.ResetFocusCount();
        PointAt(600, 500); // empty area
        session.RunCommandAtPointer();
        EXPECT_EQ(textBox.Text(), QStringLiteral("kept")) << "mode " << mode;
        EXPECT_EQ(textBox.FocusCount(), 0) << "mode " << mode;
    }
    // Link and change label found only the title label on the slide.
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    ExpectMessage(shown[0], msg::NoBoxes, msg::AppTitle, MessageIcon::Critical);
    ExpectMessage(shown[1], msg::NoBoxes, msg::AppTitle, MessageIcon::Critical);
    // A code no command has runs nothing, but the text box is still cleared and focused.
    const int before = ShapeCount();
    session.SetCommandMode(9);
    textBox.SetText(QStringLiteral("gone"));
    textBox.ResetFocusCount();
    session.RunCommandAtPointer();
    EXPECT_EQ(ShapeCount(), before);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(textBox.FocusCount(), 1);
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
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
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    // The commands that act on a shape find none and say nothing.
    for (const std::int16_t mode : {CommandCode::Link, CommandCode::ChangeLabel, CommandCode::Jump})
        RunAt(mode, QString(), 10, 10);
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());

    host::Application empty;
    EditorSession lonely(empty, settings, boxes, cursor);
    lonely.SetTextBox(&textBox);
    textBox.SetText(QStringLiteral("Cat"));
    lonely.RunCommandAtPointer();
    shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], msg::NoPresentationWindow, msg::AppTitle, MessageIcon::Critical);
    EXPECT_EQ(textBox.Text(), QStringLiteral("Cat"));
}

} // namespace
} // namespace zov::editor::testing
