// Speed of the ISO CGIF reader alone (no slides drawn), against the 2001 reader on the same
// graphs: each input is the graph of the bench_reader benchmark of the same name and argument,
// written as the ISO export writes it (a note naming the graph, a CharGer layout note before
// every node, labels defined once and arguments by bound label), held in memory and read into a
// sink that draws nothing. The graphs/read counter matches bench_reader's, so the time per
// graph compares directly; the ISO text is longer for the same graphs (its notes are XML), so
// bytes per second do not. Each benchmark fits the time against its argument, which must come
// out linear.
//
//   large graph      one graph of N concepts with positions and N/2 relations
//   small graphs     three-node graphs until the 2001 text of them reaches N bytes
//   one long line    the same small elements on a single line, until the 2001 text reaches N
//   nested graphs    N negations whose inner graphs refer to a label of the enclosing graph,
//                    and concepts of the enclosing graph that refer to a label of the negation
//                    before (a graph already handed on)
//
// Profile with `valgrind --tool=callgrind bench/bench_iso --benchmark_filter=...`.
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

// The notes the ISO export writes: a graph's name, a node's place.
QString GraphNote(const QString& name) {
    return QStringLiteral("/* <graph name=\"") + name + QStringLiteral("\" type=\"Graph\"/> */\r\n");
}
QString Place(const char* kind, long x, long y) {
    const QString tag = QLatin1String(kind);
    return QStringLiteral("/* <") + tag + QStringLiteral("><layout><rectangle x=\"") + Number(x) +
           QStringLiteral("\" y=\"") + Number(y) + QStringLiteral("\"/></layout></") + tag + QStringLiteral("> */ ");
}

QString LargeGraph(long concepts) {
    QString text = GraphNote(QStringLiteral("Large"));
    for (long i = 0; i < concepts; ++i)
        text += u'[' + Place("concept", 10 + i % 700, 20 + i / 700) + QStringLiteral("Cat: *x") + Number(i) +
                QStringLiteral("]\r\n");
    for (long i = 0; i + 1 < concepts; i += 2)
        text += u'(' + Place("relation", i % 500, 150) + QStringLiteral("On ?x") + Number(i) + QStringLiteral(" ?x") +
                Number(i + 1) + QStringLiteral(")\r\n");
    return text;
}

// The 2001 text of bench_reader's small graph `graph`, for its length.
qsizetype SmallGraph2001Size(long graph) {
    return QStringLiteral(";%Graph*G%;\r\n[Cat*x1;100@50;\r\n][Mat*x2;300@50;\r\n](On?x1?x2;200@150;\r\n)\r\n").size() +
           Number(graph).size() + (graph > 0 ? 7 : 0);
}

QString SmallGraphs(long bytes) {
    QString text;
    qsizetype size2001 = 0;
    for (long graph = 0; size2001 < bytes; ++graph) {
        if (graph > 0)
            text += QStringLiteral(".\r\n");
        text += GraphNote(QStringLiteral("G") + Number(graph)) + u'[' + Place("concept", 100, 50) +
                QStringLiteral("Cat: *x1]\r\n[") + Place("concept", 300, 50) + QStringLiteral("Mat: *x2]\r\n(") +
                Place("relation", 200, 150) + QStringLiteral("On ?x1 ?x2)\r\n");
        size2001 += SmallGraph2001Size(graph);
    }
    return text;
}

QString OneLongLine(long bytes) {
    QString text;
    qsizetype size2001 = 0;
    for (long i = 0; size2001 < bytes; ++i) {
        text += QStringLiteral("[Cat: 'Tom' *c") + Number(i) + QStringLiteral("] (On ?c") + Number(i) + QStringLiteral(" [") +
                Place("concept", 120, 80) + QStringLiteral("Mat ;note]) ");
        size2001 += 36 + 2 * Number(i).size();
    }
    return text;
}

QString NestedGraphs(long negations) {
    QString text = QStringLiteral("[Person: *who] ");
    for (long i = 0; i < negations; ++i) {
        text += QStringLiteral("~[ [Cat: *k") + Number(i) + QStringLiteral("] (On ?k") + Number(i) +
                QStringLiteral(" [Mat: ?who]) ]\r\n");
        if (i > 0)
            text += QStringLiteral("[Dog: ?k") + Number(i - 1) + QStringLiteral("]\r\n");
    }
    return text;
}

// One graph that defines the same label again in every line and refers to it at once, as a
// file written the 2001 way does: each reference means the definition just before it.
QString LabelDefinedAgain(long lines) {
    QString text;
    for (long i = 0; i < lines; ++i)
        text += QStringLiteral("[Cat: *x Tom] (On ?x [Mat])\r\n");
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
BENCHMARK(BM_IsoLargeGraph)->RangeMultiplier(2)->Range(1250, 20000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_IsoSmallGraphs(benchmark::State& state) {
    ReadText(state, SmallGraphs(state.range(0)), state.range(0));
}
BENCHMARK(BM_IsoSmallGraphs)->RangeMultiplier(10)->Range(100'000, 10'000'000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_IsoOneLongLine(benchmark::State& state) {
    ReadText(state, OneLongLine(state.range(0)), state.range(0));
}
BENCHMARK(BM_IsoOneLongLine)->RangeMultiplier(5)->Range(200'000, 5'000'000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_IsoNestedGraphs(benchmark::State& state) {
    ReadText(state, NestedGraphs(state.range(0)), state.range(0));
}
BENCHMARK(BM_IsoNestedGraphs)->RangeMultiplier(4)->Range(250, 16000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_IsoLabelDefinedAgain(benchmark::State& state) {
    ReadText(state, LabelDefinedAgain(state.range(0)), state.range(0));
}
BENCHMARK(BM_IsoLabelDefinedAgain)->RangeMultiplier(8)->Range(10000, 80000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
