// Every part we write validates against the Transitional schemas (xmllint), for presentations
// made here and for files from elsewhere that we changed.
#include "PptxTestSupport.h"

#include "host/Slide.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <optional>

using namespace zov::host;
using namespace zov::test;

namespace {

class Schema : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
            GTEST_SKIP() << "xmllint is not installed";
        if (!QFile::exists(ooxmlDir() + QStringLiteral("/schemas/ISO-IEC29500-4_2016/pml.xsd")))
            GTEST_SKIP() << "the schemas are not in " << ooxmlDir().toStdString();
    }

    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    Application app;
};

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

    const PartMap empty = unzipParts(presentationBytes(app.Presentations().Add()));
    EXPECT_EQ(schemaProblems(empty), QStringList());
}

TEST_F(Schema, EditedPowerPointDecksStillValidate)
{
    // A PowerPoint deck with connectors: edit, add and delete, and every changed part validates.
    const QByteArray original = readFile(ooxmlDir() + QStringLiteral("/connector.pptx"));
    ASSERT_FALSE(original.isEmpty());
    const Presentation deck = readPresentation(original, QStringLiteral("connector.pptx"));
    Slide first = deck.Slides().Item(1);
    Shape rect = first.Shapes().AddShape(ShapeRectangle, 100, 100, 120, 40);
    rect.SetName(QStringLiteral("x1/NEWSHAPE"));
    rect.TextFrame().TextRange().SetText(QStringLiteral("Dog"));
    rect.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
    Shape existing = first.Shapes().Item(1);
    existing.SetName(QStringLiteral("renamed"));
    existing.Line().SetEndArrowheadStyle(ArrowheadTriangle);
    existing.ConnectorFormat().EndConnect(rect, 3);
    Slide added = deck.Slides().Add(deck.Slides().Count() + 1, LayoutBlank);
    added.Shapes().AddShape(ShapeOval, 10, 10, 50, 50);
    deck.Slides().Item(2).Delete();
    deck.PageSetup().SetSlideWidth(960);

    const PartMap parts = unzipParts(presentationBytes(deck));
    EXPECT_EQ(schemaProblems(parts), QStringList());
}

TEST_F(Schema, ShapesWithEveryChangeTheModelCanMakeValidate)
{
    // PowerPoint-style shapes of every kind, each modelled property changed.
    const PartMap source = minimalDeck(richShapes());
    ASSERT_EQ(schemaProblems(source), QStringList()) << "the test deck itself must be valid";
    const Presentation deck = readPresentation(zipParts(source), QStringLiteral("rich.pptx"));
    Slide slide = deck.Slides().Item(1);
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
    slide.Shapes().AddShape(ShapeDiamond, 20, 20, 60, 30).TextFrame().TextRange().SetText(QStringLiteral("added"));
    EXPECT_EQ(schemaProblems(unzipParts(presentationBytes(deck))), QStringList());
}

TEST_F(Schema, CorpusSlidesThatWereValidStayValidAfterEdits)
{
    // Real slides from other programs, with every shape renamed, moved and (where it has text)
    // given new text: a slide that validated before still validates.
    const QString corpus = pptxCorpusDir();
    const QStringList files = QDir(corpus).entryList({QStringLiteral("*.pptx")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no .pptx corpus in " << corpus.toStdString();
    PartMap before, after;
    for (const QString& name : files) {
        std::optional<Presentation> deck;
        try {
            deck = readPresentation(readFile(corpus + QLatin1Char('/') + name), name);
        } catch (const PptxError&) {
            continue; // the files refused on purpose
        }
        const PartMap original = unzipParts(presentationBytes(*deck));
        for (int i = 1; i <= deck->Slides().Count(); ++i) {
            Slide slide = deck->Slides().Item(i);
            slide.SetName(QStringLiteral("edited %1").arg(i));
            for (int k = 1; k <= slide.Shapes().Count(); ++k) {
                Shape s = slide.Shapes().Item(k);
                s.SetName(s.Name() + QStringLiteral(" (edited)"));
                s.SetTop(s.Top() + 1);
                if (!s.Connector() && s.HasTextFrame()) {
                    s.TextFrame().TextRange().SetText(QStringLiteral("edited\rtext"));
                    s.TextFrame().TextRange().Font().SetSize(11);
                }
            }
        }
        const PartMap edited = unzipParts(presentationBytes(*deck));
        for (int i = 1; i <= deck->Slides().Count(); ++i) {
            const QString part = deck->Slides().Item(i).data().partName;
            before[name + QLatin1Char('/') + part] = original.at(part);
            after[name + QLatin1Char('/') + part] = edited.at(part);
        }
    }
    ASSERT_FALSE(before.empty());
    QSet<QString> invalidBefore;
    for (const QString& line : schemaProblems(before))
        invalidBefore.insert(line.left(line.indexOf(QLatin1String(".xml")) + 4));
    int checked = 0;
    PartMap stillToCheck;
    for (const auto& [name, data] : after)
        if (!invalidBefore.contains(name)) {
            stillToCheck[name] = data;
            ++checked;
        }
    EXPECT_GT(checked, 50);
    EXPECT_EQ(schemaProblems(stillToCheck), QStringList());
}
