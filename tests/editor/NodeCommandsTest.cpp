// Concepts, relations, actors and comments drawn from the text box at the pointer.
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;

class NodeCommandsTest : public EditorTest {
protected:
    NodeCommandsTest() { AddGraph(); }
};

TEST_F(NodeCommandsTest, ConceptIsARectangleLabelledTypeColonReferent) {
    settings.conceptColor = 0x00123456; // read when drawing
    settings.nodeFontName = QStringLiteral("DejaVu Sans");
    settings.nodeFontSize = 20;
    const host::Shape cat = Draw(CommandCode::NewConcept, QStringLiteral("Cat: 'Tom'"), 200, 150);
    EXPECT_EQ(cat.AutoShapeType(), drawing::ConceptShapeType);
    EXPECT_EQ(cat.TextFrame().TextRange().Text(), QStringLiteral("Cat:'Tom'"));
    EXPECT_TRUE(IsNodeId(cat.Name())) << cat.Name().toStdString();
    EXPECT_EQ(cat.Fill().ForeColor().RGB(), 0x00123456);
    EXPECT_EQ(cat.TextFrame().TextRange().Font().Name(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(cat.TextFrame().TextRange().Font().Size(), 20);
    EXPECT_FLOAT_EQ(cat.Left(), 200);
    EXPECT_FLOAT_EQ(cat.Top(), 150);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());

    const host::Shape plain = Draw(CommandCode::NewConcept, QStringLiteral("Person"), 200, 250);
    EXPECT_EQ(plain.TextFrame().TextRange().Text(), QStringLiteral("Person"));
}

TEST_F(NodeCommandsTest, CoreferenceLabelsGiveAPentagonNamedLabelSlashId) {
    const host::Shape defining = Draw(CommandCode::NewConcept, QStringLiteral("Cat: *x"), 100, 100);
    EXPECT_EQ(defining.AutoShapeType(), drawing::CoreferentConceptShapeType);
    ASSERT_TRUE(defining.Name().startsWith(QStringLiteral("x/")));
    EXPECT_TRUE(IsNodeId(defining.Name().mid(2)));
    EXPECT_EQ(defining.TextFrame().TextRange().Text(), QStringLiteral("Cat(x)"));

    const host::Shape named = Draw(CommandCode::NewConcept, QStringLiteral("Cat: 'Tom' *t"), 100, 200);
    EXPECT_EQ(named.TextFrame().TextRange().Text(), QStringLiteral("Cat:'Tom'(t)"));

    // A label alone is the text: the form a bound reference is written back in.
    const host::Shape bare = Draw(CommandCode::NewConcept, QStringLiteral("*p1"), 100, 300);
    EXPECT_EQ(bare.AutoShapeType(), drawing::CoreferentConceptShapeType);
    EXPECT_EQ(bare.TextFrame().TextRange().Text(), QStringLiteral("p1"));
    EXPECT_TRUE(bare.Name().startsWith(QStringLiteral("p1/")));

    // A bound label resolves against the labels already on the slides.
    const host::Shape bound = Draw(CommandCode::NewConcept, QStringLiteral("Dog: ?x"), 300, 100);
    EXPECT_EQ(bound.AutoShapeType(), drawing::CoreferentConceptShapeType);
    EXPECT_TRUE(bound.Name().startsWith(QStringLiteral("x/")));
    EXPECT_EQ(bound.TextFrame().TextRange().Text(), QStringLiteral("Dog(x)"));
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
}

TEST_F(NodeCommandsTest, RelationIsAnOvalLabelledWithTheIdentifier) {
    settings.relationColor = 0x00010203;
    const host::Shape agnt = Draw(CommandCode::NewRelation, QStringLiteral("Agnt"), 300, 120);
    EXPECT_EQ(agnt.AutoShapeType(), drawing::RelationShapeType);
    EXPECT_EQ(agnt.TextFrame().TextRange().Text(), QStringLiteral("Agnt"));
    EXPECT_EQ(agnt.Fill().ForeColor().RGB(), 0x00010203);
    EXPECT_TRUE(IsNodeId(agnt.Name()));
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());

    const host::Shape extra = Draw(CommandCode::NewRelation, QStringLiteral("Agnt x"), 300, 220);
    EXPECT_EQ(extra.AutoShapeType(), drawing::RelationShapeType);
    EXPECT_EQ(extra.TextFrame().TextRange().Text(), QStringLiteral("Agnt"));
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], msg::ExtraCharactersIgnored, msg::ErrorTitle, MessageIcon::Information);
}

