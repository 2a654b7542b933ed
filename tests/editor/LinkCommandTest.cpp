// Linking: the two runs, the structural rules with their messages, the drawn and glued arc,
// the labelled target, and coreference between concepts on different slides.
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;

class LinkCommandTest : public EditorTest {
protected:
    LinkCommandTest() {
        g1 = AddGraph();
        cat = Draw(CommandCode::NewConcept, QStringLiteral("Cat"), 50, 150);
        on = Draw(CommandCode::NewRelation, QStringLiteral("On"), 250, 150);
        mat = Draw(CommandCode::NewConcept, QStringLiteral("Mat"), 450, 150);
        TakeMessages();
    }

    // Links and expects the refusal `text`, with nothing added to the slide.
    void ExpectRefused(const host::Shape& from, const host::Shape& to, const QString& text) {
        const int before = ShapeCount();
        Link(from, to);
        ExpectOnly(text, msg::ErrorTitle);
        EXPECT_EQ(ShapeCount(), before);
        EXPECT_TRUE(session.LinkFrom().IsNothing());
        EXPECT_EQ(textBox.Text(), to.TextFrame().TextRange().Text()); // the target's label stays
    }

    const std::vector<cgif::LinkRecord>& Links() { return session.Reader().Tables().Links; }

    host::Slide g1;
    host::Shape cat, on, mat;
};

TEST_F(LinkCommandTest, FirstRunPicksTheSourceSecondDrawsAGluedArrowAndRecordsTheLink) {
    const QString catName = cat.Name();
    session.SetCommandMode(CommandCode::Link);
    RunAgainOn(cat);
    EXPECT_TRUE(session.LinkFrom() == cat);
    EXPECT_EQ(session.LinkFromSlide(), QStringLiteral("G1"));
    EXPECT_EQ(textBox.Text(), QStringLiteral("Cat in G1"));
    EXPECT_EQ(ShapeCount(), 4);
    RunAgainOn(on);
    ASSERT_EQ(ShapeCount(), 5);
    host::Shape arc = LastShape();
    EXPECT_EQ(arc.AutoShapeType(), drawing::ArcShapeType);
    EXPECT_TRUE(arc.ConnectorFormat().BeginConnectedShape() == cat);
    EXPECT_TRUE(arc.ConnectorFormat().EndConnectedShape() == on);
    EXPECT_EQ(arc.Line().EndArrowheadStyle(), host::ArrowheadTriangle);
    EXPECT_EQ(textBox.Text(), QStringLiteral("On"));
    EXPECT_TRUE(session.LinkFrom().IsNothing());
    EXPECT_EQ(cat.Name(), catName); // a concept at the arc's start keeps its name
    ExpectNoMessage();
    // The rebuild after the command reads the arc back from the slide.
    ASSERT_EQ(Links().size(), 1u);
    EXPECT_EQ(Links()[0].From, catName);
    EXPECT_EQ(Links()[0].To, on.Name());
}

TEST_F(LinkCommandTest, APlainConceptAtTheArrowGetsAFreshCoreferenceLabel) {
    const QString id = mat.Name();
    Link(on, mat);
    EXPECT_EQ(mat.Name(), QStringLiteral("x1/") + id);
    ASSERT_EQ(Links().size(), 1u);
    EXPECT_EQ(Links()[0].From, on.Name());
    EXPECT_EQ(Links()[0].To, QStringLiteral("x1/") + id);

    // Labels already on a slide, or used as slide names, are passed over.
    AddGraph(QStringLiteral("x2"));
    const host::Shape agnt = Draw(CommandCode::NewRelation, QStringLiteral("Agnt"), 250, 300);
    const host::Shape dog = Draw(CommandCode::NewConcept, QStringLiteral("Dog"), 450, 300);
    const QString dogId = dog.Name();
    Link(agnt, dog);
    EXPECT_EQ(dog.Name(), QStringLiteral("x3/") + dogId);
    EXPECT_EQ(session.NewCoreferenceLabel(), QStringLiteral("x4"));
}

