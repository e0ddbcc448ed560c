// Explaining one cell of a computed model of 1,000,000 rows: the first level
// of its precedents and of its dependents, the model computed beforehand.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "app/Document.h"
#include "bench/Workloads.h"
#include "kernel/Explanation.h"

namespace {

// One computed document per workload, kept for every run of the process.
qv::Kernel& computed(const std::string& text) {
    static std::map<std::string, qv::Pointer<qv::Document>> documents;
    auto& document = documents[text];
    if (document.isNull()) {
        document = qv::Document::read(qv::str(text));
        document->kernel()->getResults();
    }
    return *document->kernel();
}

void explain(benchmark::State& state, const std::string& text, const char* cell, bool dependents) {
    qv::Kernel& kernel = computed(text);
    qv::Explanation explanation(kernel);
    qv::CellPlace place = explanation.placeOf(qv::str(cell));
    std::size_t found = 0;
    for (auto _ : state) {
        found = dependents ? explanation.dependents(place).size()
                           : explanation.precedents(place).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["cells"] = static_cast<double>(found);
}

const std::string& w2() {
    static const std::string text = qv::bench::workloadRunningTotal(1000000);
    return text;
}

const std::string& w3() {
    static const std::string text = qv::bench::workloadAggregates(1000000);
    return text;
}

void BM_W2Precedents(benchmark::State& state) {
    explain(state, w2(), "W2[500000].s", false);
}
BENCHMARK(BM_W2Precedents)->Unit(benchmark::kMillisecond);

void BM_W2Dependents(benchmark::State& state) {
    explain(state, w2(), "W2[500000].s", true);
}
BENCHMARK(BM_W2Dependents)->Unit(benchmark::kMillisecond);

void BM_W2DependentsOfRange(benchmark::State& state) {
    explain(state, w2(), "W2[500000].x", true);
}
BENCHMARK(BM_W2DependentsOfRange)->Unit(benchmark::kMillisecond);

// An aggregate reads its whole column: the list stops at maxCells.
void BM_W3PrecedentsOfTotal(benchmark::State& state) {
    explain(state, w3(), "W3.total", false);
}
BENCHMARK(BM_W3PrecedentsOfTotal)->Unit(benchmark::kMillisecond);

void BM_W3Dependents(benchmark::State& state) {
    explain(state, w3(), "W3[500000].x", true);
}
BENCHMARK(BM_W3Dependents)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
