#include "PptxTestSupport.h"

#include "host/pptx/ZipArchive.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace zov::test {

using namespace zov::host;

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList corpusFiles()
{
    const QDir dir(pptxCorpusDir());
    QStringList files = dir.entryList({QStringLiteral("*.pptx")}, QDir::Files, QDir::Name);
    for (QString& f : files)
        f = dir.filePath(f);
    return files;
}

PartMap unzipParts(const QByteArray& pptx)
{
    PartMap parts;
    for (auto& entry : host::pptx::readZip(pptx))
        parts[entry.name] = entry.data;
    return parts;
}

QByteArray zipParts(const std::vector<std::pair<QString, QByteArray>>& parts)
{
    std::vector<std::pair<QString, const QByteArray*>> entries;
    for (const auto& [name, data] : parts)
        entries.emplace_back(name, &data);
    return host::pptx::writeZip(entries);
}

QByteArray zipParts(const PartMap& parts)
{
    std::vector<std::pair<QString, QByteArray>> ordered(parts.begin(), parts.end());
    return zipParts(ordered);
}

namespace {

const char* const NS = " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
                       " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
                       " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";
const char* const TREE_HEAD = "<p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>";
const char* const REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

QByteArray xmlPart(const QString& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + body.toUtf8();
}

QString rel(const char* id, const char* type, const char* target)
{
    return QStringLiteral("<Relationship Id=\"%1\" Type=\"%2%3\" Target=\"%4\"/>").arg(id, REL, type, target);
}

QString rels(const QString& body)
{
    return QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">") + body
           + QStringLiteral("</Relationships>");
}

} // namespace

