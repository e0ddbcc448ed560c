// Find over a computed model of 1,000,000 rows (W1: nine fields a row): a
// number, which formats every cell; a word, which no number can hold, so
// the numbers are skipped; regular expressions over every cell.
#include <benchmark/benchmark.h>

#include <string>

#include "app/Document.h"
#include "bench/Workloads.h"
#include "kernel/FindSearch.h"

namespace {

qv::Kernel& w1() {
    static qv::Pointer<qv::Document> document = [] {
        auto read = qv::Document::read(qv::str(qv::bench::workloadArithmetic(1000000)));
        read->kernel()->getResults();
        return read;
    }();
    return *document->kernel();
}

void find(benchmark::State& state, const char* query, qv::FindOptions options) {
    qv::Kernel& kernel = w1();
    std::int64_t total = 0;
    for (auto _ : state) {
        qv::FindSearch search(kernel, qv::TextMatcher(query, options), {});
        search.run();
        total = search.total();
        benchmark::DoNotOptimize(total);
    }
    state.counters["matches"] = static_cast<double>(total);
}

void BM_FindNumber(benchmark::State& state) {
    find(state, "12345", {});
}
BENCHMARK(BM_FindNumber)->Unit(benchmark::kMillisecond);

void BM_FindWord(benchmark::State& state) {
    find(state, "apple", {});
}
BENCHMARK(BM_FindWord)->Unit(benchmark::kMillisecond);

void BM_FindRegex(benchmark::State& state) {
    find(state, "^9+\\.5$", {false, false, true});
}
BENCHMARK(BM_FindRegex)->Unit(benchmark::kMillisecond);

// Any digit may begin a match: every byte of every cell is looked at.
void BM_FindRegexDigits(benchmark::State& state) {
    find(state, "\\d+5e6", {false, false, true});
}
BENCHMARK(BM_FindRegexDigits)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
