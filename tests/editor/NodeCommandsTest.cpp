// Concepts, relations, actors and comments drawn from the text box at the pointer.
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"
#include "support/CaseFiles.h"

#include <map>

namespace zov::editor::testing {
namespace {

class NodeCommandsTest : public EditorTest {
public:
    NodeCommandsTest() { AddGraph(); }
    void TestBody() override {}
    using EditorTest::RunAt, EditorTest::ShapeCount, EditorTest::TakeMessages, EditorTest::TextOf, EditorTest::settings, EditorTest::window,
        EditorTest::AddGraph, EditorTest::presentation, EditorTest::textBox;
};

// The cases of tests/cases/editor: commands typed into the text box and run at the pointer (or
// Add graph), traced as the shapes and slides they draw, the boxes they show and the text left
// in the text box. Every node is drawn in the node font.
TEST(NodeCommandCases, CaseFiles) {
    const std::map<QString, std::int16_t> modes = {{QStringLiteral("concept"), CommandCode::NewConcept},
                                                   {QStringLiteral("relation"), CommandCode::NewRelation},
                                                   {QStringLiteral("actor"), CommandCode::NewActor}};
    using T = NodeCommandsTest;
    static const QRegularExpression id(QStringLiteral("[A-Z]{8}$"));
    for (const test::Case& c : test::LoadCases(QStringLiteral("editor"))) {
        NodeCommandsTest t; // a fresh presentation for every case
        t.settings.conceptColor = 0x00123456; // read when drawing
        t.settings.relationColor = 0x00010203;
        t.settings.actorColor = 0x00AABBCC;
        t.settings.nodeFontName = QStringLiteral("DejaVu Sans");
        t.settings.nodeFontSize = 20;
        QStringList trace;
        double top = 100;
        for (const QString& command : c.input.split(u'\n')) {
            const int before = t.ShapeCount();
            const int slidesBefore = t.presentation.Slides().Count();
            if (command.startsWith(QStringLiteral("graph")))
                t.AddGraph(command.section(u' ', 1));
            else
                t.RunAt(modes.at(command.section(u' ', 0, 0)), command.section(u' ', 1), 200, top += 60);
            for (int i = slidesBefore + 1; i <= t.presentation.Slides().Count(); ++i) {
                const host::Slide slide = t.presentation.Slides().Item(i);
                trace << QStringLiteral("slide ") + slide.Name() + QStringLiteral(" [") + T::TextOf(slide.Shapes().Item(1)) + u']';
            }
            if (t.presentation.Slides().Count() > slidesBefore)
                continue;
            for (int i = before + 1; i <= t.ShapeCount(); ++i) {
                const host::Shape shape = t.window.View().Slide().Shapes().Item(i);
                const QString colour = QString::number(shape.Fill().ForeColor().RGB(), 16).rightJustified(6, u'0').toUpper();
                trace << QString::number(shape.AutoShapeType()) + u' ' + QString(shape.Name()).replace(id, QStringLiteral("ID")) +
                             u' ' + colour + QStringLiteral(" [") + T::TextOf(shape) + u']';
                EXPECT_EQ(shape.TextFrame().TextRange().Font().Name(), QStringLiteral("DejaVu Sans")) << c.where();
                EXPECT_EQ(shape.TextFrame().TextRange().Font().Size(), 20) << c.where();
            }
            for (const Message& m : t.TakeMessages())
                trace << QStringLiteral("box ") +
                             (m.icon == MessageIcon::Critical      ? QStringLiteral("critical ")
                              : m.icon == MessageIcon::Information ? QStringLiteral("information ")
                                                                    : QStringLiteral("other ")) +
                             m.title + QStringLiteral(": ") + m.text;
            if (!t.textBox.Text().isEmpty())
                trace << QStringLiteral("text box [") + t.textBox.Text() + u']';
        }
        EXPECT_EQ(test::Lines(trace), test::Lines(c.expected)) << c.where();
    }
}

TEST_F(NodeCommandsTest, CommentIsASelectedPlaceholderInTheCommentLook) {
    settings.commentColor = 0x00FEDCBA;
    settings.commentFontName = QStringLiteral("DejaVu Serif");
    settings.commentFontSize = 14;
    session.SetCommandMode(CommandCode::Comment);
    textBox.SetText(QStringLiteral("not used"));
    PointAt(150, 300);
    session.RunCommandAtPointer();

    const host::Shape comment = LastShape();
    EXPECT_EQ(comment.AutoShapeType(), drawing::CommentShapeType);
    EXPECT_TRUE(IsNodeId(comment.Name()));
    EXPECT_EQ(TextOf(comment), QStringLiteral("Comment"));
    EXPECT_EQ(comment.TextFrame().TextRange().Font().Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(comment.TextFrame().TextRange().Font().Size(), 14);
    EXPECT_EQ(comment.Fill().ForeColor().RGB(), 0x00FEDCBA);
    EXPECT_TRUE(window.Selection().SelectedShape() == comment);
    EXPECT_EQ(window.Selection().Length(), 7);
    EXPECT_EQ(textBox.Text(), QStringLiteral("not used"));
    // Its look becomes the default of the shapes added next.
    ASSERT_NE(presentation.data().shapeDefaults, nullptr);
    EXPECT_EQ(presentation.data().shapeDefaults->fillRgb, 0x00FEDCBAu);
}

TEST_F(NodeCommandsTest, ANestedGraphWithArcsGetsASlideAndTheConceptPointsToIt) {
    const host::Shape proposition = Draw(
        CommandCode::NewConcept, QStringLiteral("Proposition: [Cat *x] (On ?x [Mat])"), 100, 100);
    ExpectNoMessage();
    ASSERT_EQ(presentation.Slides().Count(), 2);
    EXPECT_EQ(ShownSlideIndex(), 1); // drawn where the command started
    const host::Slide nested = presentation.Slides().Item(2);
    EXPECT_EQ(proposition.AutoShapeType(), drawing::CoreferentConceptShapeType);
    EXPECT_EQ(proposition.Name().section(u'/', 0, 0), nested.Name());
    EXPECT_EQ(TextOf(proposition), QStringLiteral("Proposition(") + nested.Name() + u')');
    // Title, two concepts, the relation and its two arcs.
    EXPECT_EQ(nested.Shapes().Count(), 6);
}

} // namespace
} // namespace zov::editor::testing
