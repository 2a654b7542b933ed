// Reading what other programs write (split runs, inherited fonts, shape styles, alternate
// content, renumbered ids, stale connector boxes, unnamed slides, placeholders): the slides of
// tests/cases/pptx/reading.case, described shape by shape; and what edits of such shapes write.
#include "PptxTestSupport.h"

#include "host/Slide.h"
#include "host/pptx/XmlCursor.h"
#include "support/CaseFiles.h"

#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

Presentation open(const QString& shapes)
{
    return readPresentation(zipParts(minimalDeck(shapes)), QStringLiteral("test.pptx"));
}

QByteArray writtenSlide(const Presentation& p)
{
    return unzipParts(presentationBytes(p)).at(QStringLiteral("ppt/slides/slide1.xml"));
}

QString textShape(int id, const char* fill, const char* run)
{
    return QStringLiteral("<p:sp><p:nvSpPr><p:cNvPr id=\"%1\" name=\"S%1\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm>"
                          "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"635000\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>%2"
                          "</p:spPr><p:txBody><a:bodyPr/><a:lstStyle/><a:p>%3</a:p></p:txBody></p:sp>")
        .arg(id)
        .arg(QLatin1String(fill), QLatin1String(run));
}

} // namespace

TEST(Reading, EachSlideReadsAsItsCaseDescribesIt)
{
    for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("reading.case"))) {
        const Presentation p = readPresentation(deckFromSteps(c.input), QStringLiteral("test.pptx"));
        const Slide slide = p.Slides().Item(1);
        QStringList got{QStringLiteral("slide ") + slide.Name()};
        for (int i = 1; i <= slide.Shapes().Count(); ++i)
            got << describeShape(slide.Shapes().Item(i));
        EXPECT_EQ(Lines(got), Lines(c.expected)) << c.where();
        EXPECT_TRUE(p.Saved()) << c.where() << ": a repair is not a change of the user's";
    }
}

TEST(Reading, AlternateContentIsWrittenBackAsItWasAndItsIdsStayTaken)
{
    const QString alternate = QStringLiteral(
        "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
        "<mc:Choice xmlns:a14=\"http://schemas.microsoft.com/office/drawing/2010/main\" Requires=\"a14\">%1</mc:Choice><mc:Fallback>%2</mc:Fallback></mc:AlternateContent>")
        .arg(textShape(8, "", "<a:r><a:rPr/><a:t>new</a:t></a:r>"), textShape(7, "", ""));
    const Presentation p = open(alternate);
    p.Slides().Item(1).Shapes().AddShape(ShapeRectangle, 1, 1, 10, 10);
    const QByteArray slide = writtenSlide(p);
    EXPECT_TRUE(slide.contains(alternate.toUtf8()));
    EXPECT_TRUE(slide.contains("<p:cNvPr id=\"9\" name=\"Rectangle 2\"/>")) << slide.toStdString();
}

TEST(Reading, RepairedConnectorBoxesAreWrittenAndLooseEndsStayAsStored)
{
    const QString loose = QStringLiteral(
        "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"41\" name=\"Arc\"/><p:cNvCxnSpPr><a:stCxn id=\"99\" idx=\"0\"/></p:cNvCxnSpPr><p:nvPr/>"
        "</p:nvCxnSpPr><p:spPr><a:xfrm><a:off x=\"635000\" y=\"635000\"/><a:ext cx=\"635000\" cy=\"635000\"/></a:xfrm>"
        "<a:prstGeom prst=\"straightConnector1\"><a:avLst/></a:prstGeom></p:spPr></p:cxnSp>");
    QString stale = loose;
    stale.replace(QStringLiteral("<a:stCxn id=\"99\" idx=\"0\"/>"), QStringLiteral("<a:stCxn id=\"2\" idx=\"3\"/><a:endCxn id=\"3\" idx=\"0\"/>"))
        .replace(QStringLiteral("id=\"41\""), QStringLiteral("id=\"40\""));
    const Presentation p = open(stale + textShape(2, "", "") + textShape(3, "", "").replace(QStringLiteral("x=\"0\" y=\"0\""), QStringLiteral("x=\"3810000\" y=\"3810000\"")) + loose);
    const QByteArray xml = writtenSlide(p);
    // Right of S2 (100, 25) to the top of S3 (350, 300).
    EXPECT_TRUE(xml.contains("<a:off x=\"1270000\" y=\"317500\"/><a:ext cx=\"3175000\" cy=\"3492500\"/>")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<a:stCxn id=\"2\" idx=\"3\"/><a:endCxn id=\"3\" idx=\"0\"/>"));
    EXPECT_TRUE(xml.contains(loose.toUtf8()));
}

