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
    void ExpectOneMessage(const QString& text, const QString& title) {
        const auto shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u) << text.toStdString();
        ExpectMessage(shown[0], text, title, MessageIcon::Critical);
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
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
    EXPECT_EQ(ShownSlideIndex(), 1);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_GE(textBox.FocusCount(), 1);

    JumpFrom(first);
    ExpectOneMessage(msg::CoreferenceNotFound, msg::ErrorTitle);
    EXPECT_EQ(ShownSlideIndex(), 1);
}

TEST_F(JumpCommandTest, AConceptWhoseTextIsItsLabelNamesAGraph) {
    AddGraph(QStringLiteral("Proposition *p1"));
    AddGraph();
    const host::Shape reference = Pentagon(QStringLiteral("p1/CCCCCCCC"), QStringLiteral("p1"), 100, 100);
    const host::Shape dangling = Pentagon(QStringLiteral("p9/DDDDDDDD"), QStringLiteral("p9"), 300, 100);
    JumpFrom(dangling);
    ExpectOneMessage(msg::NoGraphWithThatName, msg::AppTitle);
    EXPECT_EQ(ShownSlideIndex(), 2);
    JumpFrom(reference);
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
    EXPECT_EQ(ShownSlideIndex(), 1);
}

TEST_F(JumpCommandTest, OnlyACoreferentConceptWithTextCanBeFollowed) {
    AddGraph();
    const host::Shape cat = Draw(CommandCode::NewConcept, QStringLiteral("Cat"), 100, 100);
    const host::Shape on = Draw(CommandCode::NewRelation, QStringLiteral("On"), 300, 100);
    const host::Shape blank = Pentagon(QStringLiteral("x/EEEEEEEE"), QString(), 100, 300);
    TakeMessages();
    JumpFrom(cat);
    ExpectOneMessage(msg::NotAConcept, msg::AppTitle);
    JumpFrom(on);
    ExpectOneMessage(msg::NotAConcept, msg::AppTitle);
    JumpFrom(blank);
    ExpectOneMessage(msg::NoNameToJumpTo, msg::ErrorTitle);
    // Empty slide area: nothing at all.
    PointAt(650, 500);
    session.RunCommandAtPointer();
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
}

TEST_F(JumpCommandTest, AShapeMissingFromTheNodeTableIsReportedTwice) {
    AddGraph();
    Pentagon(QStringLiteral("x/AAAAAAAA"), QStringLiteral("Cat"), 100, 100);
    const host::Shape later = Pentagon(QStringLiteral("x/BBBBBBBB"), QStringLiteral("Cat"), 300, 100);
    session.Reader().ClearReaderTables(); // as Clear graph leaves the tables
    JumpFrom(later);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    ExpectMessage(shown[0], QStringLiteral("Link node not in bound array"), msg::ErrorTitle, MessageIcon::Critical);
    ExpectMessage(shown[1], msg::CoreferenceNotFound, msg::ErrorTitle, MessageIcon::Critical);
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
    ExpectOneMessage(msg::NoGraphWithThatName, msg::AppTitle);
}

TEST_F(JumpCommandTest, NoBoxesOnATitleOnlySlideAndSilenceOnAnEmptyOne) {
    AddGraph();
    session.SetCommandMode(CommandCode::Jump);
    PointAt(20, 20);
    session.RunCommandAtPointer();
    ExpectOneMessage(msg::NoBoxes, msg::AppTitle);
    presentation.Slides().Add(2, host::LayoutBlank);
    window.View().GotoSlide(2);
    session.RunCommandAtPointer();
    EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
}

} // namespace
} // namespace zov::editor::testing
