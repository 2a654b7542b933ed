// Slides are read with a quick XML reader that hands anything unusual to the full one: whatever
// the part, the result (shapes, spans, names, or the error) must be the full reader's.
#include "PptxTestSupport.h"

#include "host/pptx/PptxError.h"
#include "host/pptx/SlideScan.h"
#include "host/pptx/XmlBytes.h"
#include "host/pptx/XmlTree.h"
#include "support/CaseFiles.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::host::pptx;
using namespace zov::test;

namespace {

// What scanning gave: every field of the scan and of each shape read, or the error.
QString outcome(SlideScan (*scan)(const QByteArray&, const QString&, const TextDefaults*), const QByteArray& xml)
{
    const TextDefaults defaults;
    SlideScan s;
    try {
        s = scan(xml, QStringLiteral("slide.xml"), &defaults);
    } catch (const PptxError& e) {
        return QStringLiteral("error: ") + QString::fromStdString(e.what());
    }
    QStringList out;
    out << s.name << QString::number(s.hasName) << QString::number(s.cSldTagBegin) << QString::number(s.cSldTagEnd)
        << QString::number(s.shapesBegin) << QString::number(s.shapesEnd) << QString::number(s.spTreeSelfClosing) << s.spTreeQName
        << QString::number(s.maxId);
    for (const auto& [prefix, uri] : s.scope)
        out << prefix + u'=' + uri;
    for (const ScannedShape& sh : s.shapes) {
        const ParsedShape& p = sh.parsed;
        const ShapeData& d = p.data;
        out << QStringLiteral("shape %1-%2 glue %3/%4/%5 %6/%7/%8 %9").arg(sh.begin).arg(sh.end).arg(p.begin.present).arg(p.begin.id)
                   .arg(p.begin.idx).arg(p.end.present).arg(p.end.id).arg(p.end.idx).arg(p.maxId)
            << QStringLiteral("%1 %2 %3 %4 %5 %6 %7").arg(int(d.flipH) + 2 * int(d.flipV)).arg(p.hasTxBody).arg(p.hasXfrm).arg(int(d.kind)).arg(d.autoShapeType)
                   .arg(d.preset, d.name)
            << QStringLiteral("%1 %2 %3 %4 %5 %6,%7 %8,%9").arg(d.left).arg(d.top).arg(d.width).arg(d.height).arg(d.rotation)
                   .arg(d.begin.x()).arg(d.begin.y()).arg(d.end.x()).arg(d.end.y())
            << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9").arg(d.fillVisible).arg(d.fillSolid).arg(d.fillRgb).arg(d.lineVisible)
                   .arg(d.lineRgb).arg(d.lineWeight).arg(d.beginArrowhead).arg(d.endArrowhead).arg(d.fileId)
            << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9").arg(d.fontName).arg(d.fontSize).arg(d.autoSize).arg(d.wordWrap)
                   .arg(d.marginLeft).arg(d.marginTop).arg(d.textColourSet).arg(d.textRgb).arg(d.hasTextFrame)
            << d.paragraphs.join(u'|');
    }
    return out.join(u'\n');
}

void expectSameAsFullReader(const QByteArray& xml, const std::string& what)
{
    EXPECT_EQ(outcome(&scanSlide, xml), outcome(&scanSlideFully, xml)) << what;
}

QByteArray slide(const char* shapes, const char* rootExtra = "")
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                      "<p:sld xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                      "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"")
           + rootExtra + "><p:cSld name=\"G&amp;1\"><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
           + "<p:grpSpPr/>" + shapes + "</p:spTree></p:cSld></p:sld>";
}

} // namespace

// The cases of tests/cases/pptx/quick-reader.case, and nesting too deep to write there.
TEST(QuickReader, GivesWhatTheFullReaderGivesForEveryFormOfXml)
{
    for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("quick-reader.case"))) {
        const QByteArray xml = c.input.startsWith(QStringLiteral("<?xml")) ? c.input.toUtf8() : slide(c.input.toUtf8().constData());
        const QString quick = outcome(&scanSlide, xml);
        EXPECT_EQ(quick, outcome(&scanSlideFully, xml)) << c.where();
        const QString summary = quick.startsWith(QStringLiteral("error: "))
            ? quick.section(u'\n', 0, 0)
            : QStringLiteral("%1 with %2 shapes").arg(quick.section(u'\n', 0, 0)).arg(quick.count(QStringLiteral("\nshape ")));
        EXPECT_EQ(summary.toStdString(), Lines(c.expected)) << c.where();
    }
    expectSameAsFullReader(slide((QByteArray("<p:grpSp>").repeated(300) + QByteArray("</p:grpSp>").repeated(300)).constData()),
                           "nesting beyond the limit");
}

namespace {

// Calls visit(where, part name, bytes) for each part of every corpus deck that can be unpacked
// (the damaged archives are refused before any part is read); returns how many decks there were.
template <typename Visit>
int forEachCorpusPart(Visit visit)
{
    const QStringList files = corpusFiles();
    for (const QString& path : files) {
        PartMap parts;
        try {
            parts = unzipParts(readFile(path));
        } catch (...) {
            continue;
        }
        for (const auto& [part, xml] : parts)
            visit((path + u' ' + part).toStdString(), part, xml);
    }
    return static_cast<int>(files.size());
}

// The tree a part reads as, written out again, or the error.
QString treeOutcome(std::unique_ptr<XmlNode> (*parse)(const QString&, const QString&,
                                                      const std::vector<std::pair<QString, QString>>&),
                    const QString& text, const std::vector<std::pair<QString, QString>>& scope = {})
{
    try {
        QString out;
        writeXmlTree(*parse(text, QStringLiteral("part.xml"), scope), out);
        return out;
    } catch (const PptxError& e) {
        return QStringLiteral("error: ") + QString::fromStdString(e.what());
    }
}

} // namespace