// A title label as Impress writes it back (no text-box mark, its box grown until the text fits
// the no-symbol marker's inner square) is read into the box it had; moved and saved, then read
// again, and again, it keeps that box, and is marked a text box once written.
TEST(Reading, ATitleLabelImpressWroteBackKeepsItsBoxOverSaves)
{
    const QString title = QStringLiteral(
        "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"TITLEAAA\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm>"
        "<a:off x=\"1270000\" y=\"1270000\"/><a:ext cx=\"1270000\" cy=\"635000\"/></a:xfrm><a:prstGeom prst=\"noSmoking\">"
        "<a:avLst/></a:prstGeom><a:noFill/><a:ln w=\"0\"><a:noFill/></a:ln></p:spPr><p:txBody><a:bodyPr wrap=\"none\"><a:spAutoFit/>"
        "</a:bodyPr><a:lstStyle/><a:p><a:r><a:rPr sz=\"2400\"/><a:t>Dog is Graph</a:t></a:r></a:p></p:txBody></p:sp>");
    Presentation p = open(title);
    const Shape first = p.Slides().Item(1).Shapes().Item(1);
    const float width = first.Width(), height = first.Height();
    ASSERT_NEAR(width, 70.71, 0.01);
    for (int save = 1; save <= 3; ++save) {
        Shape label = p.Slides().Item(1).Shapes().Item(1);
        label.SetLeft(label.Left() + 10);
        const QByteArray bytes = presentationBytes(p);
        EXPECT_TRUE(unzipParts(bytes).at(QStringLiteral("ppt/slides/slide1.xml")).contains("<p:cNvSpPr txBox=\"1\"/>"));
        p = readPresentation(bytes, QStringLiteral("test.pptx"));
        label = p.Slides().Item(1).Shapes().Item(1);
        EXPECT_NEAR(label.Width(), width, 0.01) << "save " << save;
        EXPECT_NEAR(label.Height(), height, 0.01) << "save " << save;
        EXPECT_NEAR(label.Left(), 114.64 + 10 * save, 0.01) << "save " << save;
    }
}

// A user's unfilled, unlined rectangle of text, read as a label, keeps what it had when it is
// moved and written again: no text-box mark is added to it.
TEST(Reading, AnUnmarkedRectangleOfTextStaysUnmarkedWhenMoved)
{
    const QString note = QStringLiteral(
        "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Note\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm>"
        "<a:off x=\"1270000\" y=\"1270000\"/><a:ext cx=\"1270000\" cy=\"635000\"/></a:xfrm><a:prstGeom prst=\"rect\">"
        "<a:avLst/></a:prstGeom><a:noFill/><a:ln><a:noFill/></a:ln></p:spPr><p:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r>"
        "<a:rPr sz=\"1800\"/><a:t>Plain user note</a:t></a:r></a:p></p:txBody></p:sp>");
    Presentation p = open(note);
    Shape shape = p.Slides().Item(1).Shapes().Item(1);
    ASSERT_EQ(shape.data().kind, ShapeKind::TextBox);
    shape.SetLeft(shape.Left() + 10);
    const QByteArray slide = writtenSlide(p);
    EXPECT_TRUE(slide.contains("<a:off x=\"1397000\"")) << slide.toStdString();
    EXPECT_FALSE(slide.contains("txBox")) << slide.toStdString();
}

