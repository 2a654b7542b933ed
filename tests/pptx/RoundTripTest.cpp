// Writing the model and reading it back: everything the graph encoding relies on survives (what
// other programs write is read as tests/cases/pptx/reading.case says), and text that XML cannot hold.
#include "PptxTestSupport.h"

#include "host/ShapeCopy.h"
#include "host/Slide.h"

#include <QStringList>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

class RoundTrip : public ::testing::Test {
protected:
    Presentation reopen(const Presentation& p) { return readPresentation(presentationBytes(p), QStringLiteral("memory.pptx")); }

    Application app;
};

// The attributes of every element with this local name in the slide part, in document order.
std::vector<QXmlStreamAttributes> elements(const QByteArray& xml, const char* local)
{
    std::vector<QXmlStreamAttributes> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == QLatin1String(local))
            out.push_back(r.attributes());
    return out;
}

} // namespace

TEST_F(RoundTrip, EveryGraphShapeSurvivesWithNameTypeGeometryFillFontTextAndGlue)
{
    const Presentation original = makeGraphDeck(app);
    const PartMap written = unzipParts(presentationBytes(original));
    const Presentation copy = readPresentation(zipParts(written), QStringLiteral("memory.pptx"));
    ASSERT_EQ(copy.Slides().Count(), original.Slides().Count());
    EXPECT_NEAR(copy.PageSetup().SlideWidth(), 720, 0.001);
    EXPECT_NEAR(copy.PageSetup().SlideHeight(), 540, 0.001);
    for (int i = 1; i <= original.Slides().Count(); ++i) {
        const Slide a = original.Slides().Item(i), b = copy.Slides().Item(i);
        EXPECT_EQ(a.Name(), b.Name());
        ASSERT_EQ(a.Shapes().Count(), b.Shapes().Count());
        // The text survives exactly: spaces, tabs and characters outside Latin-1 are in the deck.
        for (int k = 1; k <= a.Shapes().Count(); ++k) {
            EXPECT_EQ(describeShape(a.Shapes().Item(k)), describeShape(b.Shapes().Item(k)));
            EXPECT_EQ(a.Shapes().Item(k).Line().EndArrowheadStyle(), b.Shapes().Item(k).Line().EndArrowheadStyle());
        }
    }
    EXPECT_TRUE(copy.Saved());

    // Saving what was read without changes gives the same parts.
    const PartMap again = unzipParts(presentationBytes(copy));
    ASSERT_EQ(again.size(), written.size());
    for (const auto& [name, data] : written)
        EXPECT_EQ(again.at(name), data) << name.toStdString();
}

// A presentation of more slides than a package read back may hold parts for is refused before
// its slides are written, with the count of parts the package would have had.
TEST_F(RoundTrip, APresentationTooLargeToReadBackIsRefusedWithItsPartCount)
{
    Presentation one = app.Presentations().Add();
    one.Slides().Add(1, LayoutBlank);
    const auto partsForOne = static_cast<qsizetype>(unzipParts(presentationBytes(one)).size());

    Presentation many = app.Presentations().Add();
    const int slides = 50000; // two parts each: the slide and its relationships
    for (int i = 1; i <= slides; ++i)
        many.Slides().Add(i, LayoutBlank);
    try {
        presentationBytes(many);
        ADD_FAILURE() << "a package too large to be read back was written";
    } catch (const PptxError& e) {
        const QString expected = QStringLiteral("too large to be opened again (the package would have %1 parts; at most 100000 are read)")
                                     .arg(partsForOne + 2 * (slides - 1));
        EXPECT_TRUE(e.reason().contains(expected)) << e.reason().toStdString();
    }
}

TEST_F(RoundTrip, PageSizeAndEmptyPresentations)
{
    Presentation empty = app.Presentations().Add();
    const Presentation emptyCopy = reopen(empty);
    EXPECT_EQ(emptyCopy.Slides().Count(), 0);
    EXPECT_NEAR(emptyCopy.PageSetup().SlideWidth(), 720, 0.001);

    Presentation wide = app.Presentations().Add();
    wide.PageSetup().SetSlideWidth(960);
    wide.PageSetup().SetSlideHeight(540);
    wide.Slides().Add(1, LayoutBlank);
    const QByteArray bytes = presentationBytes(wide);
    EXPECT_TRUE(unzipParts(bytes).at(QStringLiteral("ppt/presentation.xml")).contains("<p:sldSz cx=\"12192000\" cy=\"6858000\"/>"));
    const Presentation copy = readPresentation(bytes, QStringLiteral("wide.pptx"));
    EXPECT_NEAR(copy.PageSetup().SlideWidth(), 960, 0.001);
    EXPECT_NEAR(copy.PageSetup().SlideHeight(), 540, 0.001);

    // Changing the size of a presentation read from a file rewrites it there.
    copy.PageSetup().SetSlideWidth(720);
    const Presentation again = reopen(copy);
    EXPECT_NEAR(again.PageSetup().SlideWidth(), 720, 0.001);
    EXPECT_NEAR(again.PageSetup().SlideHeight(), 540, 0.001);
}