TEST_F(LinkCommandTest, EachStructuralRuleRefusesWithItsMessage) {
    const host::Shape onTop = Draw(CommandCode::NewRelation, QStringLiteral("Attr"), 250, 300);
    const host::Shape plus = Draw(CommandCode::NewActor, QStringLiteral("Plus"), 50, 400);
    const host::Shape minus = Draw(CommandCode::NewActor, QStringLiteral("Minus"), 450, 400);
    TakeMessages();

    ExpectRefused(on, onTop, msg::CannotLinkTwoRelations);
    ExpectRefused(cat, mat, msg::CannotLinkTwoConcepts);
    ExpectRefused(plus, minus, msg::CannotLinkTwoActors);
    ExpectRefused(plus, on, msg::CannotLinkActorToRelation);
    ExpectRefused(on, plus, msg::CannotLinkActorToRelation);

    Link(on, mat);
    ExpectNoMessage();
    ExpectRefused(on, cat, msg::OneOutArc);
    ExpectRefused(on, mat, msg::AlreadyLinked);
    // Only the same direction is a duplicate.
    Link(mat, on);
    ExpectNoMessage();
    ExpectRefused(mat, on, msg::AlreadyLinked);

    // A pentagon at the arrow is not a plain concept: a relation may point at it as well.
    const host::Shape tom = Draw(CommandCode::NewConcept, QStringLiteral("Cat: *t"), 450, 300);
    Link(on, tom);
    ExpectNoMessage();
    EXPECT_EQ(Links().size(), 3u);
    // A comment and an actor mark meet no pair rule.
    const host::Shape note = Draw(CommandCode::Comment, QString(), 50, 300);
    const host::Shape mark = Draw(CommandCode::NewActor, QStringLiteral("ActDF"), 250, 450);
    Link(note, mark);
    Link(mark, note);
    ExpectNoMessage();
    EXPECT_EQ(Links().size(), 5u);
}

TEST_F(LinkCommandTest, PicksOverEmptyAreaTitleOrArcEndSilently) {
    const host::Shape title = g1.Shapes().Item(1);
    session.SetCommandMode(CommandCode::Link);
    RunAgainOn(title);
    EXPECT_TRUE(session.LinkFrom().IsNothing());
    PointAt(650, 500);
    session.RunCommandAtPointer();
    EXPECT_TRUE(session.LinkFrom().IsNothing());

    // With a source picked, a second run over nothing keeps it pending.
    RunAgainOn(cat);
    PointAt(650, 500);
    session.RunCommandAtPointer();
    EXPECT_TRUE(session.LinkFrom() == cat);
    RunAgainOn(title);
    EXPECT_TRUE(session.LinkFrom() == cat);
    RunAgainOn(on);
    EXPECT_TRUE(session.LinkFrom().IsNothing());
    EXPECT_EQ(Links().size(), 1u);

    // The arc just drawn cannot be picked either.
    const host::Shape arc = LastShape();
    ASSERT_EQ(arc.AutoShapeType(), drawing::ArcShapeType);
    const QPointF middle = (arc.ConnectorFormat().BeginConnectedShape().ConnectionSitePoint(
                                arc.ConnectorFormat().BeginConnectionSite()) +
                            arc.ConnectorFormat().EndConnectedShape().ConnectionSitePoint(
                                arc.ConnectorFormat().EndConnectionSite())) / 2;
    PointAt(middle.x(), middle.y());
    ASSERT_TRUE(session.ShapeAtPointer() == arc);
    session.RunCommandAtPointer();
    EXPECT_TRUE(session.LinkFrom().IsNothing());
    ExpectNoMessage();

    // A source deleted between the runs is forgotten: the second run picks afresh.
    RunAgainOn(mat);
    mat.Delete();
    RunAgainOn(on);
    EXPECT_TRUE(session.LinkFrom() == on);
    EXPECT_EQ(textBox.Text(), QStringLiteral("On in G1"));
}

TEST_F(LinkCommandTest, NoBoxesWhenOnlyTheTitleIsThere) {
    AddGraph();
    session.SetCommandMode(CommandCode::Link);
    PointAt(20, 20);
    session.RunCommandAtPointer();
    ExpectOnly(msg::NoBoxes, msg::AppTitle);
    EXPECT_TRUE(session.LinkFrom().IsNothing());
}