// A text box that wraps its words and grows to fit its text (as PowerPoint writes many) keeps
// its width when its text changes; one that does not wrap fits its width to its longest line.
TEST(Reading, ATextBoxThatWrapsKeepsItsWidthWhenItsTextChanges)
{
    const QString box = QStringLiteral("<p:sp><p:nvSpPr><p:cNvPr id=\"%1\" name=\"T%1\"/><p:cNvSpPr txBox=\"1\"/><p:nvPr/></p:nvSpPr>"
                                       "<p:spPr><a:xfrm><a:off x=\"0\" y=\"%2\"/><a:ext cx=\"8686800\" cy=\"369332\"/></a:xfrm>"
                                       "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:noFill/></p:spPr><p:txBody><a:bodyPr wrap=\"%3\">"
                                       "<a:spAutoFit/></a:bodyPr><a:lstStyle/><a:p><a:r><a:rPr lang=\"en-US\" sz=\"1800\"/><a:t>Front Line "
                                       "Organizations</a:t></a:r></a:p></p:txBody></p:sp>");
    const Presentation p = readPresentation(zipParts(minimalDeck(box.arg(2).arg(0).arg(QStringLiteral("square")) +
                                                                  box.arg(3).arg(1270000).arg(QStringLiteral("none")))),
                                            QStringLiteral("boxes.pptx"));
    Shape wrapping = p.Slides().Item(1).Shapes().Item(1);
    Shape single = p.Slides().Item(1).Shapes().Item(2);
    const float oneLine = wrapping.Height();
    wrapping.TextFrame().TextRange().SetText(QStringLiteral("Secondary Schools"));
    EXPECT_FLOAT_EQ(wrapping.Width(), 684);
    EXPECT_NEAR(wrapping.Height(), oneLine, oneLine * 0.2);
    wrapping.TextFrame().TextRange().SetText(QString(QStringLiteral("Secondary Schools and Colleges ")).repeated(12));
    EXPECT_FLOAT_EQ(wrapping.Width(), 684);
    EXPECT_GT(wrapping.Height(), 3 * oneLine);
    single.TextFrame().TextRange().SetText(QStringLiteral("Secondary Schools"));
    EXPECT_LT(single.Width(), 684);
}

// A gradient is drawn in its first stop's colour and a pattern in its foreground's, not in
// white, which hid white text and what lay under the shape.
TEST(Reading, AGradientOrPatternFillIsDrawnInItsFirstColour)
{
    QString shapes = richShapes(); // its star: a gradient from red to blue
    const Presentation p = readPresentation(zipParts(minimalDeck(shapes)), QStringLiteral("gradient.pptx"));
    const ShapeData& star = p.Slides().Item(1).Shapes().Item(4).data();
    EXPECT_TRUE(star.fillVisible);
    EXPECT_EQ(star.fillRgb, 0x0000FFu); // red, as 0x00BBGGRR
    shapes.replace(QStringLiteral("<a:gradFill><a:gsLst><a:gs pos=\"0\"><a:srgbClr val=\"FF0000\"/></a:gs><a:gs pos=\"100000\"><a:srgbClr val=\"0000FF\"/></a:gs></a:gsLst></a:gradFill>"),
                   QStringLiteral("<a:pattFill prst=\"pct5\"><a:fgClr><a:srgbClr val=\"00FF00\"/></a:fgClr><a:bgClr><a:srgbClr val=\"FFFFFF\"/></a:bgClr></a:pattFill>"));
    ASSERT_TRUE(shapes.contains(QStringLiteral("pattFill")));
    const Presentation q = readPresentation(zipParts(minimalDeck(shapes)), QStringLiteral("pattern.pptx"));
    EXPECT_EQ(q.Slides().Item(1).Shapes().Item(4).data().fillRgb, 0x00FF00u);
}