PartMap minimalDeck(const QString& spTreeShapes, const char* slideName)
{
    const QString ct = QStringLiteral("application/vnd.openxmlformats-officedocument.");
    PartMap parts;
    parts["[Content_Types].xml"] = xmlPart(
        QStringLiteral("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Override PartName=\"/ppt/presentation.xml\" ContentType=\"%1presentationml.presentation.main+xml\"/>"
                       "<Override PartName=\"/ppt/slideMasters/slideMaster1.xml\" ContentType=\"%1presentationml.slideMaster+xml\"/>"
                       "<Override PartName=\"/ppt/slideLayouts/slideLayout1.xml\" ContentType=\"%1presentationml.slideLayout+xml\"/>"
                       "<Override PartName=\"/ppt/slides/slide1.xml\" ContentType=\"%1presentationml.slide+xml\"/>"
                       "<Override PartName=\"/ppt/theme/theme1.xml\" ContentType=\"%1theme+xml\"/>"
                       "</Types>").arg(ct));
    parts["_rels/.rels"] = xmlPart(rels(rel("rId1", "officeDocument", "ppt/presentation.xml")));
    parts["ppt/presentation.xml"] = xmlPart(
        QStringLiteral("<p:presentation%1><p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" r:id=\"rId1\"/></p:sldMasterIdLst>"
                       "<p:sldIdLst><p:sldId id=\"256\" r:id=\"rId2\"/></p:sldIdLst>"
                       "<p:sldSz cx=\"9144000\" cy=\"6858000\"/><p:notesSz cx=\"6858000\" cy=\"9144000\"/></p:presentation>").arg(NS));
    parts["ppt/_rels/presentation.xml.rels"] = xmlPart(rels(rel("rId1", "slideMaster", "slideMasters/slideMaster1.xml")
                                                            + rel("rId2", "slide", "slides/slide1.xml")
                                                            + rel("rId3", "theme", "theme/theme1.xml")));
    parts["ppt/slideMasters/slideMaster1.xml"] = xmlPart(
        QStringLiteral("<p:sldMaster%1><p:cSld><p:spTree>%2</p:spTree></p:cSld>"
                       "<p:clrMap bg1=\"lt1\" tx1=\"dk1\" bg2=\"lt2\" tx2=\"dk2\" accent1=\"accent1\" accent2=\"accent2\" accent3=\"accent3\""
                       " accent4=\"accent4\" accent5=\"accent5\" accent6=\"accent6\" hlink=\"hlink\" folHlink=\"folHlink\"/>"
                       "<p:sldLayoutIdLst><p:sldLayoutId id=\"2147483649\" r:id=\"rId1\"/></p:sldLayoutIdLst>"
                       "<p:txStyles><p:otherStyle><a:lvl1pPr><a:defRPr sz=\"1400\"><a:latin typeface=\"+mn-lt\"/></a:defRPr></a:lvl1pPr>"
                       "</p:otherStyle></p:txStyles></p:sldMaster>").arg(NS, TREE_HEAD));
    parts["ppt/slideMasters/_rels/slideMaster1.xml.rels"] =
        xmlPart(rels(rel("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml") + rel("rId2", "theme", "../theme/theme1.xml")));
    parts["ppt/slideLayouts/slideLayout1.xml"] = xmlPart(
        QStringLiteral("<p:sldLayout%1 type=\"blank\"><p:cSld name=\"Blank\"><p:spTree>%2</p:spTree></p:cSld></p:sldLayout>").arg(NS, TREE_HEAD));
    parts["ppt/slideLayouts/_rels/slideLayout1.xml.rels"] = xmlPart(rels(rel("rId1", "slideMaster", "../slideMasters/slideMaster1.xml")));
    parts["ppt/theme/theme1.xml"] = xmlPart(QStringLiteral(
        "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" name=\"T\"><a:themeElements>"
        "<a:clrScheme name=\"T\"><a:dk1><a:sysClr val=\"windowText\" lastClr=\"000000\"/></a:dk1><a:lt1><a:srgbClr val=\"FFFFFF\"/></a:lt1>"
        "<a:dk2><a:srgbClr val=\"1F497D\"/></a:dk2><a:lt2><a:srgbClr val=\"EEECE1\"/></a:lt2><a:accent1><a:srgbClr val=\"4F81BD\"/></a:accent1>"
        "<a:accent2><a:srgbClr val=\"C0504D\"/></a:accent2><a:accent3><a:srgbClr val=\"9BBB59\"/></a:accent3><a:accent4><a:srgbClr val=\"8064A2\"/></a:accent4>"
        "<a:accent5><a:srgbClr val=\"4BACC6\"/></a:accent5><a:accent6><a:srgbClr val=\"F79646\"/></a:accent6><a:hlink><a:srgbClr val=\"0000FF\"/></a:hlink>"
        "<a:folHlink><a:srgbClr val=\"800080\"/></a:folHlink></a:clrScheme>"
        "<a:fontScheme name=\"T\"><a:majorFont><a:latin typeface=\"Georgia\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/></a:majorFont>"
        "<a:minorFont><a:latin typeface=\"Verdana\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/></a:minorFont></a:fontScheme>"
        "<a:fmtScheme name=\"T\"><a:fillStyleLst>%1%1%1</a:fillStyleLst><a:lnStyleLst>%2%2%2</a:lnStyleLst>"
        "<a:effectStyleLst>%3%3%3</a:effectStyleLst><a:bgFillStyleLst>%1%1%1</a:bgFillStyleLst></a:fmtScheme>"
        "</a:themeElements></a:theme>")
                                              .arg(QStringLiteral("<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>"),
                                                   QStringLiteral("<a:ln w=\"9525\"><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill></a:ln>"),
                                                   QStringLiteral("<a:effectStyle><a:effectLst/></a:effectStyle>")));
    const QString name = slideName ? QStringLiteral(" name=\"%1\"").arg(QString::fromUtf8(slideName)) : QString();
    parts["ppt/slides/slide1.xml"] = xmlPart(
        QStringLiteral("<p:sld%1><p:cSld%2><p:spTree>%3%4</p:spTree></p:cSld><p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr></p:sld>")
            .arg(NS, name, TREE_HEAD, spTreeShapes));
    parts["ppt/slides/_rels/slide1.xml.rels"] = xmlPart(rels(rel("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml")));
    return parts;
}