TEST_F(LinkCommandTest, ConceptsOnDifferentSlidesBecomeCoreferent) {
    const host::Slide g2 = AddGraph();
    const host::Shape person = Draw(CommandCode::NewConcept, QStringLiteral("Person: 'Tom'"), 100, 100);
    const QString personId = person.Name();
    const QString catId = cat.Name();
    const int arcsBefore = static_cast<int>(Links().size());

    // Source on slide 2, target on slide 1.
    session.SetCommandMode(CommandCode::Link);
    RunAgainOn(person);
    window.View().GotoSlide(1);
    RunAgainOn(cat);

    ExpectNoMessage();
    EXPECT_EQ(person.Name(), QStringLiteral("x1/") + personId);
    EXPECT_EQ(cat.Name(), QStringLiteral("x1/") + catId);
    EXPECT_EQ(person.AutoShapeType(), drawing::CoreferentConceptShapeType);
    EXPECT_EQ(person.TextFrame().TextRange().Text(), QStringLiteral("Person:'Tom'(Cat in G1)"));
    EXPECT_EQ(person.TextFrame().AutoSize(), host::AutoSizeShapeToFitText);
    EXPECT_EQ(cat.AutoShapeType(), drawing::ConceptShapeType);
    EXPECT_EQ(ShownSlideIndex(), 2);
    EXPECT_EQ(g2.Shapes().Count(), 2); // no connector
    EXPECT_EQ(static_cast<int>(Links().size()), arcsBefore);
    EXPECT_TRUE(session.LinkFrom().IsNothing());
    EXPECT_EQ(session.LinkFromSlide(), QString());

    // The jump from the new pentagon goes back to the target's graph.
    session.SetCommandMode(CommandCode::Jump);
    RunAgainOn(person);
    EXPECT_EQ(ShownSlideIndex(), 1);
    ExpectNoMessage();

    // A later coreference to a concept that already has a label joins that label.
    const host::Shape rug = [&] {
        window.View().GotoSlide(2);
        return Draw(CommandCode::NewConcept, QStringLiteral("Rug"), 300, 100);
    }();
    const QString rugId = rug.Name();
    session.SetCommandMode(CommandCode::Link);
    RunAgainOn(rug);
    window.View().GotoSlide(1);
    RunAgainOn(cat);
    EXPECT_EQ(rug.Name(), QStringLiteral("x1/") + rugId);
    EXPECT_EQ(cat.Name(), QStringLiteral("x1/") + catId);
}

TEST_F(LinkCommandTest, CoreferenceFromAnEarlierSlideIsRefused) {
    AddGraph();
    const host::Shape person = Draw(CommandCode::NewConcept, QStringLiteral("Person"), 100, 100);
    const QString catName = cat.Name();
    window.View().GotoSlide(1);
    session.SetCommandMode(CommandCode::Link);
    RunAgainOn(cat);
    window.View().GotoSlide(2);
    RunAgainOn(person);
    ExpectOnly(msg::CannotLinkToLaterSlide, msg::ErrorTitle);
    EXPECT_EQ(cat.Name(), catName);
    EXPECT_EQ(cat.AutoShapeType(), drawing::ConceptShapeType);
    EXPECT_TRUE(session.LinkFrom().IsNothing());

    // A source whose slide no longer has the name it was picked under is refused the same way.
    RunAgainOn(person);
    host::Slide(window.View().Slide()).SetName(QStringLiteral("Renamed"));
    window.View().GotoSlide(1);
    RunAgainOn(cat);
    ExpectOnly(msg::CannotLinkToLaterSlide, msg::ErrorTitle);

    // Shapes on different slides that are not two plain concepts are refused clearly.
    window.View().GotoSlide(2);
    const host::Shape agnt = Draw(CommandCode::NewRelation, QStringLiteral("Agnt"), 300, 100);
    session.SetCommandMode(CommandCode::Link);
    RunAgainOn(agnt);
    window.View().GotoSlide(1);
    const int before = ShapeCount();
    RunAgainOn(cat);
    ExpectOnly(msg::CannotLinkAcrossSlides, msg::ErrorTitle);
    EXPECT_EQ(ShapeCount(), before);
    EXPECT_TRUE(session.LinkFrom().IsNothing());
    EXPECT_EQ(ShownSlideIndex(), 1);
}

} // namespace
} // namespace zov::editor::testing
