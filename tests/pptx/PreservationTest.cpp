// Losing nothing: what the model does not describe is written back as it was read, byte for
// byte; only what the user changed differs; deleting and adding slides keeps the package whole.
#include "PptxTestSupport.h"
#include "support/CaseFiles.h"

#include "host/Slide.h"
#include "host/pptx/Package.h"
#include "host/pptx/SlideScan.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

const char* const SlidePart = "ppt/slides/slide1.xml";

// The shape elements of the deck's slide, in order, as their original text.
QStringList elementsOf(const QByteArray& slide)
{
    const zov::host::pptx::SlideScan scan = zov::host::pptx::scanSlide(slide, QLatin1String(SlidePart), nullptr);
    QStringList out;
    for (const auto& shape : scan.shapes)
        out << scan.text.mid(shape.begin, shape.end - shape.begin);
    return out;
}

// A second slide with notes and a picture the first slide uses too, sections, a custom show.
PartMap twoSlideDeck()
{
    return minimalDeck(richShapes(), "S1", QStringLiteral("two slides"));
}

} // namespace

TEST(Preservation, EditingOneShapeRewritesOnlyThatShape)
{
    const PartMap before = minimalDeck(richShapes());
    const Presentation p = readPresentation(zipParts(before), QStringLiteral("rich.pptx"));
    Shape rect = p.Slides().Item(1).Shapes().Item(1);
    rect.TextFrame().TextRange().SetText(QStringLiteral("Dog"));
    const PartMap after = unzipParts(presentationBytes(p));

    for (const auto& [name, data] : before) {
        if (name != QLatin1String(SlidePart)) {
            EXPECT_TRUE(after.at(name) == data) << name.toStdString();
        }
    }
    const QStringList oldElements = elementsOf(before.at(QLatin1String(SlidePart)));
    const QStringList newElements = elementsOf(after.at(QLatin1String(SlidePart)));
    ASSERT_EQ(oldElements.size(), 7);
    ASSERT_EQ(newElements.size(), 7);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(newElements[i], oldElements[i]) << i;
    // The edited shape keeps what the model does not describe: its description, style and
    // extension, the paragraph alignment and the run's language and weight.
    const QString& edited = newElements[0];
    EXPECT_TRUE(edited.contains(QStringLiteral("descr=\"kept\"")));
    EXPECT_TRUE(edited.contains(QStringLiteral("<p:style><a:lnRef idx=\"2\"><a:schemeClr val=\"accent1\"><a:shade val=\"50000\"/>")));
    EXPECT_TRUE(edited.contains(QStringLiteral("<p:extLst><p:ext uri=\"{11111111-2222-3333-4444-555555555555}\"><p:custDataLst/></p:ext></p:extLst>")));
    EXPECT_TRUE(edited.contains(QStringLiteral("<a:pPr algn=\"ctr\"/><a:r><a:rPr lang=\"de-DE\" sz=\"1400\" b=\"1\" dirty=\"0\"/><a:t>Dog</a:t></a:r>")));
    EXPECT_FALSE(edited.contains(QStringLiteral("Tom")));
}

