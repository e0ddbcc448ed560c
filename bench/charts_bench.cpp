// A chart of a long series exported as SVG, the way `qvl chart` draws it
// (640 x 480): the time to paint and encode, and the size of the SVG
// (counter svg_bytes). The series is built once outside the timing, so the
// figure is the chart's alone, not the computation of a table.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "charts/ChartSvg.h"
#include "charts/OneChartModel.h"

namespace {

using namespace qv;

// A smooth curve, or a scatter that touches most pixels of the plot (the
// most markers a series can leave after thinning).
Pointer<OneChartModel> series(std::int64_t count, bool scatter) {
    auto trajectory = make<Trajectory2D>(static_cast<std::int32_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        double y = std::sin(static_cast<double>(i) * 20.0 / static_cast<double>(count));
        if (scatter) y = static_cast<double>(static_cast<std::uint32_t>(i * 2654435761u) >> 8);
        trajectory->setPoint(i, static_cast<double>(i), y);
    }
    return make<OneChartModel>(str("p"), trajectory);
}

void chartSvg(benchmark::State& state, bool scatter) {
    Pointer<OneChartModel> model = series(state.range(0), scatter);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string svg = chartToSvg(model, {640, 480});
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["svg_bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ChartSvgCurve(benchmark::State& state) {
    chartSvg(state, false);
}
void BM_ChartSvgScatter(benchmark::State& state) {
    chartSvg(state, true);
}

BENCHMARK(BM_ChartSvgCurve)->Arg(1000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartSvgScatter)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
