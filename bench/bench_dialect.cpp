// Speed of the dialect detection that every import and check without a chosen dialect runs over
// the whole text before reading it: DialectDetector::FeedLines over UTF-16 text held in memory,
// as the reading hands it the text of a file. Every input is of the 2001 dialect, so the
// detection reads to the end (an ISO sign would stop it at once). The shapes are those of
// bench/check_speed.py:
//
//   small graphs   graphs of two concepts with positions and one relation, CR LF line ends,
//                  until the text reaches N characters
//   one long line  concepts with quoted names and relations with comments on one line of N
//   nested graphs  negations in a chain, each a line, until the text reaches N
//
// Each benchmark fits the time against N, which must come out linear.
//
// Profile with `valgrind --tool=callgrind bench/bench_dialect --benchmark_filter=...`.
#include "cgif/dialect/DialectDetector.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

void Append(std::u16string& text, const std::string& ascii) { text.append(ascii.begin(), ascii.end()); }

std::u16string SmallGraphs(std::size_t size) {
    std::u16string text;
    for (long graph = 0; text.size() < size; ++graph) {
        if (graph > 0)
            Append(text, " \r\n. \r\n");
        Append(text, ";%Graph*S" + std::to_string(graph) +
                         "%;\r\n[Cat*x;100@50;\r\n][Mat*y;300@50;\r\n](On?x?y;200@150;\r\n)\r\n");
    }
    return text;
}

std::u16string OneLongLine(std::size_t size) {
    std::u16string text;
    for (long i = 0; text.size() < size; ++i) {
        const std::string n = std::to_string(i);
        Append(text, "[Cat: 'Tom' *c" + n + "] (On ?c" + n + " [Mat ;%120@80% note;]) ");
    }
    return text;
}

std::u16string NestedGraphs(std::size_t size) {
    std::u16string text;
    Append(text, "[Person *who] ");
    for (long i = 0; text.size() < size; ++i) {
        const std::string n = std::to_string(i);
        Append(text, "~[ [Cat *k" + n + "] (On ?k" + n + " [Mat: ?who]) ]\r\n");
        if (i > 0)
            Append(text, "[Dog: ?k" + std::to_string(i - 1) + "]\r\n");
    }
    return text;
}

void Detect(benchmark::State& state, std::u16string (*make)(std::size_t)) {
    const std::u16string text = make(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        zov::cgif::dialect::DialectDetector detector;
        detector.FeedLines(text.data(), text.size());
        if (detector.FoundIso())
            throw std::runtime_error("a text of the 2001 dialect was taken for ISO CGIF");
        benchmark::DoNotOptimize(detector);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size())); // characters
    state.SetComplexityN(state.range(0));
}

void BM_DetectSmallGraphs(benchmark::State& state) { Detect(state, SmallGraphs); }
void BM_DetectOneLongLine(benchmark::State& state) { Detect(state, OneLongLine); }
void BM_DetectNestedGraphs(benchmark::State& state) { Detect(state, NestedGraphs); }

} // namespace

BENCHMARK(BM_DetectSmallGraphs)->RangeMultiplier(10)->Range(1'000'000, 10'000'000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_DetectOneLongLine)->RangeMultiplier(10)->Range(500'000, 5'000'000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_DetectNestedGraphs)->RangeMultiplier(10)->Range(100'000, 1'000'000)->Unit(benchmark::kMillisecond)->Complexity();