TEST(Preservation, ConnectorsKeepTheirGlueWhenMovedByAShapeOrGluedToShapesThisHostCannotFollow)
{
    const QString arcElement = QStringLiteral("<a:stCxn id=\"4\" idx=\"3\"/><a:endCxn id=\"6\" idx=\"0\"/>");
    const Presentation p = readPresentation(zipParts(minimalDeck(richShapes())), QStringLiteral("rich.pptx"));
    Shape oval = p.Slides().Item(1).Shapes().Item(3);
    oval.SetTop(oval.Top() + 100);
    auto writtenArc = [](const Presentation& deck) {
        return elementsOf(unzipParts(presentationBytes(deck)).at(QLatin1String(SlidePart))).at(6);
    };
    const QString arc = writtenArc(p);
    EXPECT_TRUE(arc.contains(arcElement));
    EXPECT_TRUE(arc.contains(QStringLiteral("<a:off x=\"3175000\" y=\"1016000\"/><a:ext cx=\"1270000\" cy=\"2794000\"/>"))) << arc.toStdString();
    EXPECT_TRUE(arc.contains(QStringLiteral("<p:style>"))) << "the connector keeps its style";

    // Undoing the glue of one end removes that reference only.
    p.Slides().Item(1).Shapes().Item(7).ConnectorFormat().EndDisconnect();
    const QString loose = writtenArc(p);
    EXPECT_TRUE(loose.contains(QStringLiteral("<a:stCxn id=\"4\" idx=\"3\"/>")));
    EXPECT_FALSE(loose.contains(QStringLiteral("endCxn")));

    // The shape an end was glued to deleted (the connector kept, its end loosened): the
    // reference goes with the shape, never left naming an id the slide no longer has.
    const Presentation deleted = readPresentation(zipParts(minimalDeck(richShapes())), QStringLiteral("deleted.pptx"));
    const Shapes deletedShapes = deleted.Slides().Item(1).Shapes();
    for (int i = 1; i <= deletedShapes.Count(); ++i)
        if (deletedShapes.Item(i).data().fileId == 6) {
            deletedShapes.Item(i).Delete();
            break;
        }
    const QString orphan = elementsOf(unzipParts(presentationBytes(deleted)).at(QLatin1String(SlidePart))).at(5);
    EXPECT_TRUE(orphan.contains(QStringLiteral("<a:stCxn id=\"4\" idx=\"3\"/>"))) << orphan.toStdString();
    EXPECT_FALSE(orphan.contains(QStringLiteral("endCxn"))) << orphan.toStdString();

    // Glued to a star, a geometry whose sites this host does not compute: editing the
    // connector keeps the reference as it was stored.
    QString shapes = richShapes();
    shapes.replace(QStringLiteral("<a:endCxn id=\"6\" idx=\"0\"/>"), QStringLiteral("<a:endCxn id=\"7\" idx=\"4\"/>"));
    const Presentation star = readPresentation(zipParts(minimalDeck(shapes)), QStringLiteral("star.pptx"));
    Shape connector = star.Slides().Item(1).Shapes().Item(7);
    EXPECT_FALSE(connector.ConnectorFormat().EndConnected());
    connector.Line().SetEndArrowheadStyle(ArrowheadTriangle);
    const QString starArc = writtenArc(star);
    EXPECT_TRUE(starArc.contains(QStringLiteral("<a:endCxn id=\"7\" idx=\"4\"/>"))) << starArc.toStdString();
    EXPECT_TRUE(starArc.contains(QStringLiteral("<a:tailEnd type=\"triangle\" w=\"med\" len=\"med\"/>")));
}

