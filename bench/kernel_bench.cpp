// The reference workloads in process: reading, linking and computing timed
// apart, with the bytes the allocator holds per computed cell.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "app/Document.h"
#include "bench/Workloads.h"
#include "core/Allocator.h"
#include "model/ModelEditor.h"

namespace {

using Generator = std::function<std::string()>;

std::int64_t cellsOf(qv::Kernel& kernel) {
    std::int64_t cells = 0;
    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
        auto table = kernel.getTable(t);
        cells += static_cast<std::int64_t>(table->fieldCount()) * (table->rowCount() + 1);
    }
    return cells;
}

void runWorkload(benchmark::State& state, const Generator& generate) {
    qv::StringPointer text = qv::str(generate());
    double readSeconds = 0, linkSeconds = 0, computeSeconds = 0, bytesPerCell = 0;
    for (auto _ : state) {
        auto before = qv::allocationCounters().bytes;
        auto t0 = std::chrono::steady_clock::now();
        auto document = qv::Document::read(text);
        auto t1 = std::chrono::steady_clock::now();
        document->kernel()->getLinked();
        auto t2 = std::chrono::steady_clock::now();
        document->kernel()->getResults();
        auto t3 = std::chrono::steady_clock::now();
        readSeconds += std::chrono::duration<double>(t1 - t0).count();
        linkSeconds += std::chrono::duration<double>(t2 - t1).count();
        computeSeconds += std::chrono::duration<double>(t3 - t2).count();
        auto cells = cellsOf(*document->kernel());
        bytesPerCell = static_cast<double>(qv::allocationCounters().bytes - before) /
                       static_cast<double>(cells > 0 ? cells : 1);
        state.counters["cells"] = static_cast<double>(cells);
    }
    auto runs = static_cast<double>(state.iterations());
    state.counters["read_s"] = readSeconds / runs;
    state.counters["link_s"] = linkSeconds / runs;
    state.counters["compute_s"] = computeSeconds / runs;
    state.counters["bytes_per_cell"] = bytesPerCell;
}

void BM_W1(benchmark::State& state) {
    runWorkload(state, [&] { return qv::bench::workloadArithmetic(state.range(0)); });
}
BENCHMARK(BM_W1)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_W2(benchmark::State& state) {
    runWorkload(state, [&] { return qv::bench::workloadRunningTotal(state.range(0)); });
}
BENCHMARK(BM_W2)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_W3(benchmark::State& state) {
    runWorkload(state, [&] { return qv::bench::workloadAggregates(state.range(0)); });
}
BENCHMARK(BM_W3)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One edit of the running total's first value, then the whole recomputation
// that the desktop program runs after every keystroke.
void BM_W2Edit(benchmark::State& state) {
    auto document = qv::Document::read(qv::str(qv::bench::workloadRunningTotal(state.range(0))));
    auto kernel = document->kernel();
    kernel->getResults();
    std::int64_t edits = 0;
    auto editor = qv::make<qv::ModelEditor>(kernel->program(), nullptr);
    for (auto _ : state) {
        auto table = kernel->getTableByName("W2");
        editor->setCellFormula(*table, 1, 1, qv::str(std::to_string(++edits)));
        kernel->getResults();
    }
}
BENCHMARK(BM_W2Edit)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_W4(benchmark::State& state) {
    runWorkload(state, qv::bench::workloadInheritance);
}
BENCHMARK(BM_W4)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_W5(benchmark::State& state) {
    runWorkload(state, qv::bench::workloadWhatIf);
}
BENCHMARK(BM_W5)->Unit(benchmark::kMillisecond)->Iterations(1);

// Arg 1: the mistaken table; arg 0: the same table without the mistake.
void BM_W7(benchmark::State& state) {
    runWorkload(state, [&] { return qv::bench::workloadErrors(1000000, state.range(0) != 0); });
}
BENCHMARK(BM_W7)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_W8(benchmark::State& state) {
    runWorkload(state, [&] { return qv::bench::workloadCircular(1000000, state.range(0) != 0); });
}
BENCHMARK(BM_W8)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