// A title placeholder's text takes the master's title style (size, and its font, often the
// theme's headings font), a body placeholder's the body style, a date's or a plain text box's
// what all other text takes: each title used to read as 14 pt, and a refit measured it so.
TEST(Reading, PlaceholderTextTakesItsMastersTitleOrBodyStyle)
{
    const QString shape = QStringLiteral("<p:sp><p:nvSpPr><p:cNvPr id=\"%1\" name=\"S%1\"/><p:cNvSpPr/><p:nvPr>%2</p:nvPr></p:nvSpPr>"
                                         "<p:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"635000\"/></a:xfrm></p:spPr>"
                                         "<p:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r><a:rPr lang=\"en-US\"/><a:t>x</a:t></a:r></a:p></p:txBody></p:sp>");
    PartMap parts = minimalDeck(shape.arg(2).arg(QStringLiteral("<p:ph type=\"title\"/>")) +
                                shape.arg(3).arg(QStringLiteral("<p:ph idx=\"1\"/>")) +
                                shape.arg(4).arg(QStringLiteral("<p:ph type=\"dt\" idx=\"10\"/>")) + shape.arg(5).arg(QString()));
    QByteArray& master = parts["ppt/slideMasters/slideMaster1.xml"];
    ASSERT_TRUE(master.contains("<p:txStyles>"));
    master.replace("<p:txStyles>", "<p:txStyles><p:titleStyle><a:lvl1pPr><a:defRPr sz=\"4400\"><a:latin typeface=\"+mj-lt\"/>"
                                   "</a:defRPr></a:lvl1pPr></p:titleStyle><p:bodyStyle><a:lvl1pPr><a:defRPr sz=\"3200\"/></a:lvl1pPr>"
                                   "</p:bodyStyle>");
    const Presentation p = readPresentation(zipParts(parts), QStringLiteral("styles.pptx"));
    const Shapes shapes = p.Slides().Item(1).Shapes();
    const auto font = [&](int i) {
        const ShapeData& d = shapes.Item(i).data();
        return QStringLiteral("%1 %2").arg(d.fontName).arg(d.fontSize).toStdString();
    };
    EXPECT_EQ(font(1), "Georgia 44");
    EXPECT_EQ(font(2), "Verdana 32");
    EXPECT_EQ(font(3), "Verdana 14");
    EXPECT_EQ(font(4), "Verdana 14");

    // The layout's title placeholder names its own size in its list style: that comes first.
    parts["ppt/slideLayouts/slideLayout1.xml"].replace(
        "</p:spTree>", "<p:sp><p:nvSpPr><p:cNvPr id=\"9\" name=\"T\"/><p:cNvSpPr/><p:nvPr><p:ph type=\"title\"/></p:nvPr></p:nvSpPr>"
                       "<p:spPr/><p:txBody><a:bodyPr/><a:lstStyle><a:lvl1pPr><a:defRPr sz=\"5200\"/></a:lvl1pPr></a:lstStyle><a:p/>"
                       "</p:txBody></p:sp></p:spTree>");
    const Presentation q = readPresentation(zipParts(parts), QStringLiteral("layout.pptx"));
    const ShapeData& title = q.Slides().Item(1).Shapes().Item(1).data();
    EXPECT_EQ(QStringLiteral("%1 %2").arg(title.fontName).arg(title.fontSize).toStdString(), "Georgia 52");
}