// Connectors glued to other programs' shapes whose sites are the middles of their sides (a
// rounded rectangle lists them from the top counterclockwise, a snipped one from the right
// clockwise) follow them when they move, and keep their glue in the file.
TEST(Preservation, ConnectorsGluedToShapesWithSideSitesFollowThem)
{
    struct Glued {
        const char* preset;
        int site;           // as stored: 0-based
        QPointF afterMove;  // the connector's end once the shape is 100 points lower
    };
    // The shape: 50 x 50 points at (400, 50).
    // A picture glued at its rectangle's sites, in the star's place.
    const QString picture = QStringLiteral(
        "<p:pic><p:nvPicPr><p:cNvPr id=\"7\" name=\"Picture 6\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr>"
        "<p:blipFill><a:stretch><a:fillRect/></a:stretch></p:blipFill><p:spPr><a:xfrm><a:off x=\"5080000\" "
        "y=\"635000\"/><a:ext cx=\"635000\" cy=\"635000\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/>"
        "</a:prstGeom></p:spPr></p:pic>");
    for (const Glued& c : {Glued{"roundRect", 3, {450, 175}}, Glued{"roundRect", 0, {425, 150}},
                           Glued{"snip1Rect", 3, {425, 150}}, Glued{"snip1Rect", 0, {450, 175}},
                           Glued{"picture", 3, {450, 175}}}) {
        SCOPED_TRACE(c.preset);
        QString shapes = richShapes();
        shapes.replace(QStringLiteral("<a:xfrm rot=\"5400000\"><a:off x=\"5080000\""), QStringLiteral("<a:xfrm><a:off x=\"5080000\""));
        shapes.replace(QStringLiteral("prst=\"star5\""), QStringLiteral("prst=\"%1\"").arg(QLatin1String(c.preset)));
        if (QLatin1String(c.preset) == QLatin1String("picture")) {
            const qsizetype from = shapes.indexOf(QStringLiteral("<p:sp><p:nvSpPr><p:cNvPr id=\"7\""));
            const qsizetype to = shapes.indexOf(QStringLiteral("</p:sp>"), from) + 7;
            ASSERT_GT(from, 0);
            shapes.replace(from, to - from, picture);
        }
        shapes.replace(QStringLiteral("<a:endCxn id=\"6\" idx=\"0\"/>"), QStringLiteral("<a:endCxn id=\"7\" idx=\"%1\"/>").arg(c.site));
        const Presentation deck = readPresentation(zipParts(minimalDeck(shapes)), QStringLiteral("side-sites.pptx"));
        Shape target = deck.Slides().Item(1).Shapes().Item(4);
        Shape connector = deck.Slides().Item(1).Shapes().Item(7);
        ASSERT_TRUE(connector.ConnectorFormat().EndConnected());
        EXPECT_EQ(connector.ConnectorFormat().EndConnectionSite(), c.site + 1);
        target.SetTop(target.Top() + 100);
        EXPECT_NEAR(connector.data().end.x(), c.afterMove.x(), 1e-3);
        EXPECT_NEAR(connector.data().end.y(), c.afterMove.y(), 1e-3);
        const QString written = elementsOf(unzipParts(presentationBytes(deck)).at(QLatin1String(SlidePart))).at(6);
        EXPECT_TRUE(written.contains(QStringLiteral("<a:endCxn id=\"7\" idx=\"%1\"/>").arg(c.site))) << written.toStdString();
    }
}

TEST(Preservation, DeletingASlideTakesItsNotesAlongAndNothingElse)
{
    const PartMap before = twoSlideDeck();
    const Presentation p = readPresentation(zipParts(before), QStringLiteral("two.pptx"));
    ASSERT_EQ(p.Slides().Count(), 2);
    p.Slides().Item(2).Delete();
    const PartMap after = unzipParts(presentationBytes(p));

    EXPECT_EQ(after.count(QStringLiteral("ppt/slides/slide2.xml")), 0u);
    EXPECT_EQ(after.count(QStringLiteral("ppt/slides/_rels/slide2.xml.rels")), 0u);
    EXPECT_EQ(after.count(QStringLiteral("ppt/notesSlides/notesSlide2.xml")), 0u);
    EXPECT_EQ(after.count(QStringLiteral("ppt/notesSlides/_rels/notesSlide2.xml.rels")), 0u);
    EXPECT_TRUE(after.at(QStringLiteral("ppt/media/image1.png")) == before.at(QStringLiteral("ppt/media/image1.png")));
    EXPECT_FALSE(after.at(QStringLiteral("[Content_Types].xml")).contains("slide2.xml"));
    EXPECT_FALSE(after.at(QStringLiteral("[Content_Types].xml")).contains("notesSlide2"));
    EXPECT_FALSE(after.at(QStringLiteral("ppt/_rels/presentation.xml.rels")).contains("slide2.xml"));
    const QByteArray pres = after.at(QStringLiteral("ppt/presentation.xml"));
    EXPECT_TRUE(pres.contains("<p:sldIdLst><p:sldId id=\"256\" r:id=\"rId2\"/></p:sldIdLst>")) << pres.toStdString();
    EXPECT_FALSE(pres.contains("rId4"));
    EXPECT_TRUE(pres.contains("<p14:sldIdLst><p14:sldId id=\"256\"/></p14:sldIdLst></p14:section><p14:section name=\"Two\""));
    EXPECT_TRUE(pres.contains("<p14:section name=\"Two\" id=\"{22222222-2222-2222-2222-222222222222}\"><p14:sldIdLst/>"));
    for (const char* kept : {"ppt/slides/slide1.xml", "ppt/slides/_rels/slide1.xml.rels", "ppt/slideMasters/slideMaster1.xml",
                             "ppt/theme/theme1.xml", "ppt/slideLayouts/slideLayout1.xml"})
        EXPECT_TRUE(after.at(QLatin1String(kept)) == before.at(QLatin1String(kept))) << kept;
    if (schemasAvailable()) {
        EXPECT_EQ(schemaProblems({{QStringLiteral("ppt/presentation.xml"), pres}}), QStringList());
    }
}

