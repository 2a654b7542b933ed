// Change label in both directions, on node shapes and on graph titles.
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;

class LabelCommandTest : public EditorTest {
protected:
    LabelCommandTest() {
        g1 = AddGraph(QStringLiteral("Proposition *p1"));
        title = g1.Shapes().Item(1);
        cat = Draw(CommandCode::NewConcept, QStringLiteral("Cat: 'Tom'"), 150, 150);
        session.SetCommandMode(CommandCode::ChangeLabel);
    }
    void EditOn(const host::Shape& shape, const QString& typed) {
        textBox.SetText(typed);
        RunAgainOn(shape);
    }

    host::Slide g1;
    host::Shape title, cat;
};

TEST_F(LabelCommandTest, ReadsTheLabelThenWritesTheTypedTextAsIs) {
    const QString name = cat.Name();
    EditOn(cat, QString());
    EXPECT_EQ(textBox.Text(), QStringLiteral("Cat:'Tom'"));
    EditOn(cat, QStringLiteral("Cat: 'Felix'"));
    EXPECT_EQ(TextOf(cat), QStringLiteral("Cat: 'Felix'"));
    EXPECT_EQ(cat.Name(), name);
    EXPECT_EQ(cat.AutoShapeType(), drawing::ConceptShapeType);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_TRUE(session.LabelTarget().IsNothing());
    ExpectNoMessage();

    // Any shape takes only text that reads as a concept.
    const host::Shape agnt = Draw(CommandCode::NewRelation, QStringLiteral("Agnt"), 350, 150);
    session.SetCommandMode(CommandCode::ChangeLabel);
    EditOn(agnt, QStringLiteral("Thme"));
    EXPECT_EQ(TextOf(agnt), QStringLiteral("Thme"));
}

TEST_F(LabelCommandTest, TitleTurnsIntoAConceptFormAndBack) {
    EditOn(title, QString());
    EXPECT_EQ(textBox.Text(), QStringLiteral("Proposition:*p1 "));
    session.RunCommandAtPointer(); // straight back: the colon now belongs to the type
    EXPECT_EQ(TextOf(title), QStringLiteral("p1 is Proposition:"));
    EXPECT_EQ(textBox.Text(), QString());

    EditOn(title, QStringLiteral("Situation *s2"));
    EXPECT_EQ(TextOf(title), QStringLiteral("s2 is Situation"));
    EXPECT_EQ(g1.Name(), QStringLiteral("s2")); // the slide takes the graph's new name
    EXPECT_EQ(title.Name().section(u'/', 0, 0), QStringLiteral("s2"));
    EXPECT_EQ(title.AutoShapeType(), drawing::TitleLabelShapeType);

    // Titles without " is " or too short still give text.
    title.TextFrame().TextRange().SetText(QStringLiteral("Hello"));
    EditOn(title, QString());
    EXPECT_EQ(textBox.Text(), QStringLiteral("lo:*"));
    title.TextFrame().TextRange().SetText(QStringLiteral("ab"));
    EditOn(title, QString());
    EXPECT_EQ(textBox.Text(), QStringLiteral(":*"));
    // A title typed without "*" takes the typed text, blanks trimmed, as its name.
    EditOn(title, QStringLiteral(" Story "));
    EXPECT_EQ(TextOf(title), QStringLiteral("Story is Graph"));
}

TEST_F(LabelCommandTest, ANameAnotherSlideHasIsRefusedAndNothingChanges) {
    AddGraph(QStringLiteral("Graph *p2"));
    window.View().GotoSlide(g1.SlideIndex());
    const QString titleName = title.Name();
    EditOn(title, QStringLiteral("Situation *p2"));
    ExpectOnly(QStringLiteral("Slide name is already in use: p2"), msg::ErrorTitle);
    EXPECT_EQ(g1.Name(), QStringLiteral("p1"));
    EXPECT_EQ(title.Name(), titleName);
    EXPECT_EQ(TextOf(title), QStringLiteral("p1 is Proposition"));
}

// Every text the node commands and the import write into a pentagon reads back, and stays a
// pentagon with its name.
TEST_F(LabelCommandTest, PentagonTextsReadBackAsTheyWereWritten) {
    const host::Shape pentagon = Draw(CommandCode::NewConcept, QStringLiteral("Cat *x"), 350, 350);
    ASSERT_EQ(pentagon.AutoShapeType(), drawing::CoreferentConceptShapeType);
    const QString name = pentagon.Name();
    session.SetCommandMode(CommandCode::ChangeLabel);
    for (const char* text : {"Cat(x)", "Cat:'Tom'(t)", "Cat(Cat in G1)", "Proposition (G2)", "(Dog in G1)", "x"}) {
        EditOn(pentagon, QString::fromUtf8(text));
        EXPECT_EQ(TextOf(pentagon), QString::fromUtf8(text));
        EditOn(pentagon, QString());
        EXPECT_EQ(textBox.Text(), QString::fromUtf8(text));
        textBox.SetText(QString());
    }
    ExpectNoMessage();
    EXPECT_EQ(pentagon.Name(), name);
    EXPECT_EQ(pentagon.AutoShapeType(), drawing::CoreferentConceptShapeType);
    EditOn(pentagon, QStringLiteral("Cat Dog(x)")); // the concept part must still read
    ExpectOnly(QStringLiteral("Cannot find ] terminator for concept (at Dog])"), msg::LabelSyntaxTitle);
}

TEST_F(LabelCommandTest, SyntaxErrorKeepsShapeAndTypedText) {
    EditOn(cat, QStringLiteral("Cat Dog"));
    ExpectOnly(QStringLiteral("Cannot find ] terminator for concept (at Dog])"), msg::LabelSyntaxTitle);
    EXPECT_EQ(TextOf(cat), QStringLiteral("Cat:'Tom'"));
    EXPECT_EQ(textBox.Text(), QStringLiteral("Cat Dog"));
    EXPECT_TRUE(session.LabelTarget().IsNothing());
}

TEST_F(LabelCommandTest, NothingUnderThePointerOrOnlyATitle) {
    textBox.SetText(QStringLiteral("Dog"));
    PointAt(650, 500);
    session.RunCommandAtPointer();
    ExpectNoMessage();
    EXPECT_EQ(textBox.Text(), QStringLiteral("Dog"));
    EXPECT_EQ(TextOf(cat), QStringLiteral("Cat:'Tom'"));

    const host::Slide bare = AddGraph();
    session.SetCommandMode(CommandCode::ChangeLabel);
    EditOn(bare.Shapes().Item(1), QStringLiteral("Dog"));
    ExpectOnly(msg::NoBoxes, msg::AppTitle);
    EXPECT_EQ(TextOf(bare.Shapes().Item(1)), bare.Name() + QStringLiteral(" is Graph"));
}

} // namespace
} // namespace zov::editor::testing