QString richShapes()
{
    return QStringLiteral(
        // A PowerPoint-style rectangle: colours from its style, text in two runs, unknown extras.
        "<p:sp><p:nvSpPr><p:cNvPr id=\"4\" name=\"Rectangle 3\" descr=\"kept\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"1270000\" y=\"635000\"/><a:ext cx=\"1905000\" cy=\"762000\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></p:spPr>"
        "<p:style><a:lnRef idx=\"2\"><a:schemeClr val=\"accent1\"><a:shade val=\"50000\"/></a:schemeClr></a:lnRef>"
        "<a:fillRef idx=\"1\"><a:schemeClr val=\"accent1\"/></a:fillRef><a:effectRef idx=\"0\"><a:schemeClr val=\"accent1\"/></a:effectRef>"
        "<a:fontRef idx=\"minor\"><a:schemeClr val=\"lt1\"/></a:fontRef></p:style>"
        "<p:txBody><a:bodyPr rtlCol=\"0\" anchor=\"ctr\"/><a:lstStyle/><a:p><a:pPr algn=\"ctr\"/>"
        "<a:r><a:rPr lang=\"de-DE\" sz=\"1400\" b=\"1\" dirty=\"0\"/><a:t>Cat</a:t></a:r>"
        "<a:r><a:rPr lang=\"de-DE\" sz=\"1400\" dirty=\"0\"/><a:t>:Tom</a:t></a:r>"
        "<a:endParaRPr lang=\"de-DE\" sz=\"1400\" dirty=\"0\"/></a:p></p:txBody>"
        "<p:extLst><p:ext uri=\"{11111111-2222-3333-4444-555555555555}\"><p:custDataLst/></p:ext></p:extLst></p:sp>"
        // A text box.
        "<p:sp><p:nvSpPr><p:cNvPr id=\"5\" name=\"TextBox 4\"/><p:cNvSpPr txBox=\"1\"/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"254000\" y=\"254000\"/><a:ext cx=\"1270000\" cy=\"369332\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:noFill/></p:spPr>"
        "<p:txBody><a:bodyPr wrap=\"none\"><a:spAutoFit/></a:bodyPr><a:lstStyle/><a:p><a:r><a:rPr lang=\"en-US\"/><a:t>G7 is Graph</a:t></a:r></a:p></p:txBody></p:sp>"
        // A shape without text, an unknown preset and a free-form one.
        "<p:sp><p:nvSpPr><p:cNvPr id=\"6\" name=\"Oval 5\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"3810000\" y=\"2540000\"/><a:ext cx=\"1270000\" cy=\"635000\"/></a:xfrm>"
        "<a:prstGeom prst=\"ellipse\"><a:avLst/></a:prstGeom><a:solidFill><a:srgbClr val=\"ffcc99\"/></a:solidFill>"
        "<a:ln w=\"19050\"><a:solidFill><a:srgbClr val=\"00ff00\"/></a:solidFill></a:ln></p:spPr></p:sp>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"7\" name=\"Star 6\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm rot=\"5400000\"><a:off x=\"5080000\" y=\"635000\"/><a:ext cx=\"635000\" cy=\"635000\"/></a:xfrm>"
        "<a:prstGeom prst=\"star5\"><a:avLst><a:gd name=\"adj\" fmla=\"val 19098\"/></a:avLst></a:prstGeom>"
        "<a:gradFill><a:gsLst><a:gs pos=\"0\"><a:srgbClr val=\"FF0000\"/></a:gs><a:gs pos=\"100000\"><a:srgbClr val=\"0000FF\"/></a:gs></a:gsLst></a:gradFill></p:spPr>"
        "<p:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r><a:rPr lang=\"en-US\"/><a:t>star</a:t></a:r></a:p></p:txBody></p:sp>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"8\" name=\"Freeform 7\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"6350000\" y=\"3175000\"/><a:ext cx=\"635000\" cy=\"635000\"/></a:xfrm>"
        "<a:custGeom><a:avLst/><a:gdLst/><a:ahLst/><a:cxnLst/><a:rect l=\"0\" t=\"0\" r=\"r\" b=\"b\"/>"
        "<a:pathLst><a:path w=\"10\" h=\"10\"><a:moveTo><a:pt x=\"0\" y=\"0\"/></a:moveTo><a:lnTo><a:pt x=\"10\" y=\"10\"/></a:lnTo></a:path></a:pathLst>"
        "</a:custGeom></p:spPr></p:sp>"
        // A group holding a shape.
        "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"9\" name=\"Group 8\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
        "<p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"5080000\"/><a:ext cx=\"635000\" cy=\"635000\"/><a:chOff x=\"0\" y=\"0\"/>"
        "<a:chExt cx=\"635000\" cy=\"635000\"/></a:xfrm></p:grpSpPr>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"10\" name=\"Inner 9\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"635000\" cy=\"635000\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></p:spPr></p:sp></p:grpSp>"
        // A connector glued from the rectangle (right) to the oval (top).
        "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"11\" name=\"Straight Arrow Connector 10\"/><p:cNvCxnSpPr>"
        "<a:stCxn id=\"4\" idx=\"3\"/><a:endCxn id=\"6\" idx=\"0\"/></p:cNvCxnSpPr><p:nvPr/></p:nvCxnSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"3175000\" y=\"1016000\"/><a:ext cx=\"1270000\" cy=\"1524000\"/></a:xfrm>"
        "<a:prstGeom prst=\"straightConnector1\"><a:avLst/></a:prstGeom><a:ln><a:tailEnd type=\"arrow\"/></a:ln></p:spPr>"
        "<p:style><a:lnRef idx=\"1\"><a:schemeClr val=\"accent1\"/></a:lnRef><a:fillRef idx=\"0\"><a:schemeClr val=\"accent1\"/></a:fillRef>"
        "<a:effectRef idx=\"0\"><a:schemeClr val=\"accent1\"/></a:effectRef><a:fontRef idx=\"minor\"><a:schemeClr val=\"tx1\"/></a:fontRef></p:style></p:cxnSp>");
}