// A jump from one slide to another that is deleted then goes to the slide it is on: the package
// keeps no relationship to a missing part, and a slide added later under the deleted slide's
// part name does not become the jump's target.
TEST(Preservation, AJumpToADeletedSlideIsNotLeftDanglingNorTakenOverByANewSlide)
{
    PartMap before = twoSlideDeck();
    QByteArray& rels = before.at(QStringLiteral("ppt/slides/_rels/slide1.xml.rels"));
    rels.replace("</Relationships>", "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                                     "2006/relationships/slide\" Target=\"slide2.xml\"/></Relationships>");
    const Presentation p = readPresentation(zipParts(before), QStringLiteral("jump.pptx"));
    p.Slides().Item(2).Delete();
    const PartMap after = unzipParts(presentationBytes(p));
    const QByteArray jumps = after.at(QStringLiteral("ppt/slides/_rels/slide1.xml.rels"));
    EXPECT_TRUE(jumps.contains("Id=\"rId7\"")) << "the slide's XML refers to it";
    EXPECT_TRUE(jumps.contains("Target=\"slide1.xml\"")) << jumps.toStdString();
    EXPECT_FALSE(jumps.contains("slide2.xml"));
    EXPECT_TRUE(jumps.contains("../media/image1.png")) << "its other relationships stay";

    // Saved again with a slide added: the new slide takes the free name, the jump stays put.
    const Presentation again = readPresentation(zipParts(after), QStringLiteral("jump.pptx"));
    again.Slides().Add(2, LayoutBlank);
    const PartMap added = unzipParts(presentationBytes(again));
    EXPECT_EQ(added.count(QStringLiteral("ppt/slides/slide2.xml")), 1u);
    EXPECT_FALSE(added.at(QStringLiteral("ppt/slides/_rels/slide1.xml.rels")).contains("slide2.xml"));
    if (schemasAvailable()) {
        EXPECT_EQ(schemaProblems({{QStringLiteral("ppt/slides/_rels/slide1.xml.rels"), jumps}}), QStringList());
    }
}

