// Speed of the Import command: CGIF text in memory read by the reader and drawn on slides by
// the slide builder (shapes auto-sized with real font metrics, arcs glued and rerouted), the
// same with the presentation written as .pptx bytes, and the checking run that draws nothing.
//
//   small graphs   N titled three-node graphs with positions, separated as the exporter does
//   large graph    one graph of N concepts and N/2 relations (labels defined once, arcs by
//                  bound labels, positions in the writer's form)
//   check          small graphs, about 80 bytes each, through the checking builder: MB/s
//   iso nested     N negations in one ISO CGIF graph, each referring to a concept outside it,
//                  through the checking builder (each negation is a graph handed on)
//   earlier refs   N small graphs that each refer to a label of the first graph, as an argument
//                  and as a concept, through the checking builder (every reference is looked
//                  up among the graphs read before)
#include "cgif/import/GraphBuilder.h"
#include "cgif/import/ImportCommand.h"
#include "cgif/reader/CgifReader.h"
#include "drawing/DrawingSettings.h"
#include "drawing/NodeId.h"
#include "host/Application.h"
#include "host/pptx/PptxFile.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>

namespace {

using namespace zov;


QString Number(long value) { return QString::number(value); }

QString SmallGraphs(long count) {
    QString text;
    for (long i = 0; i < count; ++i) {
        if (i > 0)
            text += QStringLiteral(" \r\n. \r\n");
        text += QStringLiteral(";%Graph*S") + Number(i) + QStringLiteral("%;\r\n[Cat*x;100@50;\r\n][Mat*y;300@50;\r\n]") +
                QStringLiteral("(On?x?y;200@150;\r\n)\r\n");
    }
    return text;
}

QString LargeGraph(long concepts) {
    QString text = QStringLiteral(";%Graph*Large%;\r\n");
    for (long i = 0; i < concepts; ++i)
        text += QStringLiteral("[Cat*x") + Number(i) + u';' + Number(10 + i % 700) + u'@' + Number(20 + i / 700 * 12) +
                QStringLiteral(";\r\n]");
    for (long i = 0; i + 1 < concepts; i += 2)
        text += QStringLiteral("(On?x") + Number(i) + QStringLiteral("?x") + Number(i + 1) + u';' + Number(i % 500) +
                u'@' + Number(40 + i / 500 * 10) + QStringLiteral(";\r\n)\r\n");
    return text;
}

// One import session: a new presentation in its own window, the slide builder and the reader.
struct ImportRun {
    host::Application app;
    drawing::DrawingSettings settings;
    bench::ConfirmOnlyMessages messages{QStringLiteral("File read")};
    drawing::NodeIdGenerator ids{11};
    cgif::SlideBuilder builder{app, settings, messages};
    cgif::CgifReader reader{ids, messages, builder};