namespace {

QString schemaFor(const QString& part, const QByteArray& xml)
{
    const QString iso = ooxmlDir() + QStringLiteral("/schemas/ISO-IEC29500-4_2016/");
    const QString opc = ooxmlDir() + QStringLiteral("/schemas/ecma/fouth-edition/");
    if (part == QLatin1String("[Content_Types].xml"))
        return opc + QStringLiteral("opc-contentTypes.xsd");
    if (part.endsWith(QLatin1String(".rels")))
        return opc + QStringLiteral("opc-relationships.xsd");
    if (part.endsWith(QLatin1String("docProps/core.xml")))
        return {}; // its Dublin Core schemas are not available offline
    if (part.endsWith(QLatin1String("docProps/app.xml")))
        return iso + QStringLiteral("shared-documentPropertiesExtended.xsd");
    if (xml.contains("<p:"))
        return iso + QStringLiteral("pml.xsd");
    if (xml.contains("<a:"))
        return iso + QStringLiteral("dml-main.xsd");
    return {};
}

bool wellFormed(const QByteArray& xml)
{
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        r.readNext();
    return !r.hasError();
}

} // namespace

bool schemasAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty()
        && QFile::exists(ooxmlDir() + QStringLiteral("/schemas/ISO-IEC29500-4_2016/pml.xsd"));
}

QStringList schemaProblems(const PartMap& parts)
{
    QStringList problems;
    QTemporaryDir dir;
    std::map<QString, std::pair<QStringList, QStringList>> filesBySchema; // schema -> (temporary files, part names)
    int n = 0;
    for (const auto& [name, data] : parts) {
        if (!name.endsWith(QLatin1String(".xml")) && !name.endsWith(QLatin1String(".rels")))
            continue;
        if (!wellFormed(data)) {
            problems << name + QStringLiteral(": not well-formed");
            continue;
        }
        const QString schema = schemaFor(name, data);
        if (schema.isEmpty())
            continue;
        const QString file = dir.filePath(QStringLiteral("part%1.xml").arg(++n));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size()) {
            problems << name + QStringLiteral(": cannot write for validation");
            continue;
        }
        out.close();
        filesBySchema[schema].first << file;
        filesBySchema[schema].second << name;
    }
    for (const auto& [schema, batch] : filesBySchema) {
        const auto& [files, names] = batch;
        QProcess lint;
        lint.start(QStringLiteral("xmllint"), QStringList{QStringLiteral("--noout"), QStringLiteral("--schema"), schema} + files);
        if (!lint.waitForFinished(120000)) {
            problems << QStringLiteral("xmllint did not finish for ") + schema;
            continue;
        }
        if (lint.exitCode() == 0)
            continue;
        QString output = QString::fromUtf8(lint.readAllStandardError());
        for (int i = 0; i < files.size(); ++i)
            output.replace(files[i], names[i]);
        for (const QString& line : output.trimmed().split(QLatin1Char('\n')))
            if (!line.endsWith(QLatin1String(" validates")))
                problems << line;
    }
    return problems;
}

