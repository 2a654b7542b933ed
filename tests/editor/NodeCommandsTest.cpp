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

TEST_F(NodeCommandsTest, EachNodeCommandDrawsItsShapeTextAndColour) {
    settings.conceptColor = 0x00123456; // read when drawing
    settings.relationColor = 0x00010203;
    settings.actorColor = 0x00AABBCC;
    settings.nodeFontName = QStringLiteral("DejaVu Sans");
    settings.nodeFontSize = 20;
    struct Case {
        std::int16_t mode;
        const char* typed;
        int shapeType;
        const char* text;
        std::int32_t colour;
        bool extraIgnored;
    };
    const Case cases[] = {
        {CommandCode::NewConcept, "Cat: 'Tom'", drawing::ConceptShapeType, "Cat:'Tom'", 0x00123456, false},
        {CommandCode::NewConcept, "Person", drawing::ConceptShapeType, "Person", 0x00123456, false},
        {CommandCode::NewRelation, "Agnt", drawing::RelationShapeType, "Agnt", 0x00010203, false},
        {CommandCode::NewRelation, "Agnt x", drawing::RelationShapeType, "Agnt", 0x00010203, true},
        {CommandCode::NewActor, "Plus", drawing::ActorShapeType, "Plus", 0x00AABBCC, false},
        {CommandCode::NewActor, "ActDF", drawing::ActorMarkShapeType, "     ", 0x00AABBCC, false},
        // Only the whole text "ActDF" makes the mark; the label is still the identifier.
        {CommandCode::NewActor, "ActDF x", drawing::ActorShapeType, "     ", 0x00AABBCC, true},
    };
    double top = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const host::Shape shape = Draw(c.mode, QString::fromUtf8(c.typed), 200, top);
        EXPECT_EQ(shape.AutoShapeType(), c.shapeType);
        EXPECT_EQ(TextOf(shape), QString::fromUtf8(c.text));
        EXPECT_EQ(shape.Fill().ForeColor().RGB(), c.colour);
        EXPECT_TRUE(IsNodeId(shape.Name())) << shape.Name().toStdString();
        EXPECT_EQ(shape.TextFrame().TextRange().Font().Name(), QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(shape.TextFrame().TextRange().Font().Size(), 20);
        EXPECT_FLOAT_EQ(shape.Left(), 200);
        if (c.extraIgnored) {
            ExpectOnly(msg::ExtraCharactersIgnored, msg::ErrorTitle, MessageIcon::Information);
        } else {
            ExpectNoMessage();
        }
        top += 50;
    }
}

TEST_F(NodeCommandsTest, CoreferenceLabelsGiveAPentagonNamedLabelSlashId) {
    struct Case {
        const char* typed;
        const char* text;
        const char* label;
    };
    const Case cases[] = {
        {"Cat: *x", "Cat(x)", "x"},
        {"Cat: 'Tom' *t", "Cat:'Tom'(t)", "t"},
        {"*p1", "p1", "p1"},    // a label alone is the text: the form a bound reference is written back in
        {"Dog: ?x", "Dog(x)", "x"}, // a bound label resolves against the labels already on the slides
    };
    double top = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const host::Shape shape = Draw(CommandCode::NewConcept, QString::fromUtf8(c.typed), 100, top += 60);
        EXPECT_EQ(shape.AutoShapeType(), drawing::CoreferentConceptShapeType);
        EXPECT_EQ(TextOf(shape), QString::fromUtf8(c.text));
        EXPECT_EQ(shape.Name().section(u'/', 0, 0), QString::fromUtf8(c.label));
        EXPECT_TRUE(IsNodeId(shape.Name().section(u'/', 1)));
    }
    ExpectNoMessage();
}

TEST_F(NodeCommandsTest, EmptyTextAndSyntaxErrorsDrawNothing) {
    const int before = ShapeCount();
    for (const std::int16_t mode : {CommandCode::NewConcept, CommandCode::NewRelation, CommandCode::NewActor}) {
        RunAt(mode, QString(), 200, 200);
        ExpectOnly(msg::NoLabel, msg::ErrorTitle);
    }
    const std::tuple<std::int16_t, const char*, const char*> errors[] = {
        {CommandCode::NewRelation, "1x", "First character not alpha or _ (at 1x))"},
        {CommandCode::NewActor, "(x", "First character not alpha or _ (at (x>)"},
        {CommandCode::NewConcept, "Cat Dog", "Cannot find ] terminator for concept (at Dog])"},
    };
    for (const auto& [mode, typed, message] : errors) {
        RunAt(mode, QString::fromUtf8(typed), 200, 200);
        ExpectOnly(QString::fromUtf8(message), msg::NodeSyntaxTitle);
        EXPECT_EQ(textBox.Text(), QString()); // the dispatcher clears it after the message
    }
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
