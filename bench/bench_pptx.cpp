// Opening and saving .pptx files: a presentation of 100 graph slides, each with 100 node shapes
// and 50 connectors glued between them. Slides are read and written on a few threads, so "Time"
// is wall-clock time and "CPU" the work of all threads together.
#include "host/Application.h"
#include "host/Slide.h"
#include "host/pptx/PptxFile.h"
#include "host/pptx/SlideScan.h"
#include "host/pptx/TextDefaults.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zov::host;

namespace {

constexpr int SlideCount = 100;
constexpr int ShapesPerSlide = 100;
constexpr int ConnectorsPerSlide = 50;

Presentation makeLargeDeck(Application& app)
{
    Presentation p = app.Presentations().Add();
    const int types[] = {ShapeRectangle, ShapeOval, ShapeDiamond, ShapePentagon, ShapeRoundedRectangularCallout};
    for (int s = 1; s <= SlideCount; ++s) {
        Slide slide = p.Slides().Add(s, LayoutBlank);
        slide.SetName(QStringLiteral("G%1").arg(s));
        std::vector<Shape> nodes;
        for (int i = 0; i < ShapesPerSlide; ++i) {
            Shape node = slide.Shapes().AddShape(types[i % 5], 10.0f + (i % 10) * 70, 10.0f + (i / 10) * 52, 100, 10);
            node.SetName(QStringLiteral("x%1/NODE%2").arg(i).arg(i, 4, 10, QLatin1Char('0')));
            node.Fill().Solid();
            node.Fill().ForeColor().SetRGB(0x00CCFF);
            node.TextFrame().TextRange().SetText(QStringLiteral("Type%1:referent %2").arg(i).arg(s));
            node.TextFrame().TextRange().Font().SetName(QStringLiteral("Arial"));
            node.TextFrame().TextRange().Font().SetSize(12);
            node.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
            nodes.push_back(node);
        }
        for (int c = 0; c < ConnectorsPerSlide; ++c) {
            Shape arc = slide.Shapes().AddConnector(ConnectorStraight, 165, 156, 249, 96);
            arc.ConnectorFormat().BeginConnect(nodes[static_cast<size_t>(2 * c)], 1);
            arc.ConnectorFormat().EndConnect(nodes[static_cast<size_t>(2 * c + 1)], 1);
            arc.RerouteConnections();
            arc.Line().SetEndArrowheadStyle(ArrowheadTriangle);
        }
    }
    return p;
}

// Saving a presentation made here: every slide and shape written afresh.
void SaveNewPresentation(benchmark::State& state)
{
    Application app;
    const Presentation deck = makeLargeDeck(app);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray file = presentationBytes(deck);
        bytes = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(SaveNewPresentation)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();

// Opening that file: every slide scanned, every shape read, glue resolved.
void OpenPresentation(benchmark::State& state)
{
    Application app;
    const QByteArray file = presentationBytes(makeLargeDeck(app));
    for (auto _ : state) {
        const Presentation p = readPresentation(file, QStringLiteral("bench.pptx"));
        benchmark::DoNotOptimize(p.Slides().Count());
    }
}
BENCHMARK(OpenPresentation)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();

// Saving an opened presentation without changes: every part goes back as it was read.
void SaveOpenedUnchanged(benchmark::State& state)
{
    Application app;
    const Presentation p = readPresentation(presentationBytes(makeLargeDeck(app)), QStringLiteral("bench.pptx"));
    for (auto _ : state)
        benchmark::DoNotOptimize(presentationBytes(p).constData());
}
BENCHMARK(SaveOpenedUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();

// Saving an opened presentation after moving one node per slide: the node and its connector
// are rewritten in place, everything else on the slide is copied.
void SaveOpenedAfterMovingOneNodePerSlide(benchmark::State& state)
{
    Application app;
    const Presentation p = readPresentation(presentationBytes(makeLargeDeck(app)), QStringLiteral("bench.pptx"));
    for (int s = 1; s <= p.Slides().Count(); ++s) {
        Shape node = p.Slides().Item(s).Shapes().Item(1);
        node.SetLeft(node.Left() + 5);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(presentationBytes(p).constData());
}
BENCHMARK(SaveOpenedAfterMovingOneNodePerSlide)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();

// Saving an opened presentation after moving every node, as `arrange` does: each node and
// connector is read again from its stored XML and rewritten where it differs.
void SaveOpenedAfterMovingEveryNode(benchmark::State& state)
{
    Application app;
    const Presentation p = readPresentation(presentationBytes(makeLargeDeck(app)), QStringLiteral("bench.pptx"));
    for (int s = 1; s <= p.Slides().Count(); ++s) {
        const Shapes shapes = p.Slides().Item(s).Shapes();
        for (int i = 1; i <= shapes.Count(); ++i) {
            Shape node = shapes.Item(i);
            if (!node.Connector())
                node.SetLeft(node.Left() + 5);
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(presentationBytes(p).constData());
}
BENCHMARK(SaveOpenedAfterMovingEveryNode)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();

// Saving to a file through a temporary file that replaces it.
void SaveToFile(benchmark::State& state)
{
    Application app;
    const Presentation deck = makeLargeDeck(app);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.pptx"));
    for (auto _ : state)
        savePresentation(deck, path);
}
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();

// Opening a presentation of many small slides (a concept, a relation and an arc each, as an
// import of small graphs makes): the cost of a slide must not grow with the number of slides.
void OpenManySmallSlides(benchmark::State& state)
{
    Application app;
    Presentation deck = app.Presentations().Add();
    for (int s = 1; s <= state.range(0); ++s) {
        Slide slide = deck.Slides().Add(s, LayoutBlank);
        slide.SetName(QStringLiteral("G%1").arg(s));
        Shape cat = slide.Shapes().AddShape(ShapeRectangle, 100, 50, 80, 30);
        cat.TextFrame().TextRange().SetText(QStringLiteral("Cat"));
        Shape on = slide.Shapes().AddShape(ShapeOval, 200, 150, 80, 30);
        on.TextFrame().TextRange().SetText(QStringLiteral("On"));
        Shape arc = slide.Shapes().AddConnector(ConnectorStraight, 0, 0, 10, 10);
        arc.ConnectorFormat().BeginConnect(cat, 1);
        arc.ConnectorFormat().EndConnect(on, 1);
    }
    const QByteArray file = presentationBytes(deck);
    for (auto _ : state) {
        const Presentation p = readPresentation(file, QStringLiteral("bench.pptx"));
        benchmark::DoNotOptimize(p.Slides().Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(OpenManySmallSlides)->Arg(4000)->Arg(32000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// One element with 200,000 attributes (a 3 MB start tag): the repeated-name check is linear.
void ScanSlideWithManyAttributes(benchmark::State& state)
{
    QByteArray xml = "<p:sld xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";
    for (int i = 0; i < 200000; ++i)
        xml += " x" + QByteArray::number(i) + "=\"1\"";
    xml += "><p:cSld><p:spTree/></p:cSld></p:sld>";
    const zov::host::pptx::TextDefaults defaults;
    for (auto _ : state)
        benchmark::DoNotOptimize(zov::host::pptx::scanSlide(xml, QStringLiteral("slide.xml"), &defaults).shapes.size());
}
BENCHMARK(ScanSlideWithManyAttributes)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
