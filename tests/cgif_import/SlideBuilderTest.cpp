// The slide builder fed by the reader: what each graph looks like on its slide.
#include "ImportFixture.h"

#include "drawing/GraphEncoding.h"

#include <QRegularExpression>

namespace zov::cgif::test {
namespace {

using Lines = QStringList;

class SlideBuilderTest : public ImportFixture {
protected:
    const NodeRecord& node(int index) const { return reader.Tables().BoundArray.at(static_cast<std::size_t>(index)); }
};

// Every slide the reading drew, in order: "== NAME", then one line per shape.
TEST_F(SlideBuilderTest, EachGraphIsDrawnInLinkOrderNestedGraphsFirst) {
    const std::pair<const char*, Lines> cases[] = {
        // Concepts without links stand under the title label; each top-level graph gets a new
        // last slide (the literal's empty graph node counts as G3).
        {"[Cat] [Mat]", {"== G1", "19 G1 is Graph", "1 Cat", "1 Mat"}},
        {"[A]\n.\n;%Proposition*p1%; [B: 'Tom']\n.\n[C]",
         {"== G1", "19 G1 is Graph", "1 A", "== p1", "19 p1 is Proposition", "1 B:'Tom'", "== G4", "19 G4 is Graph", "1 C"}},
        // The reader records a relation's output link before its inputs.
        {"(On [Cat] [Mat])", {"== G1", "19 G1 is Graph", "9 On", "1 Mat", "arc On>Mat", "1 Cat", "arc Cat>On"}},
        {"<Plus [A] [B] | [C]>",
         {"== G1", "19 G1 is Graph", "1 A", "4 Plus", "arc A>Plus", "1 B", "arc B>Plus", "1 C", "arc Plus>C"}},
        // A concept in several links is drawn once.
        {"[Cat: *x] (On ?x [Mat]) (Near ?x [Door])",
         {"== G1", "19 G1 is Graph", "9 On", "1 Mat", "arc On>Mat", "1 Cat", "arc Cat>On", "9 Near", "1 Door",
          "arc Near>Door", "arc Cat>Near"}},
        // The containing concept carries the nested graph's name and points at a pentagon for it;
        // a negation points at a proposition pentagon.
        {"[Proposition: (On [Cat] [Mat])]",
         {"== G2", "19 G2 is Graph", "9 On", "1 Mat", "arc On>Mat", "1 Cat", "arc Cat>On", "== G1", "19 G1 is Graph",
          "1 Proposition", "51 G2", "arc Proposition>G2"}},
        {"~[ (On [Cat] [Mat]) ]",
         {"== G2", "19 G2 is Graph", "9 On", "1 Mat", "arc On>Mat", "1 Cat", "arc Cat>On", "== G1", "19 G1 is Graph",
          "9 Neg", "51 Proposition (G2)", "arc Neg>Proposition (G2)"}},
        {"[Believe: ;%Proposition*outer%; (Thme [Person] [Want: ;%Situation*inner%; (Agnt [Marry] [Sailor])])]",
         {"== inner", "19 inner is Situation", "9 Agnt", "1 Sailor", "arc Agnt>Sailor", "1 Marry", "arc Marry>Agnt",
          "== outer", "19 outer is Proposition", "1 Want", "51 inner", "arc Want>inner", "9 Thme", "arc Thme>Want",
          "1 Person", "arc Person>Thme", "== G1", "19 G1 is Graph", "1 Believe", "51 outer",
          "arc Believe>outer"}},
    };
    for (const auto& [text, drawn] : cases) {
        ImportSession session;
        ASSERT_TRUE(session.read(QString::fromUtf8(text))) << text;
        Lines all;
        for (int i = 1; i <= session.slides().Count(); ++i)
            all << QStringLiteral("== ") + session.slide(i).Name() << describe(session.slide(i));
        EXPECT_EQ(all, drawn) << text;
        EXPECT_TRUE(session.messages.shown().empty()) << text;
        EXPECT_TRUE(session.app.ActiveWindow().View().Slide() == session.slide(session.slides().Count()));
    }
}

// --- slide and title label ------------------------------------------------------------------

TEST_F(SlideBuilderTest, ConceptsWithoutLinksStandUnderTheTitleLabel) {
    ASSERT_TRUE(read(QStringLiteral("[Cat] [Mat]")));
    ASSERT_EQ(slides().Count(), 1);
    const host::Slide drawn = slide(1);

    const host::Shape title = drawn.Shapes().Item(1);
    EXPECT_EQ(title.Name(), QStringLiteral("G1/") + node(0).Id);
    EXPECT_EQ(title.TextFrame().TextRange().Font().Name(), QStringLiteral("Arial"));
    EXPECT_FLOAT_EQ(title.TextFrame().TextRange().Font().Size(), 24.0f);
    EXPECT_FLOAT_EQ(title.Left(), 0.0f);
    EXPECT_FLOAT_EQ(title.Top(), 0.0f);

    for (int i : {2, 3}) {
        const host::Shape conceptShape = drawn.Shapes().Item(i);
        EXPECT_EQ(conceptShape.Name(), QStringLiteral("/") + node(i - 1).Id) << "a concept without label";
        EXPECT_EQ(conceptShape.Fill().ForeColor().RGB(), settings.conceptColor);
        EXPECT_EQ(conceptShape.TextFrame().TextRange().Font().Name(), QStringLiteral("Arial"));
        EXPECT_FLOAT_EQ(conceptShape.TextFrame().TextRange().Font().Size(), 18.0f);
        EXPECT_FLOAT_EQ(conceptShape.Left(), 0.0f);
        EXPECT_FLOAT_EQ(conceptShape.Top(), 0.0f);
    }
    EXPECT_TRUE(builder.ShapeTable().empty()) << "only link ends enter the shape table";
}

TEST_F(SlideBuilderTest, GraphNameUsedTwiceIsReportedAndReadingGoesOn) {
    ASSERT_TRUE(read(QStringLiteral(";%Graph*same%; [A] . ;%Graph*same%; [B] . [C]")));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("same"))) << messageLines().join('\n').toStdString();
    // The refused slide stays, under the host's own name and empty; the next graph is drawn.
    ASSERT_EQ(slides().Count(), 3);
    EXPECT_EQ(slide(1).Name(), QStringLiteral("same"));
    EXPECT_EQ(slide(2).Shapes().Count(), 0);
    EXPECT_EQ(describe(slide(3)), (Lines{"19 G3 is Graph", "1 C"}));
}

