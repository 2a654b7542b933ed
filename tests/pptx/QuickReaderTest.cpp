// Slides are read with a quick XML reader that hands anything unusual to the full one: whatever
// the part, the result (shapes, spans, names, or the error) must be the full reader's.
#include "PptxTestSupport.h"

#include "host/pptx/PptxError.h"
#include "host/pptx/SlideScan.h"
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
            << QStringLiteral("%1 %2 %3 %4 %5 %6 %7").arg(p.flipped).arg(p.hasTxBody).arg(p.hasXfrm).arg(int(d.kind)).arg(d.autoShapeType)
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

TEST(QuickReader, GivesWhatTheFullReaderGivesForEveryFormOfXml)
{
    const char* const rect =
        "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"x1/A &lt;&amp;&gt; &#65;&#x42;\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"12700\" y=\"25400\"/><a:ext cx=\"127000\" cy=\"63500\"/></a:xfrm><a:prstGeom prst=\"rect\"/>"
        "<a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></p:spPr><p:txBody><a:bodyPr/><a:p><a:r><a:rPr sz=\"1200\"/>"
        "<a:t>Cat: &apos;Tom&apos; -&gt; &quot;x&quot;</a:t></a:r></a:p></p:txBody></p:sp>";
    const struct {
        const char* what;
        QByteArray xml;
    } cases[] = {
        {"entities and character references", slide(rect)},
        {"single quotes, spaces around =, a comment and an instruction",
         slide("<!-- a note --><?pi data?><p:sp ><p:nvSpPr><p:cNvPr id = '3' name='q'/><p:cNvSpPr txBox='1'/><p:nvPr/></p:nvSpPr>"
               "<p:spPr/><p:txBody><a:bodyPr/><a:p><a:r><a:t>a</a:t></a:r></a:p></p:txBody></p:sp >")},
        {"line breaks inside attribute values and text",
         slide("<p:sp><p:nvSpPr><p:cNvPr id=\"4\" name=\"a\r\nb\tc\nd\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/>"
               "<p:txBody><a:bodyPr/><a:p><a:r><a:t>one\r\ntwo\rthree</a:t></a:r></a:p></p:txBody></p:sp>")},
        {"a prefix declared on the shape and the default namespace",
         slide("<q:sp xmlns:q=\"http://schemas.openxmlformats.org/presentationml/2006/main\"><q:nvSpPr><q:cNvPr id=\"5\" name=\"n\"/>"
               "<q:cNvSpPr/><q:nvPr/></q:nvSpPr><spPr xmlns=\"http://schemas.openxmlformats.org/presentationml/2006/main\">"
               "<prstGeom xmlns=\"http://schemas.openxmlformats.org/drawingml/2006/main\" prst=\"ellipse\"/></spPr></q:sp>")},
        {"CDATA text", slide("<p:sp><p:nvSpPr><p:cNvPr id=\"6\" name=\"c\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/>"
                             "<p:txBody><a:bodyPr/><a:p><a:r><a:t><![CDATA[<x>]]></a:t></a:r></a:p></p:txBody></p:sp>")},
        {"a document type declaration", slide(rect).replace("?>\r\n<p:sld", "?><!DOCTYPE p:sld [<!ENTITY e \"x\">]><p:sld")},
        {"a declaration with a value XML does not allow", slide(rect).replace("standalone=\"yes\"", "standalone=\"~yes\"")},
        {"an instruction without a target", slide("<?  x?>")},
        {"a character XML forbids in a comment", slide("<!-- \x02 -->")},
        {"an undeclared prefix", slide("<z:sp/>")},
        {"an attribute given twice", slide("<p:sp><p:nvSpPr><p:cNvPr id=\"7\" id=\"8\" name=\"d\"/></p:nvSpPr></p:sp>")},
        {"an unknown entity", slide("<p:sp><p:nvSpPr><p:cNvPr id=\"9\" name=\"&nbsp;\"/></p:nvSpPr></p:sp>")},
        {"a character XML forbids", slide("<p:sp><p:nvSpPr><p:cNvPr id=\"9\" name=\"\x01\"/></p:nvSpPr></p:sp>")},
        {"tags that do not match", slide("<p:sp><p:nvSpPr></p:sp></p:nvSpPr>")},
        {"cut short", slide(rect).left(400)},
        {"text after the root", slide(rect) + "x"},
        {"not a slide", "<p:presentation xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"/>"},
        {"nesting beyond the limit", slide((QByteArray("<p:grpSp>").repeated(300) + QByteArray("</p:grpSp>").repeated(300)).constData())},
    };
    for (const auto& c : cases)
        expectSameAsFullReader(c.xml, c.what);
}

TEST(QuickReader, GivesWhatTheFullReaderGivesForEveryCorpusSlide)
{
    const QStringList files = corpusFiles();
    if (files.isEmpty())
        GTEST_SKIP() << "no .pptx corpus in " << pptxCorpusDir().toStdString();
    int slides = 0;
    for (const QString& path : files) {
        PartMap parts;
        try {
            parts = unzipParts(readFile(path));
        } catch (...) {
            continue; // the damaged archives are refused before any slide is read
        }
        for (const auto& [part, xml] : parts) {
            if (!part.startsWith(QLatin1String("ppt/slides/slide")) || !part.endsWith(QLatin1String(".xml")))
                continue;
            ++slides;
            expectSameAsFullReader(xml, (path + u' ' + part).toStdString());
        }
    }
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