    ImportRun() {
        app.Presentations().Add();
        reader.SetGraphNameTaken([this](const QString& name) { return builder.SlideNameInUse(name); });
    }
    int Import(const QString& text) {
        const auto stream = platform::StringTextStream(text);
        if (cgif::importer::ImportCgif(reader, *stream, messages, {}) != cgif::importer::ImportOutcome::Read)
            throw std::runtime_error("the generated text did not read whole");
        return app.ActivePresentation().Slides().Count();
    }
};

void BM_ImportSmallGraphs(benchmark::State& state) {
    bench::EnsureGuiApplication();
    const QString text = SmallGraphs(state.range(0));
    for (auto _ : state) {
        ImportRun run;
        benchmark::DoNotOptimize(run.Import(text));
    }
    state.counters["graphs"] = static_cast<double>(state.range(0));
    state.SetBytesProcessed(state.iterations() * text.size());
}
// A second of runs for each size: the first import of a run pays for fresh memory (page faults,
// a heap not yet grown), which would make the ratio of the two sizes a measure of the heap.
BENCHMARK(BM_ImportSmallGraphs)->Arg(1000)->Arg(8000)->MinTime(1.0)->Unit(benchmark::kMillisecond);

void BM_ImportSmallGraphsAndSave(benchmark::State& state) {
    bench::EnsureGuiApplication();
    const QString text = SmallGraphs(state.range(0));
    for (auto _ : state) {
        ImportRun run;
        run.Import(text);
        const QByteArray bytes = host::presentationBytes(run.app.ActivePresentation());
        benchmark::DoNotOptimize(bytes.size());
    }
    state.counters["graphs"] = static_cast<double>(state.range(0));
}
// Two sizes: what the package gets per slide (a part, a relationship, a content type) must be
// found and added without a search through every other slide's.
BENCHMARK(BM_ImportSmallGraphsAndSave)->Arg(1000)->Arg(8000)->MinTime(3.0)->Unit(benchmark::kMillisecond);

void BM_ImportLargeGraph(benchmark::State& state) {
    bench::EnsureGuiApplication();
    const QString text = LargeGraph(state.range(0));
    for (auto _ : state) {
        ImportRun run;
        run.Import(text);
        benchmark::DoNotOptimize(run.app.ActivePresentation().Slides().Item(1).Shapes().Count());
    }
    state.counters["concepts"] = static_cast<double>(state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ImportLargeGraph)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_ImportLargeGraphAndSave(benchmark::State& state) {
    bench::EnsureGuiApplication();
    const QString text = LargeGraph(state.range(0));
    for (auto _ : state) {
        ImportRun run;
        run.Import(text);
        const QByteArray bytes = host::presentationBytes(run.app.ActivePresentation());
        benchmark::DoNotOptimize(bytes.size());
    }
    state.counters["concepts"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ImportLargeGraphAndSave)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// What `zovedit check` does with a text: read in the dialect it is written in, every graph
// through the checking builder. The number of graphs checked.
std::size_t CheckText(const QString& text) {
    drawing::DrawingSettings settings;
    bench::ConfirmOnlyMessages messages(QStringLiteral("File read"));
    drawing::NodeIdGenerator ids{11};
    cgif::CheckingBuilder checker(settings, messages);
    cgif::CgifReader reader(ids, messages, checker);
    reader.SetGraphNameTaken([&checker](const QString& name) { return checker.SlideNameInUse(name); });
    const auto stream = platform::StringTextStream(text);
    if (cgif::importer::ImportCgif(reader, *stream, messages, {}) != cgif::importer::ImportOutcome::Read)
        throw std::runtime_error("the generated text did not read whole");
    return checker.SlideCount();
}

// Checks `text` over and over: its characters per second (one byte each here), against the
// benchmark's argument for the complexity fit.
void MeasureCheck(benchmark::State& state, const QString& text) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckText(text));
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetComplexityN(state.range(0));
}

void BM_CheckSmallGraphs(benchmark::State& state) { MeasureCheck(state, SmallGraphs(state.range(0))); }
BENCHMARK(BM_CheckSmallGraphs)->Arg(1300)->Arg(13200)->Arg(132000)->Unit(benchmark::kMillisecond)->Complexity();

QString EarlierReferences(long count) {
    QString text = QStringLiteral("[Cat *x] [Mat *y] (On ?x ?y)\n");
    for (long i = 0; i < count; ++i) {
        const QString label = QStringLiteral("d") + Number(i);
        text += QStringLiteral(". \n[Dog *") + label + QStringLiteral("] (Sees ?") + label +
                QStringLiteral(" ?x) (Near [Rug: ?y] ?") + label + QStringLiteral(")\n");
    }
    return text;
}

void BM_CheckEarlierReferences(benchmark::State& state) { MeasureCheck(state, EarlierReferences(state.range(0))); }
// Two sizes: a reference costs a lookup, not a search through the graphs before it.
BENCHMARK(BM_CheckEarlierReferences)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

QString IsoNestedGraphs(long count) {
    QString text = QStringLiteral("/* ISO CGIF */ [Person: *who]\n");
    for (long i = 0; i < count; ++i) {
        const QString label = QStringLiteral("k") + Number(i);
        text += QStringLiteral("~[ [Cat: *") + label + QStringLiteral("] (On ?") + label + QStringLiteral(" ?who) ]\n");
    }
    return text;
}

void BM_CheckIsoNestedGraphs(benchmark::State& state) { MeasureCheck(state, IsoNestedGraphs(state.range(0))); }
// Two sizes: each negation handed on is drawn looking up only its own arcs' ends.
BENCHMARK(BM_CheckIsoNestedGraphs)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
