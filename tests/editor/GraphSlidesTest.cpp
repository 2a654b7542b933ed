// Add graph, clear graph, show graph, and the title split they share.
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;

using GraphSlidesTest = EditorTest;

QString TitleText(const host::Slide& slide) {
    return slide.Shapes().Item(1).TextFrame().TextRange().Text();
}

TEST_F(GraphSlidesTest, AddGraphWithoutTextNumbersTheGraphsPassingOverNamesInUse) {
    presentation.Slides().Add(1, host::LayoutBlank).SetName(QStringLiteral("G2"));
    textBox.ResetFocusCount();
    const host::Slide g1 = AddGraph();
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(textBox.FocusCount(), 1);
    const host::Slide g3 = AddGraph();
    EXPECT_EQ(presentation.Slides().Count(), 3);
    EXPECT_EQ(g1.Name(), QStringLiteral("G1"));
    EXPECT_EQ(g3.Name(), QStringLiteral("G3"));
    EXPECT_EQ(ShownSlideIndex(), 3);
    EXPECT_EQ(TitleText(g3), QStringLiteral("G3 is Graph"));

    const host::Shape title = g1.Shapes().Item(1);
    EXPECT_EQ(g1.Shapes().Count(), 1);
    EXPECT_EQ(TitleText(g1), QStringLiteral("G1 is Graph"));
    EXPECT_EQ(title.AutoShapeType(), drawing::TitleLabelShapeType);
    EXPECT_TRUE(IsNodeId(title.Name()));
    EXPECT_FLOAT_EQ(title.Left(), 0);
    EXPECT_FLOAT_EQ(title.Top(), 0);
    EXPECT_EQ(title.TextFrame().TextRange().Font().Name(), QStringLiteral("Arial"));
    EXPECT_EQ(title.TextFrame().TextRange().Font().Size(), 24);
    EXPECT_FALSE(window.Selection().HasTextRange());
    ExpectNoMessage();
}

TEST_F(GraphSlidesTest, AddGraphRecordsTheGraphAndSplitsTitlesWithoutStarFromTheTextBox) {
    AddGraph(QStringLiteral("Dog"));
    const auto& nodes = session.Reader().Tables().BoundArray;
    ASSERT_FALSE(nodes.empty());
    const cgif::NodeRecord& graph = nodes.back();
    EXPECT_EQ(graph.Kind, cgif::NodeKind::Graph);
    EXPECT_EQ(graph.Name, QStringLiteral("Dog"));
    EXPECT_EQ(graph.Type, QStringLiteral("Graph"));
    EXPECT_EQ(graph.GraphNumber, 1);
    EXPECT_EQ(graph.Id, window.View().Slide().Shapes().Item(1).Name());
    EXPECT_EQ(session.Reader().GraphCounter(), 2);

    session.SplitGraphTitle(QStringLiteral("Proposition *p1"));
    EXPECT_EQ(session.Reader().GraphTitleName(), QStringLiteral("p1"));
    EXPECT_EQ(session.Reader().GraphTitleType(), QStringLiteral("Proposition"));
    textBox.SetText(QStringLiteral("  From the box\t "));
    session.SplitGraphTitle(QStringLiteral("ignored"));
    EXPECT_EQ(session.Reader().GraphTitleName(), QStringLiteral("From the box\t"));
    EXPECT_EQ(session.Reader().GraphTitleType(), QStringLiteral("Graph"));
}

TEST_F(GraphSlidesTest, ShowGraphGoesByExactName) {
    AddGraph(QStringLiteral("Dog"));
    AddGraph(QStringLiteral("Cat"));
    for (const QString& wrong : {QStringLiteral("dog"), QStringLiteral(" Dog"), QString()}) {
        textBox.ResetFocusCount();
        session.GoToGraph(wrong);
        ExpectOnly(msg::NoGraphWithThatName, msg::AppTitle);
        EXPECT_EQ(ShownSlideIndex(), 2);
        EXPECT_EQ(textBox.FocusCount(), 1);
    }
    textBox.SetText(QStringLiteral("Dog"));
    session.GoToGraph(textBox.Text());
    EXPECT_EQ(ShownSlideIndex(), 1);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(session.FindGraphSlide(QStringLiteral("Cat")), 2);
    EXPECT_EQ(session.FindGraphSlide(QStringLiteral("Cow")), 0);
}

TEST_F(GraphSlidesTest, ClearGraphLeavesAFreshTitleWithTheSameText) {
    const host::Slide g1 = AddGraph(QStringLiteral("Proposition *p1"));
    const QString oldId = g1.Shapes().Item(1).Name();
    Draw(CommandCode::NewConcept, QStringLiteral("Cat"), 100, 100);
    Draw(CommandCode::NewRelation, QStringLiteral("On"), 300, 100);
    textBox.SetText(QStringLiteral("typed"));
    textBox.ResetFocusCount();
    session.ClearGraphSlide();
    session.Reader().ClearReaderTables();

    ASSERT_EQ(g1.Shapes().Count(), 1);
    const host::Shape title = g1.Shapes().Item(1);
    EXPECT_EQ(TitleText(g1), QStringLiteral("p1 is Proposition"));
    EXPECT_EQ(title.AutoShapeType(), drawing::TitleLabelShapeType);
    EXPECT_TRUE(IsNodeId(title.Name()));
    EXPECT_NE(title.Name(), oldId);
    EXPECT_EQ(title.TextFrame().TextRange().Font().Size(), 24);
    EXPECT_EQ(textBox.Text(), QStringLiteral("typed"));
    EXPECT_EQ(textBox.FocusCount(), 1);
    EXPECT_TRUE(session.Reader().Tables().BoundArray.empty());

    session.RebuildNodeTables();
    ASSERT_EQ(session.Reader().Tables().BoundArray.size(), 1u);
    EXPECT_EQ(session.Reader().Tables().BoundArray[0].Name, QStringLiteral("p1"));

    // An empty slide stays empty; only the focus moves.
    presentation.Slides().Add(2, host::LayoutBlank);
    window.View().GotoSlide(2);
    session.ClearGraphSlide();
    EXPECT_EQ(window.View().Slide().Shapes().Count(), 0);
    EXPECT_EQ(textBox.FocusCount(), 2);
    ExpectNoMessage();
}

} // namespace
} // namespace zov::editor::testing