// A save reads the parts and shapes it rewrites into trees with the quick reader too: the tree
// (or the error) must be the full reader's, for every form of XML and every corpus part.
TEST(QuickReader, ReadsTreesAsTheFullReaderDoes)
{
    for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("quick-reader.case"))) {
        const QString xml = c.input.startsWith(QStringLiteral("<?xml")) ? c.input : QString::fromUtf8(slide(c.input.toUtf8().constData()));
        EXPECT_EQ(treeOutcome(&parseXmlTree, xml), treeOutcome(&parseXmlTreeFully, xml)) << c.where();
    }
    // A shape on its own, its prefixes declared around it; one that uses a prefix nobody declares.
    const std::vector<std::pair<QString, QString>> scope{{QStringLiteral("a"), QStringLiteral("urn:a")},
                                                         {QStringLiteral("p"), QStringLiteral("urn:p")}};
    for (const char* shape : {"<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"x &amp; y\"/></p:nvSpPr>\n <a:t>a&lt;b</a:t></p:sp>",
                              "<p:sp><q:x/></p:sp>", "<p:sp><!-- kept --><a:t>x</a:t><?pi data?></p:sp>"}) {
        EXPECT_EQ(treeOutcome(&parseXmlTree, QString::fromUtf8(shape), scope),
                  treeOutcome(&parseXmlTreeFully, QString::fromUtf8(shape), scope))
            << shape;
    }
    int parts = 0;
    const int decks = forEachCorpusPart([&](const std::string& where, const QString& part, const QByteArray& xml) {
        if (!part.endsWith(QLatin1String(".xml")) && !part.endsWith(QLatin1String(".rels")))
            return;
        ++parts;
        const QString text = decodeXml(xml);
        EXPECT_EQ(treeOutcome(&parseXmlTree, text), treeOutcome(&parseXmlTreeFully, text)) << where;
    });
    if (decks > 0) {
        EXPECT_GT(parts, 1000);
    }
}

// What a tree is written as: every character a value or a text holds is read back as it was,
// by either reader; a character XML cannot carry is dropped.
TEST(QuickReader, WrittenTreesReadBackAsTheyWere)
{
    const QString value = QStringLiteral("a&b<c>d\"e\tf\ng\rh'i\u00e9\U0001F600");
    auto root = makeElement(QStringLiteral("p"), QStringLiteral("urn:p"), QStringLiteral("sp"));
    root->attrs.emplace_back(QStringLiteral("xmlns:p"), QStringLiteral("urn:p"));
    root->attrs.emplace_back(QStringLiteral("name"), value + QChar(u'\x01'));
    auto text = std::make_unique<XmlNode>();
    text->kind = XmlNode::Kind::Text;
    text->text = value;
    root->children.push_back(std::move(text));
    QString written;
    writeXmlTree(*root, written);
    EXPECT_EQ(written, QStringLiteral("<p:sp xmlns:p=\"urn:p\" name=\"a&amp;b&lt;c&gt;d&quot;e&#9;f&#10;g&#13;h'i\u00e9\U0001F600\">"
                                      "a&amp;b&lt;c&gt;d\"e\tf\ng&#13;h'i\u00e9\U0001F600</p:sp>"));
    for (auto parse : {&parseXmlTree, &parseXmlTreeFully}) {
        const auto back = parse(written, QStringLiteral("part.xml"), {});
        EXPECT_EQ(back->attr(QLatin1String("name")), value);
        ASSERT_EQ(back->children.size(), 1u);
        EXPECT_EQ(back->children[0]->text, value);
    }
}

TEST(QuickReader, GivesWhatTheFullReaderGivesForEveryCorpusSlide)
{
    if (corpusFiles().isEmpty())
        GTEST_SKIP() << "no .pptx corpus in " << pptxCorpusDir().toStdString();
    int slides = 0;
    forEachCorpusPart([&](const std::string& where, const QString& part, const QByteArray& xml) {
        if (!part.startsWith(QLatin1String("ppt/slides/slide")) || !part.endsWith(QLatin1String(".xml")))
            return;
        ++slides;
        expectSameAsFullReader(xml, where);
    });
    EXPECT_GT(slides, 100);
}

namespace {

QByteArray manyAttributes(int count, const char* last = "")
{
    QByteArray attributes;
    for (int i = 0; i < count; ++i)
        attributes += " x" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + '"';
    return attributes + last;
}

} // namespace

TEST(QuickReader, AttributesByTheHundredThousandAreCheckedInLinearTime)
{
    // A repeated name is found among many as among few, with the full reader's error.
    expectSameAsFullReader(slide("", manyAttributes(2000).constData()), "2000 attributes");
    expectSameAsFullReader(slide("", manyAttributes(2000, " x1999=\"again\"").constData()), "a repeat after 2000");
    // 200,000 on one element (a 3 MB start tag) are read by the quick reader alone; with the
    // earlier pairwise check this took minutes (the test's time limit catches a regression).
    EXPECT_FALSE(outcome(&scanSlide, slide("", manyAttributes(200000).constData())).startsWith(QStringLiteral("error")));
}
