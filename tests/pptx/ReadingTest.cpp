// Reading what other programs write: split runs, lowercase colours, inherited fonts, shape
// styles, alternate content, renumbered ids, stale connector boxes, unnamed slides, labels that
// lost their text-box mark, unknown geometries.
#include "PptxTestSupport.h"

#include "host/Slide.h"

#include <QLineF>
#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

class Reading : public ::testing::Test {
protected:
    // A one-slide deck with these shape elements (and this slide name, or none).
    Presentation open(const QString& shapes, const char* slideName = "S1")
    {
        return readPresentation(zipParts(minimalDeck(shapes, slideName)), QStringLiteral("test.pptx"));
    }
    static Shape item(const Presentation& p, int index) { return p.Slides().Item(1).Shapes().Item(index); }
};

void expectAt(QPointF actual, QPointF expected)
{
    EXPECT_LT(QLineF(actual, expected).length(), 1e-3) << actual.x() << "," << actual.y();
}

QString shapeXml(int id, const QString& name, const QString& geometry, const QString& body, const QString& extra = {},
                 const QString& nvExtra = {}, const char* box = "<a:off x=\"1270000\" y=\"1270000\"/><a:ext cx=\"1270000\" cy=\"635000\"/>")
{
    return QStringLiteral("<p:sp><p:nvSpPr><p:cNvPr id=\"%1\" name=\"%2\"/><p:cNvSpPr%6/><p:nvPr/></p:nvSpPr>"
                          "<p:spPr><a:xfrm>%7</a:xfrm>%3</p:spPr>%5%4</p:sp>")
        .arg(id)
        .arg(name, geometry, body, extra, nvExtra, QString::fromLatin1(box));
}

QString prst(const char* name, const QString& rest = {})
{
    return QStringLiteral("<a:prstGeom prst=\"%1\"><a:avLst/></a:prstGeom>").arg(QLatin1String(name)) + rest;
}

QString body(const QString& paragraphs, const QString& bodyPr = QStringLiteral("<a:bodyPr/>"), const QString& lstStyle = QStringLiteral("<a:lstStyle/>"))
{
    return QStringLiteral("<p:txBody>") + bodyPr + lstStyle + paragraphs + QStringLiteral("</p:txBody>");
}

QString connector(int id, const QString& glue, const char* box, const char* flips = "")
{
    return QStringLiteral("<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"%1\" name=\"Arc %1\"/><p:cNvCxnSpPr>%2</p:cNvCxnSpPr><p:nvPr/></p:nvCxnSpPr>"
                          "<p:spPr><a:xfrm%4>%3</a:xfrm><a:prstGeom prst=\"straightConnector1\"><a:avLst/></a:prstGeom>"
                          "<a:ln w=\"12700\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill><a:tailEnd type=\"triangle\"/></a:ln></p:spPr></p:cxnSp>")
        .arg(id)
        .arg(glue, QString::fromLatin1(box), QString::fromLatin1(flips));
}

} // namespace