// Undo brings back a slide whose part a save has already dropped: it must come back with the
// picture only it showed, its notes and their relationships, under its old name when that is
// free and under a new one (notes pointing at it) when a new slide took the name meanwhile.
TEST(Preservation, ASlideDeletedBeforeASaveComesBackWithItsRelatedParts)
{
    PartMap before = twoSlideDeck();
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    before["ppt/media/image2.png"] = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(32, '\x02');
    before["ppt/slides/_rels/slide2.xml.rels"].replace("</Relationships>", "<Relationship Id=\"rId4\" Type=\"" + rel
                                                       + "image\" Target=\"../media/image2.png\"/></Relationships>");
    for (const bool nameTakenMeanwhile : {false, true}) {
        SCOPED_TRACE(nameTakenMeanwhile ? "name taken" : "name free");
        QTemporaryDir dir;
        const Presentation p = readPresentation(zipParts(before), QStringLiteral("two.pptx"));
        const std::shared_ptr<SlideData> second = p.Slides().Item(2).lock();
        p.Slides().Item(2).Delete();
        savePresentation(p, dir.filePath(QStringLiteral("one.pptx")));
        if (nameTakenMeanwhile)
            p.Slides().Add(2, LayoutBlank);
        // What the undo history does: the slide record goes back into the list as it was.
        second->presentation = &p.data();
        p.data().slides.push_back(second);
        const PartMap after = unzipParts(presentationBytes(p));

        const QString slidePart = nameTakenMeanwhile ? QStringLiteral("ppt/slides/slide3.xml") : QStringLiteral("ppt/slides/slide2.xml");
        const QString slideRels = nameTakenMeanwhile ? QStringLiteral("ppt/slides/_rels/slide3.xml.rels") : QStringLiteral("ppt/slides/_rels/slide2.xml.rels");
        ASSERT_EQ(after.count(slidePart), 1u);
        EXPECT_TRUE(after.at(slidePart) == before.at(QStringLiteral("ppt/slides/slide2.xml")));
        EXPECT_TRUE(after.at(slideRels) == before.at(QStringLiteral("ppt/slides/_rels/slide2.xml.rels")));
        for (const char* part : {"ppt/media/image1.png", "ppt/media/image2.png", "ppt/notesSlides/notesSlide2.xml"})
            EXPECT_TRUE(after.at(QLatin1String(part)) == before.at(QLatin1String(part))) << part;
        const QByteArray notesRels = after.at(QStringLiteral("ppt/notesSlides/_rels/notesSlide2.xml.rels"));
        EXPECT_TRUE(notesRels.contains(nameTakenMeanwhile ? "Target=\"../slides/slide3.xml\"" : "Target=\"../slides/slide2.xml\""))
            << notesRels.toStdString();
        const QByteArray types = after.at(QStringLiteral("[Content_Types].xml"));
        EXPECT_TRUE(types.contains("/ppt/notesSlides/notesSlide2.xml"));
        EXPECT_TRUE(types.contains(("/" + slidePart).toUtf8()));
        if (schemasAvailable()) {
            EXPECT_EQ(schemaProblems({{QStringLiteral("[Content_Types].xml"), types},
                                      {QStringLiteral("ppt/notesSlides/_rels/notesSlide2.xml.rels"), notesRels},
                                      {QStringLiteral("ppt/presentation.xml"), after.at(QStringLiteral("ppt/presentation.xml"))}}),
                      QStringList());
        }

        const Presentation q = readPresentation(zipParts(after), QStringLiteral("again.pptx"));
        ASSERT_EQ(q.Slides().Count(), nameTakenMeanwhile ? 3 : 2);
        EXPECT_EQ(q.Slides().Item(q.Slides().Count()).Name(), QStringLiteral("S2"));
    }
}

TEST(Preservation, MovedSlidesKeepTheirOrderAndSectionsStayInOrder)
{
    const Presentation p = readPresentation(zipParts(twoSlideDeck()), QStringLiteral("two.pptx"));
    p.Slides().Move(2, 1);
    const PartMap after = unzipParts(presentationBytes(p));
    const QByteArray pres = after.at(QStringLiteral("ppt/presentation.xml"));
    EXPECT_TRUE(pres.contains("<p:sldIdLst><p:sldId id=\"257\" r:id=\"rId4\"/><p:sldId id=\"256\" r:id=\"rId2\"/></p:sldIdLst>"));
    // The first section cannot follow the second: its slide, now behind, joins the second.
    EXPECT_TRUE(pres.contains("<p14:section name=\"One\" id=\"{11111111-1111-1111-1111-111111111111}\"><p14:sldIdLst/></p14:section>"));
    EXPECT_TRUE(pres.contains("<p14:sldIdLst><p14:sldId id=\"257\"/><p14:sldId id=\"256\"/></p14:sldIdLst>"));
    const Presentation q = readPresentation(zipParts(after), QStringLiteral("moved.pptx"));
    EXPECT_EQ(q.Slides().Item(1).Name(), QStringLiteral("S2"));
    EXPECT_EQ(q.Slides().Item(2).Name(), QStringLiteral("S1"));
    EXPECT_TRUE(after.at(QStringLiteral("ppt/slides/slide1.xml")) == twoSlideDeck().at(QStringLiteral("ppt/slides/slide1.xml")));
}

