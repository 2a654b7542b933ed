// The quick checker on its own, in process: the part of `zovedit check` that grows with the
// file (bench/check_speed.py measures the whole command). The texts are those of
// BM_CheckSmallGraphs in bench_import.cpp and of the single long line of check_speed.py.
#include "cgif/quick/QuickCheck.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

std::string SmallGraphs(long count) {
    std::string text;
    for (long i = 0; i < count; ++i) {
        if (i > 0)
            text += " \r\n. \r\n";
        text += ";%Graph*S" + std::to_string(i) + "%;\r\n[Cat*x;100@50;\r\n][Mat*y;300@50;\r\n](On?x?y;200@150;\r\n)\r\n";
    }
    return text;
}

std::string OneLine(std::size_t bytes) {
    std::string text;
    for (long i = 0; text.size() < bytes; ++i) {
        const std::string n = std::to_string(i);
        text += "[Cat: 'Tom' *c" + n + "] (On ?c" + n + " [Mat ;%120@80% note;]) ";
    }
    return text;
}

// A chain of negations, each a nested graph that refers to a concept of the top-level graph and
// to one of the negation before (the text of BM_NestedGraphs in bench_reader.cpp).
std::string NestedGraphs(long negations) {
    std::string text = "[Person *who] ";
    for (long i = 0; i < negations; ++i) {
        const std::string n = std::to_string(i);
        text += "~[ [Cat *k" + n + "] (On ?k" + n + " [Mat: ?who]) ]\r\n";
        if (i > 0)
            text += "[Dog: ?k" + std::to_string(i - 1) + "]\r\n";
    }
    return text;
}

void Measure(benchmark::State& state, const std::string& text) {
    std::string scratch;
    for (auto _ : state) {
        state.PauseTiming();
        scratch = text; // the checker writes into its input
        state.ResumeTiming();
        if (zov::cgif::quick::QuickCheckCgif(scratch) != zov::cgif::quick::Verdict::Clean)
            throw std::runtime_error("the generated text is not clean");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}

void BM_QuickCheckSmallGraphs(benchmark::State& state) {
    Measure(state, SmallGraphs(state.range(0)));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_QuickCheckSmallGraphs)->Arg(1320)->Arg(13200)->Arg(132000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_QuickCheckOneLine(benchmark::State& state) { Measure(state, OneLine(static_cast<std::size_t>(state.range(0)))); }
BENCHMARK(BM_QuickCheckOneLine)->Arg(500000)->Arg(5000000)->Unit(benchmark::kMillisecond);

void BM_QuickCheckNestedGraphs(benchmark::State& state) { Measure(state, NestedGraphs(state.range(0))); }
BENCHMARK(BM_QuickCheckNestedGraphs)->Arg(1600)->Arg(16000)->Unit(benchmark::kMillisecond);

} // namespace