TEST_F(Reading, TextFromSplitRunsWithTheFirstRunsFontAndLowercaseColours)
{
    // As LibreOffice writes a shape: lowercase colours, runs split at spaces, an end-of-paragraph
    // font that is not the text's, no text-box mark, a line of width 0 with no fill.
    const QString para = QStringLiteral(
        "<a:p><a:r><a:rPr lang=\"en-US\" sz=\"1050\"><a:solidFill><a:srgbClr val=\"c00000\"/></a:solidFill><a:latin typeface=\"Times New Roman\"/></a:rPr><a:t>Cat:</a:t></a:r>"
        "<a:r><a:rPr lang=\"en-US\" sz=\"1050\"><a:latin typeface=\"Times New Roman\"/></a:rPr><a:t>  Tom</a:t></a:r>"
        "<a:br><a:rPr lang=\"en-US\"/></a:br><a:r><a:rPr sz=\"1050\"/><a:t>\tand</a:t></a:r>"
        "<a:endParaRPr lang=\"en-US\" sz=\"1800\" spc=\"-1\"><a:latin typeface=\"Arial\"/></a:endParaRPr></a:p>"
        "<a:p><a:pPr><a:lnSpc><a:spcPct val=\"100000\"/></a:lnSpc></a:pPr><a:endParaRPr lang=\"en-US\"/></a:p>"
        "<a:p><a:fld id=\"{B6F15528-21DE-4FAA-801E-634DDDAF4B2B}\" type=\"slidenum\"><a:rPr lang=\"en-US\"/><a:t>3</a:t></a:fld></a:p>");
    const Presentation p = open(shapeXml(38, QStringLiteral("x3/QKXBAMEW"),
                                         prst("rect", QStringLiteral("<a:solidFill><a:srgbClr val=\"ffcc00\"/></a:solidFill>"
                                                                     "<a:ln w=\"0\"><a:noFill/></a:ln>")),
                                         body(para)));
    const Shape s = item(p, 1);
    EXPECT_EQ(s.AutoShapeType(), ShapeRectangle);
    EXPECT_EQ(s.Name(), QStringLiteral("x3/QKXBAMEW"));
    EXPECT_EQ(s.TextFrame().TextRange().Text(), QStringLiteral("Cat:  Tom\v\tand\r\n\r\n3"));
    EXPECT_EQ(s.TextFrame().TextRange().Font().Name(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(s.TextFrame().TextRange().Font().Size(), 10.5f);
    EXPECT_TRUE(s.Fill().Visible());
    EXPECT_EQ(s.Fill().ForeColor().RGB(), 0x00CCFF);
    EXPECT_FALSE(s.Line().Visible());
    EXPECT_NEAR(s.Left(), 100, 1e-4);
    EXPECT_NEAR(s.Width(), 100, 1e-4);
    EXPECT_NEAR(s.Height(), 50, 1e-4);
    EXPECT_TRUE(s.data().textColourSet);
    EXPECT_EQ(s.data().textRgb, 0x0000C0u);

    // New text keeps the first run's formatting, its colour with it.
    s.TextFrame().TextRange().SetText(QStringLiteral("Dog"));
    const Presentation q = readPresentation(presentationBytes(p), QStringLiteral("again.pptx"));
    EXPECT_EQ(item(q, 1).data().textRgb, 0x0000C0u);
}

TEST_F(Reading, FontsAndColoursInheritFromListStyleShapeStyleMasterAndTheme)
{
    const QString plain = body(QStringLiteral("<a:p><a:r><a:rPr lang=\"en-US\"/><a:t>x</a:t></a:r></a:p>"));
    const QString listed = body(QStringLiteral("<a:p><a:r><a:rPr lang=\"en-US\"/><a:t>x</a:t></a:r></a:p>"), QStringLiteral("<a:bodyPr/>"),
                                QStringLiteral("<a:lstStyle><a:lvl1pPr><a:defRPr sz=\"2000\"><a:solidFill><a:schemeClr val=\"accent2\"/></a:solidFill>"
                                               "<a:latin typeface=\"Courier New\"/></a:defRPr></a:lvl1pPr></a:lstStyle>"));
    const QString major = QStringLiteral("<p:style><a:lnRef idx=\"2\"><a:schemeClr val=\"accent2\"/></a:lnRef>"
                                         "<a:fillRef idx=\"1\"><a:schemeClr val=\"accent1\"><a:lumMod val=\"50000\"/></a:schemeClr></a:fillRef>"
                                         "<a:effectRef idx=\"0\"><a:scrgbClr r=\"0\" g=\"0\" b=\"0\"/></a:effectRef>"
                                         "<a:fontRef idx=\"major\"><a:schemeClr val=\"lt1\"/></a:fontRef></p:style>");
    const Presentation p = open(shapeXml(2, QStringLiteral("plain"), prst("ellipse"), plain)
                                + shapeXml(3, QStringLiteral("listed"), prst("ellipse"), listed)
                                + shapeXml(4, QStringLiteral("styled"), prst("diamond"), plain, major)
                                + shapeXml(5, QStringLiteral("system"), prst("rect", QStringLiteral("<a:solidFill><a:sysClr val=\"windowText\" lastClr=\"0A0B0C\"/></a:solidFill>")), plain));
    // The master's other-text style says 14 pt in the theme's minor font (Verdana).
    EXPECT_EQ(item(p, 1).TextFrame().TextRange().Font().Name(), QStringLiteral("Verdana"));
    EXPECT_EQ(item(p, 1).TextFrame().TextRange().Font().Size(), 14.0f);
    EXPECT_FALSE(item(p, 1).Fill().Visible()) << "no fill of its own and no style: none";
    EXPECT_FALSE(item(p, 1).Line().Visible());
    EXPECT_EQ(item(p, 2).TextFrame().TextRange().Font().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(item(p, 2).TextFrame().TextRange().Font().Size(), 20.0f);
    // The shape style: theme major font (Georgia), fill accent1, line accent2.
    const Shape styled = item(p, 3);
    EXPECT_EQ(styled.TextFrame().TextRange().Font().Name(), QStringLiteral("Georgia"));
    EXPECT_TRUE(styled.Fill().Visible());
    EXPECT_EQ(styled.Fill().ForeColor().RGB(), 0xBD814F);
    EXPECT_TRUE(styled.Line().Visible());
    EXPECT_EQ(styled.Line().ForeColor().RGB(), 0x4D50C0);
    EXPECT_EQ(item(p, 4).Fill().ForeColor().RGB(), 0x0C0B0A);
    // Text colour: none named, the list style's, the shape style's font colour.
    EXPECT_FALSE(item(p, 1).data().textColourSet);
    EXPECT_EQ(item(p, 2).data().textRgb, 0x4D50C0u);
    EXPECT_TRUE(styled.data().textColourSet);
    EXPECT_EQ(styled.data().textRgb, 0xFFFFFFu);
}

TEST_F(Reading, AlternateContentIsKeptAndNeverMistakenForTheFallback)
{
    const QString alternate = QStringLiteral(
        "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
        "<mc:Choice xmlns:a14=\"http://schemas.microsoft.com/office/drawing/2010/main\" Requires=\"a14\">%1</mc:Choice>"
        "<mc:Fallback>%2</mc:Fallback></mc:AlternateContent>")
        .arg(shapeXml(7, QStringLiteral("math"), prst("rect"), body(QStringLiteral("<a:p><a:r><a:rPr/><a:t>new</a:t></a:r></a:p>"))),
             shapeXml(7, QStringLiteral("math"), prst("rect"), QString()));
    // Inside a shape too: its text runs in a choice are not read as text.
    const QString inner = shapeXml(
        8, QStringLiteral("inside"), prst("rect"),
        body(QStringLiteral("<a:p><a:r><a:rPr/><a:t>a</a:t></a:r>"
                            "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
                            "<mc:Choice Requires=\"a14\"><a:r><a:rPr/><a:t>b</a:t></a:r></mc:Choice>"
                            "<mc:Fallback><a:r><a:rPr/><a:t>c</a:t></a:r></mc:Fallback></mc:AlternateContent></a:p>")));
    const PartMap parts = minimalDeck(alternate + inner);
    const Presentation p = readPresentation(zipParts(parts), QStringLiteral("alt.pptx"));
    ASSERT_EQ(p.Slides().Item(1).Shapes().Count(), 2);
    EXPECT_EQ(item(p, 1).AutoShapeType(), ShapeNotPrimitive);
    EXPECT_FALSE(item(p, 1).HasTextFrame());
    EXPECT_EQ(item(p, 2).TextFrame().TextRange().Text(), QStringLiteral("a"));

    // Changing the slide keeps the alternate content as it was, and gives the new shape an id
    // that none of the ids inside it has.
    p.Slides().Item(1).Shapes().AddShape(ShapeRectangle, 1, 1, 10, 10);
    const QByteArray slide = unzipParts(presentationBytes(p)).at(QStringLiteral("ppt/slides/slide1.xml"));
    EXPECT_TRUE(slide.contains(alternate.toUtf8()));
    EXPECT_TRUE(slide.contains("<p:cNvPr id=\"9\" name=\"Rectangle 3\"/>")) << slide.toStdString();
}

TEST_F(Reading, GlueFollowsRenumberedIdsForwardReferencesAndRepairsStaleBoxes)
{
    // Ids as LibreOffice renumbers them (large, not in order), the connector listed before the
    // shapes it joins, and a box that no longer matches the shapes (the rect moved).
    const QString shapes =
        connector(40, QStringLiteral("<a:stCxn id=\"47\" idx=\"3\"/><a:endCxn id=\"45\" idx=\"0\"/>"),
                  "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"100\" cy=\"100\"/>")
        + shapeXml(47, QStringLiteral("A"), prst("rect"), QString(), {}, {}, "<a:off x=\"1270000\" y=\"1270000\"/><a:ext cx=\"1270000\" cy=\"635000\"/>")
        + shapeXml(45, QStringLiteral("B"), prst("ellipse"), QString(), {}, {}, "<a:off x=\"3810000\" y=\"3810000\"/><a:ext cx=\"1270000\" cy=\"635000\"/>")
        + connector(41, QStringLiteral("<a:stCxn id=\"99\" idx=\"0\"/><a:endCxn id=\"45\" idx=\"9\"/>"),
                    "<a:off x=\"635000\" y=\"635000\"/><a:ext cx=\"635000\" cy=\"635000\"/>");
    const Presentation p = open(shapes);
    const Slide slide = p.Slides().Item(1);
    const Shape arc = slide.Shapes().Item(1);
    ASSERT_TRUE(arc.ConnectorFormat().BeginConnected());
    ASSERT_TRUE(arc.ConnectorFormat().EndConnected());
    EXPECT_EQ(arc.ConnectorFormat().BeginConnectedShape().Name(), QStringLiteral("A"));
    EXPECT_EQ(arc.ConnectorFormat().BeginConnectionSite(), 4);
    EXPECT_EQ(arc.ConnectorFormat().EndConnectedShape().Name(), QStringLiteral("B"));
    EXPECT_EQ(arc.ConnectorFormat().EndConnectionSite(), 1);
    expectAt(arc.data().begin, {200, 125}); // right of A: (100 + 100, 100 + 25)
    expectAt(arc.data().end, {350, 300});   // top of B: (300 + 50, 300)
    EXPECT_TRUE(p.Saved()) << "a repair is not a change of the user's";

    // A dangling id and a site the shape does not have leave their ends loose, as stored.
    const Shape loose = slide.Shapes().Item(4);
    EXPECT_FALSE(loose.ConnectorFormat().BeginConnected());
    EXPECT_FALSE(loose.ConnectorFormat().EndConnected());

    // Saving writes the repaired box and keeps the glue; the loose connector stays as it was.
    const QByteArray xml = unzipParts(presentationBytes(p)).at(QStringLiteral("ppt/slides/slide1.xml"));
    EXPECT_TRUE(xml.contains("<a:off x=\"2540000\" y=\"1587500\"/><a:ext cx=\"1905000\" cy=\"2222500\"/>")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<a:stCxn id=\"47\" idx=\"3\"/><a:endCxn id=\"45\" idx=\"0\"/>"));
    EXPECT_TRUE(xml.contains(shapes.mid(shapes.lastIndexOf(QStringLiteral("<p:cxnSp>"))).toUtf8()));
}

TEST_F(Reading, RotatedAndFlippedConnectorsAndRepeatedIds)
{
    // A connector rotated by 90 degrees about its centre, and two shapes with the same id: the
    // reference reaches the last one, as LibreOffice does.
    const QString shapes =
        connector(2, QString(), "<a:off x=\"0\" y=\"635000\"/><a:ext cx=\"1270000\" cy=\"0\"/>", " rot=\"5400000\"")
        + shapeXml(5, QStringLiteral("first"), prst("rect"), QString())
        + shapeXml(5, QStringLiteral("second"), prst("rect"), QString(), {}, {}, "<a:off x=\"2540000\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"1270000\"/>")
        + connector(6, QStringLiteral("<a:endCxn id=\"5\" idx=\"1\"/>"), "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"2540000\" cy=\"635000\"/>", " flipH=\"1\"");
    const Presentation p = open(shapes);
    const ShapeData& rotated = item(p, 1).data();
    expectAt(rotated.begin, {50, 0});
    expectAt(rotated.end, {50, 100});
    const Shape arc = item(p, 4);
    EXPECT_EQ(arc.ConnectorFormat().EndConnectedShape().Name(), QStringLiteral("second"));
    expectAt(arc.data().end, {200, 50});  // left site of "second"
    expectAt(arc.data().begin, {200, 0}); // flipH: the begin is the box's right edge
}

TEST_F(Reading, UnnamedSlidesTakeTheGraphNameFromTheirTitleLabel)
{
    // As LibreOffice writes our slides: no slide name, the title label without its text-box
    // mark but still a no-symbol marker without fill or line.
    const QString title = shapeXml(2, QStringLiteral("TITLEAAA"),
                                   prst("noSmoking", QStringLiteral("<a:noFill/><a:ln w=\"0\"><a:noFill/></a:ln>")),
                                   body(QStringLiteral("<a:p><a:r><a:rPr sz=\"2400\"/><a:t>Dog</a:t></a:r><a:r><a:rPr sz=\"2400\"/>"
                                                       "<a:t> is Graph</a:t></a:r></a:p>"),
                                        QStringLiteral("<a:bodyPr wrap=\"none\"><a:spAutoFit/></a:bodyPr>")));
    const Presentation named = open(title, nullptr);
    const Slide slide = named.Slides().Item(1);
    EXPECT_EQ(slide.Name(), QStringLiteral("Dog"));
    const Shape label = slide.Shapes().Item(1);
    EXPECT_EQ(label.AutoShapeType(), ShapeNoSymbol);
    EXPECT_EQ(label.data().kind, ShapeKind::TextBox);
    EXPECT_EQ(label.TextFrame().AutoSize(), AutoSizeShapeToFitText);
    EXPECT_FALSE(label.TextFrame().WordWrap());

    // Without a title, or with one that is not "name is type", the host's own name scheme.
    EXPECT_EQ(open(QString(), nullptr).Slides().Item(1).Name(), QStringLiteral("Slide1"));
    const QString notTitle = shapeXml(2, QStringLiteral("T"), prst("noSmoking", QStringLiteral("<a:noFill/>")),
                                      body(QStringLiteral("<a:p><a:r><a:rPr/><a:t>no title here</a:t></a:r></a:p>")));
    EXPECT_EQ(open(notTitle, nullptr).Slides().Item(1).Name(), QStringLiteral("Slide1"));
    // A stored name wins over the title.
    EXPECT_EQ(open(title, "Stored").Slides().Item(1).Name(), QStringLiteral("Stored"));

    // An unfilled, unlined rectangle with text is a label too; a filled one is a concept.
    const QString bare = shapeXml(3, QStringLiteral("L"), prst("rect", QStringLiteral("<a:noFill/><a:ln><a:noFill/></a:ln>")),
                                  body(QStringLiteral("<a:p><a:r><a:rPr/><a:t>label</a:t></a:r></a:p>")));
    const QString filled = shapeXml(4, QStringLiteral("C"), prst("rect", QStringLiteral("<a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill>")),
                                    body(QStringLiteral("<a:p><a:r><a:rPr/><a:t>Cat</a:t></a:r></a:p>")));
    const Presentation labels = open(bare + filled);
    EXPECT_EQ(item(labels, 1).data().kind, ShapeKind::TextBox);
    EXPECT_EQ(item(labels, 2).data().kind, ShapeKind::AutoShape);
    EXPECT_EQ(item(labels, 1).AutoShapeType(), ShapeRectangle);
}

TEST_F(Reading, UnknownGeometriesKeepTheirShapeAndAreNoneOfTheGraphs)
{
    const QString star = shapeXml(2, QStringLiteral("star"), QStringLiteral("<a:prstGeom prst=\"star5\"><a:avLst/></a:prstGeom>"),
                                  body(QStringLiteral("<a:p><a:r><a:rPr/><a:t>s</a:t></a:r></a:p>")));
    const QString noGeometry = shapeXml(3, QStringLiteral("placeholder"), QString(), body(QStringLiteral("<a:p><a:r><a:rPr/><a:t>t</a:t></a:r></a:p>")),
                                        {}, {}, "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"1\" cy=\"1\"/>");
    const Presentation p = open(star + noGeometry);
    for (int i = 1; i <= 2; ++i) {
        const int type = item(p, i).AutoShapeType();
        for (int graphType : {1, 4, 9, 19, 51, 63, 106, -2})
            EXPECT_NE(type, graphType);
    }
    // Editing its text keeps its geometry.
    item(p, 1).TextFrame().TextRange().SetText(QStringLiteral("changed"));
    const Presentation q = readPresentation(presentationBytes(p), QStringLiteral("again.pptx"));
    EXPECT_EQ(item(q, 1).data().preset, QStringLiteral("star5"));
    EXPECT_EQ(item(q, 1).TextFrame().TextRange().Text(), QStringLiteral("changed"));
}

// Placeholders without a transform of their own sit where the layout's placeholder with the same
// index (or type) sits, else where the master's placeholder of that kind sits; that place is
// inherited, not written into the slide, until the user moves the shape.
TEST_F(Reading, PlaceholdersWithoutATransformTakeTheirPlaceFromLayoutAndMaster)
{
    // Text that sizes its shape: new text refits the box but leaves the place inherited.
    auto placeholder = [](int id, const char* ph, const char* box) {
        const QString xfrm = box ? QStringLiteral("<a:xfrm>%1</a:xfrm>").arg(QLatin1String(box)) : QString();
        return QStringLiteral("<p:sp><p:nvSpPr><p:cNvPr id=\"%1\" name=\"P%1\"/><p:cNvSpPr/><p:nvPr>%2</p:nvPr></p:nvSpPr>"
                              "<p:spPr>%3</p:spPr><p:txBody><a:bodyPr><a:spAutoFit/></a:bodyPr><a:lstStyle/><a:p><a:r><a:rPr/><a:t>x</a:t></a:r></a:p>"
                              "</p:txBody></p:sp>")
            .arg(id)
            .arg(QLatin1String(ph), xfrm);
    };
    const char* pt10 = "<a:off x=\"127000\" y=\"254000\"/><a:ext cx=\"1270000\" cy=\"635000\"/>";  // 10,20 100x50
    const char* pt30 = "<a:off x=\"381000\" y=\"508000\"/><a:ext cx=\"2540000\" cy=\"1270000\"/>"; // 30,40 200x100
    const char* pt50 = "<a:off x=\"635000\" y=\"762000\"/><a:ext cx=\"254000\" cy=\"127000\"/>";   // 50,60 20x10
    PartMap parts = minimalDeck(placeholder(2, "<p:ph type=\"title\"/>", nullptr) + placeholder(3, "<p:ph idx=\"1\"/>", nullptr)
                                + placeholder(4, "<p:ph type=\"dt\" idx=\"10\"/>", nullptr)
                                + placeholder(5, "<p:ph type=\"title\"/>", "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"12700\" cy=\"12700\"/>")
                                + placeholder(6, "<p:ph type=\"pic\" idx=\"7\"/>", nullptr));
    parts["ppt/slideLayouts/slideLayout1.xml"].replace(
        "</p:spTree>", (placeholder(2, "<p:ph type=\"title\"/>", pt10) + placeholder(3, "<p:ph idx=\"1\"/>", nullptr) + "</p:spTree>").toUtf8());
    parts["ppt/slideMasters/slideMaster1.xml"].replace(
        "</p:spTree>", (placeholder(2, "<p:ph type=\"title\"/>", pt50) + placeholder(3, "<p:ph type=\"body\" idx=\"1\"/>", pt30)
                        + placeholder(4, "<p:ph type=\"dt\" idx=\"2\"/>", pt50) + "</p:spTree>").toUtf8());
    const Presentation p = readPresentation(zipParts(parts), QStringLiteral("ph.pptx"));

    struct Expected {
        float left, top, width, height;
    };
    const Expected expected[] = {
        {10, 20, 100, 50}, // title: the layout's title
        {30, 40, 200, 100}, // content idx 1: on the layout without a box, so the master's body
        {50, 60, 20, 10},   // date: not on the layout, the master's date
        {0, 0, 1, 1},       // a transform of its own wins
        {30, 40, 200, 100}, // a picture placeholder the layout lacks: the master's body
    };
    for (int i = 1; i <= 5; ++i) {
        SCOPED_TRACE(i);
        const Shape s = item(p, i);
        const Expected& e = expected[i - 1];
        EXPECT_FLOAT_EQ(s.Left(), e.left);
        EXPECT_FLOAT_EQ(s.Top(), e.top);
        EXPECT_FLOAT_EQ(s.Width(), e.width);
        EXPECT_FLOAT_EQ(s.Height(), e.height);
    }

    // Editing the text keeps the place inherited; moving the shape writes it into the slide.
    item(p, 1).TextFrame().TextRange().SetText(QStringLiteral("A much longer title than before"));
    EXPECT_GT(item(p, 1).Width(), 100); // refitted
    item(p, 2).SetLeft(35);
    const PartMap after = unzipParts(presentationBytes(p));
    const QByteArray slide = after.at(QStringLiteral("ppt/slides/slide1.xml"));
    const qsizetype second = slide.indexOf("name=\"P3\"");
    EXPECT_FALSE(slide.left(second).contains("<a:xfrm")) << slide.toStdString();
    EXPECT_TRUE(slide.mid(second).contains("<a:off x=\"444500\" y=\"508000\"/><a:ext cx=\"2540000\" cy=\"1270000\"/>")) << slide.toStdString();
    const Presentation q = readPresentation(zipParts(after), QStringLiteral("again.pptx"));
    EXPECT_FLOAT_EQ(item(q, 1).Left(), 10);
    EXPECT_FLOAT_EQ(item(q, 2).Left(), 35);
}
