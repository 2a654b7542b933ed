// Speed of the CGIF reader alone (no slides drawn): text already in memory, read through the
// platform's in-memory text stream into a sink that draws nothing. Each benchmark reports
// bytes per second and fits the time against the input size, which must come out linear.
//
//   large graph      one graph of N concepts with positions and N/2 relations, as the exporter
//                    writes it (labels defined once, arcs by bound labels)
//   small graphs     many three-node graphs separated as the exporter separates them
//   one long line    the same small elements on a single line of several MB
//   nested graphs    N negations whose inner graphs refer to a label of the enclosing graph and
//                    to labels of graphs already handed on (the lookups across graphs)
//   tab lines        one graph, then N lines holding a tab alone, then text: the reading ends
//                    at the first tab, and the rest it names is looked for past every line
//
// The speed users see is that of the whole program: bench/check_speed.py writes small-graph
// files of 0.1, 1 and 10 MiB and a 5 MB single line and times `zovedit check` on each as a
// process (wall and CPU time, and the CPU time beyond start-up). Profile either with
// `valgrind --tool=callgrind`, whose instruction counts do not depend on the machine's load.
#include "cgif/reader/CgifReader.h"
#include "drawing/NodeId.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

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

// Counts the graphs handed on, so that the reading cannot be optimised away.
class CountingSink : public zov::cgif::GraphSink {
public:
    void BuildGraphSlide(CgifReader& reader, const QString&, QStringView, int firstLinkIndex,
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
    QString text = QStringLiteral(";%Graph*Large%;\r\n");
    for (long i = 0; i < concepts; ++i)
        text += QStringLiteral("[Cat*x") + Number(i) + u';' + Number(10 + i % 700) + u'@' + Number(20 + i / 700) +
                QStringLiteral(";\r\n]");
    for (long i = 0; i + 1 < concepts; i += 2)
        text += QStringLiteral("(On?x") + Number(i) + QStringLiteral("?x") + Number(i + 1) + u';' + Number(i % 500) +
                QStringLiteral("@150;\r\n)\r\n");
    return text;
}

QString SmallGraphs(long bytes) {
    QString text;
    long graph = 0;
    while (text.size() < bytes) {
        if (graph > 0)
            text += QStringLiteral(" \r\n. \r\n");
        text += QStringLiteral(";%Graph*G") + Number(graph) +
                QStringLiteral("%;\r\n[Cat*x1;100@50;\r\n][Mat*x2;300@50;\r\n](On?x1?x2;200@150;\r\n)\r\n");
        ++graph;
    }
    return text;
}

QString OneLongLine(long bytes) {
    QString text;
    long i = 0;
    while (text.size() < bytes) {
        text += QStringLiteral("[Cat: 'Tom' *c") + Number(i) + QStringLiteral("] (On ?c") + Number(i) +
                QStringLiteral(" [Mat ;%120@80% note;]) ");
        ++i;
    }
    return text;
}

QString NestedGraphs(long negations) {
    QString text = QStringLiteral("[Person *who] ");
    for (long i = 0; i < negations; ++i) {
        text += QStringLiteral("~[ [Cat *k") + Number(i) + QStringLiteral("] (On ?k") + Number(i) +
                QStringLiteral(" [Mat: ?who]) ]\r\n");
        if (i > 0)
            text += QStringLiteral("[Dog: ?k") + Number(i - 1) + QStringLiteral("]\r\n");
    }
    return text;
}

void ReadText(benchmark::State& state, const QString& text, long complexityN) {
    zov::drawing::NodeIdGenerator ids(1);
    SilentMessages messages;
    CountingSink sink;
    CgifReader reader(ids, messages, sink);
    for (auto _ : state) {
        // A text of the stream's own, as a file's decoded text is: the reader may write a
        // comment it puts back into it instead of copying the line.
        state.PauseTiming();
        const auto stream = zov::platform::StringTextStream(QString(text.constData(), text.size()));
        state.ResumeTiming();
        if (!reader.ReadCgifStream(*stream))
            state.SkipWithError("the reader stopped at an error");
        benchmark::DoNotOptimize(sink.items);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * text.size());
    state.SetComplexityN(complexityN);
    state.counters["graphs/read"] =
        benchmark::Counter(static_cast<double>(sink.graphs) / static_cast<double>(state.iterations()));
}

void BM_LargeGraph(benchmark::State& state) {
    const QString text = LargeGraph(state.range(0));
    ReadText(state, text, state.range(0));
}
BENCHMARK(BM_LargeGraph)->RangeMultiplier(2)->Range(1250, 20000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_SmallGraphs(benchmark::State& state) {
    const QString text = SmallGraphs(state.range(0));
    ReadText(state, text, text.size());
}
BENCHMARK(BM_SmallGraphs)->RangeMultiplier(10)->Range(100'000, 10'000'000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_OneLongLine(benchmark::State& state) {
    const QString text = OneLongLine(state.range(0));
    ReadText(state, text, text.size());
}
BENCHMARK(BM_OneLongLine)->RangeMultiplier(5)->Range(200'000, 5'000'000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_NestedGraphs(benchmark::State& state) {
    const QString text = NestedGraphs(state.range(0));
    ReadText(state, text, state.range(0));
}
BENCHMARK(BM_NestedGraphs)->RangeMultiplier(4)->Range(250, 16000)->Unit(benchmark::kMillisecond)->Complexity();


void BM_TabLinesAfterGraph(benchmark::State& state) {
    QString text = QStringLiteral("[Cat: *x] (On ?x [Mat])\r\n");
    for (long i = 0; i < state.range(0); ++i)
        text += QStringLiteral("\t\r\n");
    text += QStringLiteral("[Dog]\r\n");
    ReadText(state, text, state.range(0));
}
BENCHMARK(BM_TabLinesAfterGraph)->RangeMultiplier(8)->Range(25000, 200000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