TEST_F(SlideBuilderTest, GeneratedGraphNamesSkipNamesSlidesAlreadyHave) {
    for (const char* name : {"G1", "G3"})
        slides().Add(slides().Count() + 1, host::LayoutBlank).SetName(QString::fromLatin1(name));
    ASSERT_TRUE(read(QStringLiteral("[A] . ;%Graph*G4%; [B] . [C]")));
    EXPECT_EQ(slideNames(), (QStringList{"G1", "G3", "G2", "G4", "G5"}));
    EXPECT_TRUE(messages.shown().empty()) << messageLines().join('\n').toStdString();
}

// --- links and their end nodes --------------------------------------------------------------

TEST_F(SlideBuilderTest, RelationDrawsItsEndsInLinkOrderWithGluedArrows) {
    settings.conceptColor = 0x00102030;
    settings.relationColor = 0x00405060;
    ASSERT_TRUE(read(QStringLiteral("(On [Cat] [Mat])")));
    const host::Slide drawn = slide(1);
    const host::Shape on = drawn.Shapes().Item(2);
    const host::Shape mat = drawn.Shapes().Item(3);
    const host::Shape arc = drawn.Shapes().Item(4);
    EXPECT_EQ(on.Name(), node(1).Id) << "a relation is named by its id alone";
    EXPECT_EQ(on.Fill().ForeColor().RGB(), 0x00405060);
    EXPECT_EQ(mat.Fill().ForeColor().RGB(), 0x00102030);
    EXPECT_EQ(arc.AutoShapeType(), drawing::ArcShapeType);
    EXPECT_EQ(arc.Line().EndArrowheadStyle(), host::ArrowheadTriangle);
    EXPECT_TRUE(arc.ConnectorFormat().BeginConnectedShape() == on);
    EXPECT_TRUE(arc.ConnectorFormat().EndConnectedShape() == mat);

    ASSERT_EQ(builder.ShapeTable().size(), 3u);
    EXPECT_EQ(builder.ShapeTable()[0].Id, node(1).Id);
    EXPECT_EQ(builder.ShapeTable()[1].Id, node(3).Id);
    EXPECT_EQ(builder.ShapeTable()[2].Id, node(2).Id);
    EXPECT_TRUE(builder.FindShapeByName(node(1).Id) == on);
    EXPECT_TRUE(builder.FindShapeByName(QStringLiteral("NOSUCHID")).IsNothing());
}

TEST_F(SlideBuilderTest, ConceptInSeveralLinksIsDrawnOnceAndCarriesItsLabel) {
    ASSERT_TRUE(read(QStringLiteral("[Cat: *x] (On ?x [Mat]) (Near ?x [Door])")));
    const host::Slide drawn = slide(1);
    const host::Shape cat = drawn.Shapes().Item(5);
    EXPECT_EQ(cat.Name(), QStringLiteral("x/") + node(1).Id);
    EXPECT_TRUE(drawn.Shapes().Item(10).ConnectorFormat().BeginConnectedShape() == cat);
}

// --- comments and positions -----------------------------------------------------------------

