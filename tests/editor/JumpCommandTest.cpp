// The coreference jump and every message of its table.
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;

class JumpCommandTest : public EditorTest {
protected:
    // A coreferent concept drawn as the slide builder would: name label/id, text as given.
    host::Shape Pentagon(const QString& name, const QString& text, float left, float top) {
        return drawing::CreateNodeShape(app, settings, name, drawing::CoreferentConceptShapeType, text, left, top,
                                        settings.conceptColor);
    }
    void JumpFrom(const host::Shape& shape) {
        session.SetCommandMode(CommandCode::Jump);
        RunAgainOn(shape);
    }
};

TEST_F(JumpCommandTest, GoesToTheGraphWhereTheLabelOccursEarlier) {
    AddGraph();
    const host::Shape first = Pentagon(QStringLiteral("x/AAAAAAAA"), QStringLiteral("Cat"), 100, 100);
    AddGraph();
    const host::Shape second = Pentagon(QStringLiteral("x/BBBBBBBB"), QStringLiteral("Cat"), 100, 100);
    session.RebuildNodeTables();

    textBox.ResetFocusCount();
    JumpFrom(second);
    ExpectNoMessage();
    EXPECT_EQ(ShownSlideIndex(), 1);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_GE(textBox.FocusCount(), 1);

    JumpFrom(first);
    ExpectOnly(msg::CoreferenceNotFound, msg::ErrorTitle);
    EXPECT_EQ(ShownSlideIndex(), 1);

    // A concept whose text is its label names a graph.
    AddGraph(QStringLiteral("Proposition *p1"));
    AddGraph();
    const host::Shape reference = Pentagon(QStringLiteral("p1/CCCCCCCC"), QStringLiteral("p1"), 100, 100);
    const host::Shape dangling = Pentagon(QStringLiteral("p9/DDDDDDDD"), QStringLiteral("p9"), 300, 100);
    JumpFrom(dangling);
    ExpectOnly(msg::NoGraphWithThatName, msg::AppTitle);
    EXPECT_EQ(ShownSlideIndex(), 4);
    JumpFrom(reference);
    ExpectNoMessage();
    EXPECT_EQ(ShownSlideIndex(), 3);
}

TEST_F(JumpCommandTest, OnlyACoreferentConceptWithTextCanBeFollowed) {
    AddGraph();
    const host::Shape cat = Draw(CommandCode::NewConcept, QStringLiteral("Cat"), 100, 100);
    const host::Shape on = Draw(CommandCode::NewRelation, QStringLiteral("On"), 300, 100);
    const host::Shape blank = Pentagon(QStringLiteral("x/EEEEEEEE"), QString(), 100, 300);
    TakeMessages();
    JumpFrom(cat);
    ExpectOnly(msg::NotAConcept, msg::AppTitle);
    JumpFrom(on);
    ExpectOnly(msg::NotAConcept, msg::AppTitle);
    JumpFrom(blank);
    ExpectOnly(msg::NoNameToJumpTo, msg::ErrorTitle);
    // Empty slide area: nothing at all.
    PointAt(650, 500);
    session.RunCommandAtPointer();
    ExpectNoMessage();
    // A slide with only its title has no boxes; an empty slide gives silence.
    AddGraph();
    session.SetCommandMode(CommandCode::Jump);
    PointAt(20, 20);
    session.RunCommandAtPointer();
    ExpectOnly(msg::NoBoxes, msg::AppTitle);
    presentation.Slides().Add(3, host::LayoutBlank);
    window.View().GotoSlide(3);
    session.RunCommandAtPointer();
    ExpectNoMessage();
}

TEST_F(JumpCommandTest, AShapeMissingFromTheNodeTableIsReportedTwice) {
    AddGraph();
    Pentagon(QStringLiteral("x/AAAAAAAA"), QStringLiteral("Cat"), 100, 100);
    const host::Shape later = Pentagon(QStringLiteral("x/BBBBBBBB"), QStringLiteral("Cat"), 300, 100);
    session.Reader().ClearReaderTables(); // as Clear graph leaves the tables
    JumpFrom(later);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Link node not in bound array"));
    EXPECT_EQ(shown[1].text, msg::CoreferenceNotFound);
    for (const Message& message : shown) {
        EXPECT_EQ(message.title, msg::ErrorTitle);
        EXPECT_EQ(message.icon, MessageIcon::Critical);
    }
}

TEST_F(JumpCommandTest, ALabelFoundOutsideAnyGraphHasNoGraphToGoTo) {
    // A slide without title holds the earlier occurrence: no graph record lies below it.
    presentation.Slides().Add(1, host::LayoutBlank);
    window.View().GotoSlide(1);
    Pentagon(QStringLiteral("x/AAAAAAAA"), QStringLiteral("Cat"), 100, 100);
    AddGraph();
    const host::Shape later = Pentagon(QStringLiteral("x/BBBBBBBB"), QStringLiteral("Cat"), 300, 100);
    session.RebuildNodeTables();
    JumpFrom(later);
    ExpectOnly(msg::NoGraphWithThatName, msg::AppTitle);
}

} // namespace
} // namespace zov::editor::testing
