#include "PptxTestSupport.h"

#include "host/pptx/ZipArchive.h"
#include "support/CaseFiles.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <gtest/gtest.h>

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

// The parts of tests/cases/pptx/minimal-deck.case by name, each part's lines joined.
const std::map<QString, QByteArray>& deckTexts()
{
    static const std::map<QString, QByteArray> texts = [] {
        std::map<QString, QByteArray> out;
        for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("minimal-deck.case")))
            out[c.input] = c.expected.join(QString()).toUtf8();
        return out;
    }();
    return texts;
}

} // namespace

PartMap minimalDeck(const QString& spTreeShapes, const char* slideName, const QString& variant)
{
    PartMap parts;
    for (const bool ofVariant : {false, true}) {
        for (const auto& [name, text] : deckTexts()) {
            if (name.startsWith(u'{') || name.contains(QStringLiteral(": ")) != ofVariant
                || (ofVariant && name.section(QStringLiteral(": "), 0, 0) != variant))
                continue;
            QByteArray xml = text;
            xml.replace("{NAME}", slideName ? " name=\"" + QByteArray(slideName) + '"' : QByteArray());
            xml.replace("{SHAPES}", spTreeShapes.toUtf8());
            const bool isXml = xml.startsWith('<');
            parts[name.section(QStringLiteral(": "), -1)] = isXml ? "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + xml : xml;
        }
    }
    return parts;
}

QString richShapes()
{
    return QString::fromUtf8(deckTexts().at(QStringLiteral("{rich shapes}")));
}

QByteArray deckFromSteps(const QString& steps)
{
    PartMap parts = minimalDeck(richShapes());
    for (const QString& step : steps.split(QStringLiteral(" && "))) {
        const QString op = step.section(u' ', 0, 0), part = step.section(u' ', 1, 1), rest = step.section(u' ', 2);
        if (op == u"bytes")
            return step.mid(6).toLatin1();
        if (op == u"cut") {
            const QByteArray whole = zipParts(parts);
            return whole.left(part.toInt() < 0 ? whole.size() + part.toInt() : part.toInt());
        }
        if (op == u"slide") {
            parts = minimalDeck(rest, part == u'-' ? nullptr : part.toUtf8().constData());
        } else if (op == u"without") {
            EXPECT_EQ(parts.erase(part), 1u) << step.toStdString();
        } else if (op == u"set") {
            parts[part] = rest.toUtf8();
        } else if (op == u"replace") {
            const QStringList pair = rest.split(QStringLiteral(" => "));
            for (auto& [name, data] : parts)
                if (part == u"*" || name == part)
                    data.replace(pair.value(0).toUtf8(), pair.value(1).toUtf8());
        } else {
            ADD_FAILURE() << "unknown step " << step.toStdString();
        }
    }
    return zipParts(parts);
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

namespace {

QString number(double v) { return QString::number(std::round(v * 100) / 100); }
QString colour(bool visible, std::uint32_t bgr) { return visible ? QString::number(bgr, 16).rightJustified(6, u'0') : QStringLiteral("none"); }

} // namespace

QString describeShape(const Shape& s)
{
    const ShapeData& d = s.data();
    QString line = QStringLiteral("%1: type %2 kind %3 at %4,%5 size %6x%7 fill %8 line %9")
                       .arg(s.Name()).arg(s.AutoShapeType()).arg(int(d.kind)).arg(number(s.Left()), number(s.Top()), number(s.Width()),
                                                                                   number(s.Height()), colour(s.Fill().Visible(), std::uint32_t(s.Fill().ForeColor().RGB())),
                                                                                   colour(s.Line().Visible(), std::uint32_t(s.Line().ForeColor().RGB())));
    if (s.Connector()) {
        const auto glue = s.ConnectorFormat();
        line += QStringLiteral(" %1,%2 -> %3,%4").arg(number(d.begin.x()), number(d.begin.y()), number(d.end.x()), number(d.end.y()));
        if (glue.BeginConnected())
            line += QStringLiteral(" from %1 %2").arg(glue.BeginConnectedShape().Name()).arg(glue.BeginConnectionSite());
        if (glue.EndConnected())
            line += QStringLiteral(" to %1 %2").arg(glue.EndConnectedShape().Name()).arg(glue.EndConnectionSite());
    } else if (s.HasTextFrame()) {
        const TextRangeFormat text = s.TextFrame().TextRange();
        line += QStringLiteral(" [%1] font %2 %3 colour %4 fit %5 wrap %6")
                    .arg(text.Text(), text.Font().Name(), number(text.Font().Size()), colour(d.textColourSet, d.textRgb))
                    .arg(s.TextFrame().AutoSize()).arg(int(s.TextFrame().WordWrap()));
    }
    return line;
}

bool sofficeAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

} // namespace zov::test
