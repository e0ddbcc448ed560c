// `qvl show` in process: a document read, computed and its tables written
// as the text grid (to /dev/null), timed beside a fresh computation of the
// same document alone. On a shared machine the ratio show_over_compute is
// the steadier figure: what the display text costs on top of the values.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "app/Document.h"
#include "bench/Workloads.h"
#include "cli/TableRenderer.h"

namespace {

using Generator = std::function<std::string(std::int64_t)>;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Read and computed; the document is let go outside the timed part.
double computeSeconds(const qv::StringPointer& text) {
    auto start = Clock::now();
    auto document = qv::Document::read(text);
    document->kernel()->getResults();
    return secondsSince(start);
}

double showSeconds(const qv::StringPointer& text, std::FILE* sink) {
    auto start = Clock::now();
    auto document = qv::Document::read(text);
    qv::Kernel& kernel = *document->kernel();
    kernel.getResults();
    qv::cli::TableWriter writer(qv::cli::Format::Text, sink);
    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
        auto table = kernel.getTable(t);
        if (!table.isNull()) writer.write(*table, false, qv::NumberStyle::Display);
    }
    writer.finish();
    std::fflush(sink);
    return secondsSince(start);
}

void runShow(benchmark::State& state, const Generator& generate) {
    qv::StringPointer text = qv::str(generate(state.range(0)));
    std::FILE* sink = std::fopen("/dev/null", "w");
    if (sink == nullptr) {
        state.SkipWithError("can not open /dev/null");
        return;
    }
    double compute = 0, show = 0, first = -1;
    for (auto _ : state) {
        double seconds = computeSeconds(text);
        if (first < 0) first = seconds;
        compute += seconds;
        show += showSeconds(text, sink);
    }
    std::fclose(sink);
    auto runs = static_cast<double>(state.iterations());
    state.counters["compute_s"] = compute / runs;
    // A computation after others in the same process meets memory that
    // earlier ones let go of; the desktop computes again after every edit.
    state.counters["first_compute_s"] = first;
    if (runs > 1) state.counters["later_compute_s"] = (compute - first) / (runs - 1);
    state.counters["show_s"] = show / runs;
    state.counters["show_over_compute"] = compute > 0 ? show / compute : 0;
}

void BM_ShowW1(benchmark::State& state) {
    runShow(state, qv::bench::workloadArithmetic);
}
BENCHMARK(BM_ShowW1)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ShowW2(benchmark::State& state) {
    runShow(state, qv::bench::workloadRunningTotal);
}
BENCHMARK(BM_ShowW2)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ShowW3Unsorted(benchmark::State& state) {
    runShow(state, qv::bench::workloadAggregatesUnsorted);
}
BENCHMARK(BM_ShowW3Unsorted)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