TEST(Preservation, WhatWasSavedIsTheBaseOfTheNextSaveAndSlidesPutTogetherFromTheirCutMatchAFreshRead)
{
    // A changed slide is put together from the pieces kept when it was read or last written;
    // without them (the slide's source no longer matches, as after an undo) it is read again.
    // Both ways give the same bytes, and so does a second round after a save, whose file is
    // what the presentation then holds.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.pptx"));
    Presentation p = readPresentation(zipParts(twoSlideDeck()), QStringLiteral("two.pptx"));
    auto edit = [&](int round) {
        for (int i = 1; i <= p.Slides().Count(); ++i) {
            Slide slide = p.Slides().Item(i);
            slide.SetName(QStringLiteral("round %1 slide %2").arg(round).arg(i));
            Shape first = slide.Shapes().Item(1);
            first.SetLeft(first.Left() + 3);
            slide.Shapes().AddShape(ShapeOval, 10.0f * round, 10, 20, 20);
        }
    };
    for (int round = 1; round <= 2; ++round) {
        edit(round);
        const QByteArray withPieces = presentationBytes(p);
        const auto package = zov::host::pptx::packageOf(p.data());
        ASSERT_TRUE(package);
        const auto kept = package->piecesBySlide;
        ASSERT_EQ(kept.size(), p.Slides().Count());
        package->piecesBySlide.clear();
        const QByteArray readAgain = presentationBytes(p);
        package->piecesBySlide = kept;
        const PartMap a = unzipParts(withPieces), b = unzipParts(readAgain);
        for (const auto& [name, data] : a)
            EXPECT_TRUE(b.at(name) == data) << "round " << round << ": " << name.toStdString();
        EXPECT_FALSE(p.Saved());
        savePresentation(p, path);
        EXPECT_TRUE(p.Saved());
        EXPECT_EQ(p.FullName(), path);
        const PartMap written = unzipParts(readFile(path)), held = unzipParts(presentationBytes(p));
        ASSERT_EQ(written.size(), held.size());
        for (const auto& [name, data] : written)
            EXPECT_TRUE(held.at(name) == data) << "round " << round << ": " << name.toStdString();
    }
    // The ovals added got ids of their own, kept from then on.
    EXPECT_EQ(p.Slides().Item(1).Shapes().Item(8).data().fileId, 12u);
    Application app;
    const Presentation q = openPresentation(app, path);
    EXPECT_EQ(q.Slides().Item(2).Name(), QStringLiteral("round 2 slide 2"));
    EXPECT_EQ(q.Slides().Item(2).Shapes().Count(), 9);
}

// A connector glued to a shape inside a group keeps its reference when the group is deleted;
// shapes added later, in the same session or after the file is opened again, never take that
// id, so the connector does not come to be glued to a shape it never touched.
TEST(Preservation, ANewShapeNeverTakesTheIdOfAShapeAConnectorWasGluedToInADeletedGroup)
{
    const QString group = QStringLiteral(
        "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"4\" name=\"Group\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"6\" name=\"Inner\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm>"
        "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"635000\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></p:spPr></p:sp>"
        "</p:grpSp>");
    const QString arc = QStringLiteral(
        "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"3\" name=\"Arc\"/><p:cNvCxnSpPr><a:stCxn id=\"6\" idx=\"2\"/></p:cNvCxnSpPr><p:nvPr/>"
        "</p:nvCxnSpPr><p:spPr><a:xfrm><a:off x=\"635000\" y=\"635000\"/><a:ext cx=\"635000\" cy=\"635000\"/></a:xfrm>"
        "<a:prstGeom prst=\"straightConnector1\"><a:avLst/></a:prstGeom></p:spPr></p:cxnSp>");
    const Presentation first = readPresentation(zipParts(minimalDeck(group + arc)), QStringLiteral("group.pptx"));
    first.Slides().Item(1).Shapes().Item(1).Delete();
    const Presentation second = readPresentation(presentationBytes(first), QStringLiteral("group.pptx"));
    ASSERT_EQ(second.Slides().Item(1).Shapes().Count(), 1);
    for (int i = 0; i < 3; ++i)
        second.Slides().Item(1).Shapes().AddShape(ShapeRectangle, 100.0f * i, 200, 50, 50);
    const Presentation third = readPresentation(presentationBytes(second), QStringLiteral("group.pptx"));
    const QByteArray xml = unzipParts(presentationBytes(third)).at(QLatin1String(SlidePart));
    EXPECT_FALSE(xml.contains("<p:cNvPr id=\"6\"")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<a:stCxn id=\"6\" idx=\"2\"/>")) << "the reference stays as stored";
    EXPECT_FALSE(third.Slides().Item(1).Shapes().Item(1).ConnectorFormat().BeginConnected());
}