TEST(Reading, PlaceholdersKeepAnInheritedPlaceUntilMoved)
{
    // A title placeholder placed by the layout; new text refits it and leaves the place inherited.
    const QString title = QStringLiteral("<p:sp><p:nvSpPr><p:cNvPr id=\"%1\" name=\"P%1\"/><p:cNvSpPr/><p:nvPr><p:ph type=\"title\"/></p:nvPr>"
                                         "</p:nvSpPr><p:spPr>%2</p:spPr><p:txBody><a:bodyPr><a:spAutoFit/></a:bodyPr><a:lstStyle/><a:p><a:r><a:rPr/>"
                                         "<a:t>x</a:t></a:r></a:p></p:txBody></p:sp>");
    PartMap parts = minimalDeck(title.arg(2).arg(QString()) + title.arg(3).arg(QString()));
    parts["ppt/slideLayouts/slideLayout1.xml"].replace(
        "</p:spTree>", title.arg(2).arg(QStringLiteral("<a:xfrm><a:off x=\"127000\" y=\"254000\"/><a:ext cx=\"1270000\" cy=\"635000\"/></a:xfrm>")).toUtf8() + "</p:spTree>");
    const Presentation p = readPresentation(zipParts(parts), QStringLiteral("ph.pptx"));
    const Shapes shapes = p.Slides().Item(1).Shapes();
    shapes.Item(1).TextFrame().TextRange().SetText(QStringLiteral("A much longer title than before"));
    // Refitted: its words wrap (the frame's default), so it keeps its width and grows taller.
    EXPECT_FLOAT_EQ(shapes.Item(1).Width(), 100);
    EXPECT_GT(shapes.Item(1).Height(), 50);
    shapes.Item(2).SetLeft(35);
    const QByteArray slide = writtenSlide(p);
    const qsizetype second = slide.indexOf("name=\"P3\"");
    EXPECT_FALSE(slide.left(second).contains("<a:xfrm")) << slide.toStdString();
    EXPECT_TRUE(slide.mid(second).contains("<a:off x=\"444500\" y=\"254000\"/>")) << slide.toStdString();
    const Presentation q = readPresentation(zipParts(unzipParts(presentationBytes(p))), QStringLiteral("again.pptx"));
    EXPECT_FLOAT_EQ(q.Slides().Item(1).Shapes().Item(1).Left(), 10);
    EXPECT_FLOAT_EQ(q.Slides().Item(1).Shapes().Item(2).Left(), 35);
}

// An opened slide's shapes take their XML from the part's bytes only when its decoded text
// encodes back to exactly those bytes; the comparison goes a piece of 65,536 units at a time.
TEST(Reading, ATextEncodesBackToItsBytesOnlyWhenTheyAreItsUtf8)
{
    using zov::host::pptx::encodesToUtf8;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x90\x88"); // a surrogate pair
    const QString mixed = QStringLiteral("<a:t>") + QString::fromUtf8("caf\xC3\xA9 \xE4\xB8\xAD") + emoji + QStringLiteral("</a:t>");
    EXPECT_TRUE(encodesToUtf8(mixed, mixed.toUtf8()));
    EXPECT_TRUE(encodesToUtf8(QString(), QByteArray()));

    // A pair across the end of a piece, and texts of one piece exactly and one unit more.
    for (const qsizetype before : {qsizetype(65534), qsizetype(65535), qsizetype(65536)}) {
        const QString text = QString(before, u'a') + emoji + QString(3, u'b');
        EXPECT_TRUE(encodesToUtf8(text, text.toUtf8())) << before;
        QByteArray changed = text.toUtf8();
        changed[changed.size() - 1] = 'c';
        EXPECT_FALSE(encodesToUtf8(text, changed)) << before;
    }

    // What decoding changed or dropped does not encode back: an invalid byte (decoded as U+FFFD),
    // a byte order mark, bytes cut short or run on.
    const QByteArray invalid("<a:t>caf\xC3</a:t>");
    EXPECT_FALSE(encodesToUtf8(QString::fromUtf8(invalid), invalid));
    EXPECT_FALSE(encodesToUtf8(mixed, "\xEF\xBB\xBF" + mixed.toUtf8()));
    EXPECT_FALSE(encodesToUtf8(mixed, mixed.toUtf8().chopped(1)));
    EXPECT_FALSE(encodesToUtf8(mixed, mixed.toUtf8() + ' '));
    const QString longText(200000, u'x');
    EXPECT_FALSE(encodesToUtf8(longText, longText.toUtf8().chopped(1)));
}