TEST_F(NodeCommandsTest, ActorIsADiamondAndActDFItsFiveBlankMark) {
    settings.actorColor = 0x00AABBCC;
    const host::Shape plus = Draw(CommandCode::NewActor, QStringLiteral("Plus"), 100, 100);
    EXPECT_EQ(plus.AutoShapeType(), drawing::ActorShapeType);
    EXPECT_EQ(plus.TextFrame().TextRange().Text(), QStringLiteral("Plus"));
    EXPECT_EQ(plus.Fill().ForeColor().RGB(), 0x00AABBCC);

    const host::Shape mark = Draw(CommandCode::NewActor, QStringLiteral("ActDF"), 100, 200);
    EXPECT_EQ(mark.AutoShapeType(), drawing::ActorMarkShapeType);
    EXPECT_EQ(mark.TextFrame().TextRange().Text(), QStringLiteral("     "));
    EXPECT_EQ(mark.Fill().ForeColor().RGB(), 0x00AABBCC);
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());

    // Only the whole text "ActDF" makes the mark; the label is still the identifier.
    const host::Shape diamond = Draw(CommandCode::NewActor, QStringLiteral("ActDF x"), 100, 300);
    EXPECT_EQ(diamond.AutoShapeType(), drawing::ActorShapeType);
    EXPECT_EQ(diamond.TextFrame().TextRange().Text(), QStringLiteral("     "));
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], msg::ExtraCharactersIgnored, msg::ErrorTitle, MessageIcon::Information);
}

TEST_F(NodeCommandsTest, EmptyTextAndSyntaxErrorsDrawNothing) {
    const int before = ShapeCount();
    for (const std::int16_t mode : {CommandCode::NewConcept, CommandCode::NewRelation, CommandCode::NewActor}) {
        RunAt(mode, QString(), 200, 200);
        const auto shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u);
        ExpectMessage(shown[0], msg::NoLabel, msg::ErrorTitle, MessageIcon::Critical);
    }

    RunAt(CommandCode::NewRelation, QStringLiteral("1x"), 200, 200);
    auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], QStringLiteral("First character not alpha or _ (at 1x))"), msg::NodeSyntaxTitle,
                  MessageIcon::Critical);

    RunAt(CommandCode::NewActor, QStringLiteral("(x"), 200, 200);
    shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], QStringLiteral("First character not alpha or _ (at (x>)"), msg::NodeSyntaxTitle,
                  MessageIcon::Critical);

    RunAt(CommandCode::NewConcept, QStringLiteral("Cat Dog"), 200, 200);
    shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], QStringLiteral("Cannot find ] terminator for concept (at Dog])"), msg::NodeSyntaxTitle,
                  MessageIcon::Critical);
    EXPECT_EQ(textBox.Text(), QString()); // the dispatcher clears it after the message

    EXPECT_EQ(ShapeCount(), before);
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
    EXPECT_EQ(comment.TextFrame().TextRange().Text(), QStringLiteral("Comment"));
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
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
    ASSERT_EQ(presentation.Slides().Count(), 2);
    EXPECT_EQ(ShownSlideIndex(), 1); // drawn where the command started
    const host::Slide nested = presentation.Slides().Item(2);
    EXPECT_EQ(proposition.AutoShapeType(), drawing::CoreferentConceptShapeType);
    EXPECT_EQ(proposition.Name().section(u'/', 0, 0), nested.Name());
    EXPECT_EQ(proposition.TextFrame().TextRange().Text(), QStringLiteral("Proposition(") + nested.Name() + u')');
    // Title, two concepts, the relation and its two arcs.
    EXPECT_EQ(nested.Shapes().Count(), 6);
}

} // namespace
} // namespace zov::editor::testing