// A slide added to a deck whose slide ids reach the last one a slide may have (2^31 - 1; tools
// that draw their ids at random get there) takes the lowest free id, never one past the range,
// which is where the masters' ids begin.
TEST(Preservation, ASlideAddedAfterTheLastSlideIdTakesTheLowestFreeOne)
{
    PartMap parts = minimalDeck(QString());
    QByteArray& presentation = parts.at(QStringLiteral("ppt/presentation.xml"));
    ASSERT_TRUE(presentation.contains("<p:sldId id=\"256\""));
    presentation.replace("<p:sldId id=\"256\"", "<p:sldId id=\"2147483647\"");
    const Presentation p = readPresentation(zipParts(parts), QStringLiteral("ids.pptx"));
    p.Slides().Add(2, LayoutBlank);
    p.Slides().Add(3, LayoutBlank);
    const QByteArray written = unzipParts(presentationBytes(p)).at(QStringLiteral("ppt/presentation.xml"));
    EXPECT_TRUE(written.contains("<p:sldId id=\"2147483647\""));
    EXPECT_TRUE(written.contains("<p:sldId id=\"256\""));
    EXPECT_TRUE(written.contains("<p:sldId id=\"257\"")) << written.toStdString();
    EXPECT_FALSE(written.contains("<p:sldId id=\"2147483648\"")) << written.toStdString();
}

// tests/cases/pptx/new-slide-layouts.case: the layout a new slide is based on.
TEST(Preservation, ANewSlideTakesTheMastersBlankLayoutInTheMastersOwnOrder)
{
    for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("new-slide-layouts.case"))) {
        PartMap parts = minimalDeck(QString());
        const QStringList items = c.input.split(QStringLiteral("; "));
        QByteArray rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
        for (const QString& id : items.front().section(u' ', 1).split(u' '))
            rels += "<Relationship Id=\"rId" + id.toUtf8() +
                    "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/slideLayout\" "
                    "Target=\"../slideLayouts/slideLayout" + id.toUtf8() + ".xml\"/>";
        rels += "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/theme\" "
                "Target=\"../theme/theme1.xml\"/></Relationships>";
        parts[QStringLiteral("ppt/slideMasters/_rels/slideMaster1.xml.rels")] = rels;
        QByteArray list = "<p:sldLayoutIdLst>";
        const QByteArray layoutXml = parts.at(QStringLiteral("ppt/slideLayouts/slideLayout1.xml"));
        const QByteArray layoutRels = parts.at(QStringLiteral("ppt/slideLayouts/_rels/slideLayout1.xml.rels"));
        QByteArray types = parts.at(QStringLiteral("[Content_Types].xml"));
        for (const QString& layout : items.mid(1)) {
            const QByteArray id = layout.section(u' ', 0, 0).toUtf8();
            list += "<p:sldLayoutId id=\"21474836" + QByteArray::number(48 + id.toInt()) + "\" r:id=\"rId" + id + "\"/>";
            QByteArray xml = layoutXml;
            xml.replace("type=\"blank\"", "type=\"" + layout.section(u' ', 1, 1).toUtf8() + '"');
            xml.replace("name=\"Blank\"", "name=\"" + layout.section(u' ', 2).toUtf8() + '"');
            parts[QStringLiteral("ppt/slideLayouts/slideLayout%1.xml").arg(QString::fromUtf8(id))] = xml;
            parts[QStringLiteral("ppt/slideLayouts/_rels/slideLayout%1.xml.rels").arg(QString::fromUtf8(id))] = layoutRels;
            if (id != "1")
                types.replace("</Types>", "<Override PartName=\"/ppt/slideLayouts/slideLayout" + id +
                                              ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                                              "presentationml.slideLayout+xml\"/></Types>");
        }
        list += "</p:sldLayoutIdLst>";
        QByteArray& master = parts.at(QStringLiteral("ppt/slideMasters/slideMaster1.xml"));
        master.replace("<p:sldLayoutIdLst><p:sldLayoutId id=\"2147483649\" r:id=\"rId1\"/></p:sldLayoutIdLst>", list);
        parts[QStringLiteral("[Content_Types].xml")] = types;

        const Presentation p = readPresentation(zipParts(parts), QStringLiteral("layouts.pptx"));
        p.Slides().Add(2, LayoutBlank);
        const PartMap written = unzipParts(presentationBytes(p));
        const QByteArray slideRels = written.at(QStringLiteral("ppt/slides/_rels/slide2.xml.rels"));
        const qsizetype at = slideRels.indexOf("slideLayouts/");
        ASSERT_GE(at, 0) << c.where();
        const QByteArray chosen = slideRels.mid(at + 13, slideRels.indexOf('"', at) - at - 13);
        EXPECT_EQ(QString::fromUtf8(chosen), c.expected.join(QString())) << c.where();
    }
}