Presentation makeGraphDeck(Application& app)
{
    Presentation p = app.Presentations().Add();
    struct Node {
        int type;
        const char* name;
        const char* text;
        std::int32_t colour;
        float left, top;
    };
    auto addSlide = [&](const QString& name, const QString& title) {
        Slide slide = p.Slides().Add(p.Slides().Count() + 1, LayoutBlank);
        slide.SetName(name);
        Shape label = slide.Shapes().AddLabel(TextOrientationHorizontal, 0, 0, 100, 45);
        label.SetAutoShapeType(ShapeNoSymbol);
        label.SetName(QStringLiteral("TITLEAAA"));
        label.TextFrame().TextRange().SetText(title);
        label.TextFrame().TextRange().Font().SetName(QStringLiteral("Arial"));
        label.TextFrame().TextRange().Font().SetSize(24);
        return slide;
    };
    auto addNode = [](Slide& slide, const Node& n) {
        Shape s = slide.Shapes().AddShape(n.type, n.left, n.top, 100, 10);
        s.SetName(QString::fromUtf8(n.name));
        s.Fill().Solid();
        s.Fill().SetVisible(true);
        s.Fill().ForeColor().SetRGB(n.colour);
        s.TextFrame().TextRange().SetText(QString::fromUtf8(n.text));
        s.TextFrame().TextRange().Font().SetName(QStringLiteral("Times New Roman"));
        s.TextFrame().TextRange().Font().SetSize(12);
        s.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
        return s;
    };
    auto link = [](Slide& slide, const Shape& from, const Shape& to) {
        Shape arc = slide.Shapes().AddConnector(ConnectorStraight, 165, 156, 249, 96);
        arc.ConnectorFormat().BeginConnect(from, 1);
        arc.ConnectorFormat().EndConnect(to, 1);
        arc.RerouteConnections();
        arc.Line().SetEndArrowheadStyle(ArrowheadTriangle);
        return arc;
    };

    Slide g1 = addSlide(QStringLiteral("G1"), QStringLiteral("G1 is Graph"));
    Shape cat = addNode(g1, {ShapeRectangle, "x3/QKXBAMEW", "Cat:Tom", 0x00CCFF, 60, 100});
    Shape attr = addNode(g1, {ShapeOval, "RELATION", "Attr", 0xFFCC99, 300, 60});
    Shape color = addNode(g1, {ShapePentagon, "x3/PENTAGON", "Color", 0x00CCFF, 520, 120});
    Shape act = addNode(g1, {ShapeDiamond, "ACTORAAA", "Make", 0xCCFFCC, 280, 300});
    addNode(g1, {ShapeFlowchartDecision, "MARKAAAA", "     ", 0xCCFFCC, 120, 380});
    Shape comment = addNode(g1, {ShapeRoundedRectangularCallout, "COMMENTA", "Comment", 0xFFFFFF, 480, 380});
    comment.TextFrame().TextRange().Font().SetName(QStringLiteral("Arial"));
    link(g1, cat, attr);   // begin left of end, end above: flipV
    link(g1, attr, color); // down and right
    link(g1, color, act);  // flipH
    link(g1, act, cat);    // flipH and flipV

    Slide p1 = addSlide(QStringLiteral("p1"), QStringLiteral("p1 is Proposition"));
    Shape k = addNode(p1, {ShapeRectangle, "x4/A&B<C>\"D\"'E'", "Käse: 10 € 😀", 0x99CCFF, 80, 120});
    Shape r = addNode(p1, {ShapeOval, "RELKAESE", "  leading\tand  double  ", 0xFFCC99, 360, 240});
    link(p1, k, r);
    return p;
}

host::Shape shapeNamed(const Slide& slide, const QString& name)
{
    for (int i = 1; i <= slide.Shapes().Count(); ++i)
        if (slide.Shapes().Item(i).Name() == name)
            return slide.Shapes().Item(i);
    return {};
}

bool sofficeAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

} // namespace zov::test
