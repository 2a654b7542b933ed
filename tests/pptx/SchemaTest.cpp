// Every part we write validates against the Transitional schemas (xmllint), for presentations
// made here and for files from elsewhere that we changed. (Edited corpus slides are validated
// by the corpus tests.)
#include "PptxTestSupport.h"

#include "host/Slide.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

class Schema : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!schemasAvailable())
            GTEST_SKIP() << "xmllint or the schemas in " << ooxmlDir().toStdString() << " are missing";
    }
    Application app;
};

// Changes every property the model writes on every shape of the slide.
void editEveryShape(Slide slide)
{
    slide.SetName(QStringLiteral("changed & <more>"));
    for (int k = 1; k <= slide.Shapes().Count(); ++k) {
        Shape s = slide.Shapes().Item(k);
        s.SetName(s.Name() + QStringLiteral(" / \"changed\""));
        s.SetLeft(s.Left() + 10);
        if (s.Connector()) {
            s.Line().SetEndArrowheadStyle(ArrowheadOval);
            s.Line().SetBeginArrowheadStyle(ArrowheadStealth);
            s.Line().SetWeight(2.5f);
            continue;
        }
        if (!s.HasTextFrame())
            continue;
        s.TextFrame().TextRange().SetText(QStringLiteral("new\rtext\vwith break"));
        s.TextFrame().TextRange().Font().SetName(QStringLiteral("Liberation Serif"));
        s.TextFrame().TextRange().Font().SetSize(13.5f);
        s.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
        s.TextFrame().SetWordWrap(false);
        s.Fill().SetVisible(true);
        s.Fill().ForeColor().SetRGB(0x123456);
        s.Line().SetVisible(false);
        s.SetAutoShapeType(ShapeRoundedRectangularCallout);
    }
}

} // namespace

TEST_F(Schema, NewPresentationsValidateWithTheMinimalPartSet)
{
    const PartMap parts = unzipParts(presentationBytes(makeGraphDeck(app)));
    const QStringList expected{"[Content_Types].xml", "_rels/.rels", "docProps/app.xml", "docProps/core.xml",
                               "ppt/_rels/presentation.xml.rels", "ppt/presProps.xml", "ppt/presentation.xml",
                               "ppt/slideLayouts/_rels/slideLayout1.xml.rels", "ppt/slideLayouts/slideLayout1.xml",
                               "ppt/slideMasters/_rels/slideMaster1.xml.rels", "ppt/slideMasters/slideMaster1.xml",
                               "ppt/slides/_rels/slide1.xml.rels", "ppt/slides/_rels/slide2.xml.rels", "ppt/slides/slide1.xml",
                               "ppt/slides/slide2.xml", "ppt/tableStyles.xml", "ppt/theme/theme1.xml", "ppt/viewProps.xml"};
    QStringList names;
    for (const auto& [name, data] : parts)
        names << name;
    EXPECT_EQ(names, expected);
    EXPECT_EQ(schemaProblems(parts), QStringList());
    EXPECT_EQ(schemaProblems(unzipParts(presentationBytes(app.Presentations().Add()))), QStringList());
}

TEST_F(Schema, DecksFromElsewhereValidateAfterEveryChangeTheModelCanMake)
{
    // PowerPoint-style shapes of every kind, each modelled property changed, one shape added.
    const PartMap source = minimalDeck(richShapes());
    ASSERT_EQ(schemaProblems(source), QStringList()) << "the test deck itself must be valid";
    const Presentation rich = readPresentation(zipParts(source), QStringLiteral("rich.pptx"));
    editEveryShape(rich.Slides().Item(1));
    rich.Slides().Item(1).Shapes().AddShape(ShapeDiamond, 20, 20, 60, 30).TextFrame().TextRange().SetText(QStringLiteral("added"));
    EXPECT_EQ(schemaProblems(unzipParts(presentationBytes(rich))), QStringList());

    // A PowerPoint deck with connectors: glued to a new shape, a slide added and one deleted,
    // the page size changed.
    const QByteArray original = readFile(ooxmlDir() + QStringLiteral("/connector.pptx"));
    ASSERT_FALSE(original.isEmpty());
    const Presentation deck = readPresentation(original, QStringLiteral("connector.pptx"));
    Slide first = deck.Slides().Item(1);
    Shape rect = first.Shapes().AddShape(ShapeRectangle, 100, 100, 120, 40);
    rect.TextFrame().TextRange().SetText(QStringLiteral("Dog"));
    first.Shapes().Item(1).ConnectorFormat().EndConnect(rect, 3);
    editEveryShape(first);
    deck.Slides().Add(deck.Slides().Count() + 1, LayoutBlank).Shapes().AddShape(ShapeOval, 10, 10, 50, 50);
    deck.Slides().Item(2).Delete();
    deck.PageSetup().SetSlideWidth(960);
    EXPECT_EQ(schemaProblems(unzipParts(presentationBytes(deck))), QStringList());
}
