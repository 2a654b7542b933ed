// Speed of the ISO CGIF reader alone (no slides drawn): text already in memory, read into a sink
// that draws nothing, as bench_reader measures the 2001 reader. Each benchmark reports bytes per
// second and fits the time against the input size, which must come out linear.
//
//   large graph      one graph of N concepts with labels and names, N/2 relations whose
//                    arguments are bound labels and constants, CharGer layout notes on the concepts
//   small graphs     many three-node graphs separated by "."
//   nested graphs    N negations whose inner graphs refer to a label of the enclosing graph
#include "cgif/iso/IsoReader.h"
#include "cgif/reader/CgifReader.h"
#include "drawing/NodeId.h"
#include "platform/MessageBox.h"

#include <benchmark/benchmark.h>
#include <stdexcept>

namespace {

using zov::cgif::CgifReader;

class SilentMessages : public zov::platform::MessageBoxes {
public:
    zov::platform::MessageAnswer show(const zov::platform::Message& message) override {
        throw std::runtime_error("unexpected message: " + message.text.toStdString());
    }
};

class CountingSink : public zov::cgif::GraphSink {
public:
    void BuildGraphSlide(CgifReader& reader, const QString&, const QString&, int firstLinkIndex,
                         int firstNodeIndex) override {
        ++graphs;
        items += static_cast<long>(reader.Tables().BoundArray.size()) - firstNodeIndex;
        items += static_cast<long>(reader.Tables().Links.size()) - firstLinkIndex;
    }
    long graphs = 0;
    long items = 0;
};

QString Number(long value) { return QString::number(value); }

QString LargeGraph(long concepts) {
    QString text;
    for (long i = 0; i < concepts; ++i)
        text += QStringLiteral("[ /* <concept><layout><rectangle x=\"") + Number(10 + i % 700) +
                QStringLiteral("\" y=\"") + Number(20 + i / 700) + QStringLiteral("\"/></layout></concept> */ Cat: *x") +
                Number(i) + QStringLiteral(" Tom") + Number(i) + QStringLiteral("]\n");
    for (long i = 0; i + 1 < concepts; i += 2)
        text += QStringLiteral("(On ?x") + Number(i) + QStringLiteral(" Tom") + Number(i + 1) + QStringLiteral(")\n");
    return text;
}

QString SmallGraphs(long bytes) {
    QString text;
    long graph = 0;
    while (text.size() < bytes) {
        if (graph > 0)
            text += QStringLiteral("\n.\n");
        text += QStringLiteral("[Cat: *x1 Tom] [Mat: *x2] (On ?x1 ?x2) /* graph ") + Number(graph) + QStringLiteral(" */");
        ++graph;
    }
    return text;
}

QString NestedGraphs(long negations) {
    QString text = QStringLiteral("[Person: *who Ann] ");
    for (long i = 0; i < negations; ++i)
        text += QStringLiteral("~[ [Cat: *k") + Number(i) + QStringLiteral("] (On ?k") + Number(i) +
                QStringLiteral(" ?who) ]\n");
    return text;
}

void ReadText(benchmark::State& state, const QString& text, long complexityN) {
    zov::drawing::NodeIdGenerator ids(1);
    SilentMessages messages;
    CountingSink sink;
    CgifReader reader(ids, messages, sink);
    for (auto _ : state) {
        if (!zov::cgif::iso::ReadIsoCgifText(reader, text))
            state.SkipWithError("the reader stopped at an error");
        benchmark::DoNotOptimize(sink.items);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * text.size());
    state.SetComplexityN(complexityN);
    state.counters["graphs/read"] =
        benchmark::Counter(static_cast<double>(sink.graphs) / static_cast<double>(state.iterations()));
}

void BM_IsoLargeGraph(benchmark::State& state) {
    ReadText(state, LargeGraph(state.range(0)), state.range(0));
}
BENCHMARK(BM_IsoLargeGraph)->RangeMultiplier(16)->Range(1250, 20000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_IsoSmallGraphs(benchmark::State& state) {
    const QString text = SmallGraphs(state.range(0));
    ReadText(state, text, text.size());
}
BENCHMARK(BM_IsoSmallGraphs)->RangeMultiplier(100)->Range(100'000, 10'000'000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_IsoNestedGraphs(benchmark::State& state) {
    ReadText(state, NestedGraphs(state.range(0)), state.range(0));
}
BENCHMARK(BM_IsoNestedGraphs)->RangeMultiplier(16)->Range(1000, 16000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
