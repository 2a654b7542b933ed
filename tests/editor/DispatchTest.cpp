// The run key: slide measurement, the pointer-to-slide map, where each node lands, a host
// without a window, and the comment's look (the rest of the dispatch is in the editor's
// scripts, tests/cases/editor).
#include "EditorFixture.h"

#include "editor/EditorMessages.h"
#include "editor/NodeTables.h"

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

// A host without a window is reported, and the typed text stays.
TEST_F(DispatchTest, AWindowlessHostIsReportedNotCrashed) {
    host::Application empty;
    EditorSession lonely(empty, settings, boxes, cursor);
    lonely.SetTextBox(&textBox);
    textBox.SetText(QStringLiteral("Cat"));
    lonely.RunCommandAtPointer();
    ExpectOnly(msg::NoPresentationWindow, msg::AppTitle);
    EXPECT_EQ(textBox.Text(), QStringLiteral("Cat"));
    // Without a presentation the node tables are emptied and nothing is read.
    lonely.Reader().Tables().Links.push_back({cgif::NodeId(QStringLiteral("A")), cgif::NodeId(QStringLiteral("B"))});
    RebuildNodeTables(host::Presentation(), lonely.Reader());
    EXPECT_TRUE(lonely.Reader().Tables().Links.empty());
}

// A comment is a selected placeholder in the comment look, which becomes the default of the
// shapes added next; the text box is left as it was.
TEST_F(DispatchTest, CommentIsASelectedPlaceholderInTheCommentLook) {
    AddGraph();
    settings.commentColor = 0x00FEDCBA;
    settings.commentFontName = QStringLiteral("DejaVu Serif");
    settings.commentFontSize = 14;
    Run(CommandCode::Comment, QStringLiteral("not used"));
    const host::Shape comment = LastShape();
    EXPECT_EQ(comment.TextFrame().TextRange().Font().Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(comment.TextFrame().TextRange().Font().Size(), 14);
    EXPECT_EQ(comment.Fill().ForeColor().RGB(), 0x00FEDCBA);
    EXPECT_TRUE(window.Selection().SelectedShape() == comment);
    EXPECT_EQ(window.Selection().Length(), 7);
    ASSERT_NE(presentation.data().shapeDefaults, nullptr);
    EXPECT_EQ(presentation.data().shapeDefaults->fillRgb, 0x00FEDCBAu);
}

} // namespace
} // namespace zov::editor::testing