// The document's properties count the slides the saved deck has; the rest of them stays as it
// was, and a save that changes no slide list leaves the part untouched. Their relationship is
// found by either name of its type (pandoc writes the package's metadata one).
TEST(Preservation, TheDocumentPropertiesCountTheSlidesSaved)
{
    for (const char* type : {"http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties",
                             "http://schemas.openxmlformats.org/package/2006/relationships/metadata/extended-properties"}) {
        SCOPED_TRACE(type);
        PartMap parts = minimalDeck(QString());
        const QByteArray properties = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                      "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
                                      "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
                                      "<Application>Some Program</Application><Slides>1</Slides><Notes>0</Notes>"
                                      "<TitlesOfParts><vt:vector size=\"1\" baseType=\"lpstr\"><vt:lpstr>Opening</vt:lpstr></vt:vector></TitlesOfParts>"
                                      "</Properties>";
        parts[QStringLiteral("docProps/app.xml")] = properties;
        QByteArray& packageRels = parts.at(QStringLiteral("_rels/.rels"));
        packageRels.replace("</Relationships>", "<Relationship Id=\"rId9\" Type=\"" + QByteArray(type) +
                                                    "\" Target=\"docProps/app.xml\"/></Relationships>");
        QByteArray& types = parts.at(QStringLiteral("[Content_Types].xml"));
        types.replace("</Types>", "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/vnd.openxmlformats-"
                                  "officedocument.extended-properties+xml\"/></Types>");

        Presentation p = readPresentation(zipParts(parts), QStringLiteral("props.pptx"));
        EXPECT_EQ(unzipParts(presentationBytes(p)).at(QStringLiteral("docProps/app.xml")), properties) << "no slide added";
        p.Slides().Add(2, LayoutBlank);
        p.Slides().Add(3, LayoutBlank);
        QByteArray expected = properties;
        expected.replace("<Slides>1</Slides>", "<Slides>3</Slides>");
        EXPECT_EQ(unzipParts(presentationBytes(p)).at(QStringLiteral("docProps/app.xml")), expected);
        p.Slides().Item(1).Delete();
        expected.replace("<Slides>3</Slides>", "<Slides>2</Slides>");
        EXPECT_EQ(unzipParts(presentationBytes(p)).at(QStringLiteral("docProps/app.xml")), expected);
    }
}