TEST_F(SlideBuilderTest, CommentsComeFirstAtOnePlaceInArialTwelveAndLeaveTheNodeFontAlone) {
    settings.nodeFontName = QStringLiteral("Liberation Serif");
    settings.nodeFontSize = 20;
    settings.commentColor = 0x00ABCDEF;
    ASSERT_TRUE(read(QStringLiteral(";first; ;second; [Cat ;%120@80%fluffy;]")));
    const host::Slide drawn = slide(1);
    EXPECT_EQ(describe(drawn), (Lines{"19 G1 is Graph", "106 first", "106 second", "106 fluffy", "1 Cat"}));
    for (int i : {2, 3, 4}) {
        const host::Shape comment = drawn.Shapes().Item(i);
        EXPECT_FLOAT_EQ(comment.Left(), 100.0f);
        EXPECT_FLOAT_EQ(comment.Top(), 50.0f);
        EXPECT_EQ(comment.TextFrame().TextRange().Font().Name(), QStringLiteral("Arial"));
        EXPECT_FLOAT_EQ(comment.TextFrame().TextRange().Font().Size(), 12.0f);
        EXPECT_EQ(comment.Fill().ForeColor().RGB(), 0x00ABCDEF);
    }
    const host::Shape cat = drawn.Shapes().Item(5);
    EXPECT_EQ(cat.TextFrame().TextRange().Font().Name(), QStringLiteral("Liberation Serif"));
    EXPECT_FLOAT_EQ(cat.TextFrame().TextRange().Font().Size(), 20.0f);
    EXPECT_FLOAT_EQ(cat.Left(), 120.0f);
    EXPECT_FLOAT_EQ(cat.Top(), 80.0f);
    EXPECT_EQ(settings.nodeFontName, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(settings.nodeFontSize, 20);
}

TEST_F(SlideBuilderTest, NodesStandWhereTheirPositionCommentsPutThem) {
    ASSERT_TRUE(read(QStringLiteral("(On [Cat ;%120@80%a;] [Mat ;%300.5@200%b;] ;%210@150%c;)\n[Door ;40@60;]")));
    const host::Slide drawn = slide(1);
    const host::Shape cat = shapeWithText(drawn, QStringLiteral("Cat"));
    const host::Shape mat = shapeWithText(drawn, QStringLiteral("Mat"));
    const host::Shape on = shapeWithText(drawn, QStringLiteral("On"));
    const host::Shape door = shapeWithText(drawn, QStringLiteral("Door"));
    EXPECT_FLOAT_EQ(cat.Left(), 120.0f);
    EXPECT_FLOAT_EQ(cat.Top(), 80.0f);
    EXPECT_FLOAT_EQ(mat.Left(), 300.5f);
    EXPECT_FLOAT_EQ(mat.Top(), 200.0f);
    EXPECT_FLOAT_EQ(on.Left(), 210.0f);
    EXPECT_FLOAT_EQ(on.Top(), 150.0f);
    // The writer's bare "x@y" form only places the node: no comment shape for it.
    EXPECT_FLOAT_EQ(door.Left(), 40.0f);
    EXPECT_FLOAT_EQ(door.Top(), 60.0f);
    EXPECT_EQ(describe(drawn).filter(QRegularExpression("^106 ")), (Lines{"106 a", "106 b", "106 c"}));
}

// --- nested graphs --------------------------------------------------------------------------

TEST_F(SlideBuilderTest, NestedGraphsPentagonAndContainerAreNamedAfterIt) {
    ASSERT_TRUE(read(QStringLiteral("[Proposition: (On [Cat] [Mat])]")));
    const host::Shape proposition = slide(2).Shapes().Item(2);
    const host::Shape pentagon = slide(2).Shapes().Item(3);
    EXPECT_EQ(proposition.Name(), QStringLiteral("G2/") + node(1).Id);
    EXPECT_EQ(pentagon.Name(), QStringLiteral("G2/") + node(2).Id);
    EXPECT_EQ(pentagon.Fill().ForeColor().RGB(), settings.conceptColor);
    EXPECT_FLOAT_EQ(pentagon.Left(), 0.0f);
    EXPECT_FLOAT_EQ(pentagon.Top(), 0.0f);
}

// --- coreference across slides --------------------------------------------------------------

TEST_F(SlideBuilderTest, ConceptBoundToANestedGraphsConceptShowsWhereItsReferentLives) {
    ASSERT_TRUE(read(QStringLiteral("[Situation: (On [Cat: *x] [Mat])] (Near [Dog ?x] [Door])")));
    EXPECT_EQ(slideNames(), (QStringList{"G2", "G1"}));
    const host::Shape dog = shapeWithText(slide(2), QStringLiteral("Dog(Cat in G2)"));
    ASSERT_FALSE(dog.IsNothing()) << describe(slide(2)).join(" | ").toStdString();
    EXPECT_EQ(dog.AutoShapeType(), drawing::CoreferentConceptShapeType);
    EXPECT_TRUE(dog.Name().startsWith(QStringLiteral("x/")));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SlideBuilderTest, UnfoundCoreferenceEndsTheBuildWithOneMessage) {
    // The inner graph has no arcs, so it is not built and its bound concept never reaches the
    // table of built graphs: the re-marked Person cannot be labelled.
    ASSERT_TRUE(read(QStringLiteral("(Agnt [Sit] [Person: *x]) [Situation: [Cat ?x]] [Lonely]")));
    EXPECT_EQ(messageLines(), (QStringList{"Error: Graph not found for: x"}));
    // What was drawn before stays; the later links and the concepts without links are not drawn.
    EXPECT_EQ(describe(slide(1)), (Lines{"19 G1 is Graph", "9 Agnt"}));
}

} // namespace
} // namespace zov::cgif::test