TEST_F(RoundTrip, TextIsSplitIntoParagraphsAndNeverCarriesCharactersXmlCannotHold)
{
    Presentation p = app.Presentations().Add();
    Slide slide = p.Slides().Add(1, LayoutBlank);
    Shape s = slide.Shapes().AddShape(ShapeRectangle, 10, 10, 100, 10);
    s.TextFrame().TextRange().SetText(QStringLiteral("first\rsecond\vsoft\r\n\rbell\x07 form\x0C end"));
    slide.Shapes().AddConnector(ConnectorStraight, 0, 0, 10, 10); // a loose connector is written without glue
    const QByteArray bytes = presentationBytes(p);
    const QByteArray xml = unzipParts(bytes).at(QStringLiteral("ppt/slides/slide1.xml"));
    EXPECT_EQ(elements(xml, "p").size(), 4u);
    EXPECT_EQ(elements(xml, "br").size(), 1u);
    EXPECT_FALSE(xml.contains('\x07'));
    EXPECT_FALSE(xml.contains('\x0C'));
    const Presentation copy = readPresentation(bytes, QStringLiteral("text.pptx"));
    const Shape back = copy.Slides().Item(1).Shapes().Item(1);
    EXPECT_EQ(back.TextFrame().TextRange().Text(), QStringLiteral("first\r\nsecond\vsoft\r\n\r\nbell form end"));

    // Markup characters, tabs and line ends in a name, and characters beyond the first plane,
    // come back as they were; an unpaired surrogate and U+FFFE/U+FFFF are dropped.
    const QString cat = QString::fromUtf8("\xF0\x9F\x90\x88");
    Presentation q = app.Presentations().Add();
    Shape named = q.Slides().Add(1, LayoutBlank).Shapes().AddShape(ShapeOval, 10, 10, 100, 10);
    named.SetName(QStringLiteral("a\"b<c>&d\te\nf\rg ") + cat + QChar(0xD800) + u'h');
    named.TextFrame().TextRange().SetText(QStringLiteral("<x & \"y\"> \t") + cat + QChar(0xDC00) + QChar(0xFFFE) + QChar(0xFFFF) +
                                          QString::fromUtf8(" caf\xC3\xA9 \xE4\xB8\xAD"));
    named.Fill().ForeColor().SetRGB(0x0A1B2C);
    const Presentation qCopy = reopen(q);
    const Shape read = qCopy.Slides().Item(1).Shapes().Item(1);
    EXPECT_EQ(read.Name(), QStringLiteral("a\"b<c>&d\te\nf\rg ") + cat + u'h');
    EXPECT_EQ(read.TextFrame().TextRange().Text(), QStringLiteral("<x & \"y\"> \t") + cat + QString::fromUtf8(" caf\xC3\xA9 \xE4\xB8\xAD"));
    EXPECT_EQ(read.Fill().ForeColor().RGB(), 0x0A1B2C);
    const QByteArray part = unzipParts(presentationBytes(q)).at(QStringLiteral("ppt/slides/slide1.xml"));
    EXPECT_TRUE(part.contains("<a:srgbClr val=\"2C1B0A\"/>")) << part.constData();
}

// A shape placed or moved off the file's grid (an arrangement's fractions of a point) is at the
// place it will have once saved and opened again, so that what is read of it (an export) is
// the same before a save and after it.
TEST_F(RoundTrip, APlaceBetweenTheFilesUnitsIsTheOneASaveKeeps)
{
    Presentation original = app.Presentations().Add();
    Shapes shapes = original.Slides().Add(1, LayoutBlank).Shapes();
    Shape placed = shapes.AddShape(ShapeRectangle, 204.71539f, 91.79221f, 40, 20);
    Shape moved = shapes.AddShape(ShapeRectangle, 10, 10, 40, 20);
    moved.SetLeft(95.54846f);
    moved.SetTop(130.42461f);
    const Shape pasted = AddShapeCopy(original.Slides().Item(1), moved.data(), QPointF(10.333333, 5.777777));
    const Presentation copy = reopen(original);
    const Shapes reopened = copy.Slides().Item(1).Shapes();
    EXPECT_EQ(reopened.Item(1).Left(), placed.Left());
    EXPECT_EQ(reopened.Item(1).Top(), placed.Top());
    EXPECT_EQ(reopened.Item(2).Left(), moved.Left());
    EXPECT_EQ(reopened.Item(2).Top(), moved.Top());
    EXPECT_EQ(reopened.Item(3).Left(), pasted.Left());
    EXPECT_EQ(reopened.Item(3).Top(), pasted.Top());
    // Within half a unit (1/25,400 point) of where it was put.
    EXPECT_NEAR(moved.Left(), 95.54846f, 0.5 / 12700 + 1e-5);
}
