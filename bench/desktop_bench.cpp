// The desktop program's start on the headless backend: the main panel made
// on an example document (the document read into live views through the
// document flow) until its first frame is painted.
#include <benchmark/benchmark.h>

#include <string>

#include "desktop/MainPanel.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using namespace qv;

void startToFirstFrame(benchmark::State& state, const std::string& example) {
    const std::string path = std::string(QV_SOURCE_DIR) + "/examples/" + example;
    std::size_t calls = 0;
    for (auto _ : state) {
        toolkit::HeadlessWindow window({1024, 768});
        auto panel = make<MainPanel>(window, path);
        window.deliverPosted();
        calls = window.paint().calls().size();
        benchmark::DoNotOptimize(calls);
    }
    state.counters["calls"] = static_cast<double>(calls);
}

BENCHMARK_CAPTURE(startToFirstFrame, loan, std::string("loan.qvl"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(startToFirstFrame, lookup, std::string("lookup.qvl"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(startToFirstFrame, prices, std::string("prices.qvl"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(startToFirstFrame, whatif, std::string("whatif.qvl"))
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
