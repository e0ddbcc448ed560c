// The table views: pasting 10,000 lines of 5 tab-separated values into a
// detailed view, up to the first value read afterwards (which links and
// computes the edited program once).
#include <benchmark/benchmark.h>

#include <string>

#include "kernel/Kernel.h"
#include "language/StringStream.h"
#include "language/TableParser.h"
#include "views/EvalMultiModel.h"

namespace {

using namespace qv;

Pointer<Kernel> fiveFieldTable() {
    auto kernel = make<Kernel>();
    auto stream = make<StringStream>(str("table T{ a:=! b:=! c:=! d:=! e:=! <1>:={} }"));
    kernel->program()->addTable(make<TableParser>()->parseTable(stream));
    return kernel;
}

std::string pastedText(std::int32_t lines) {
    std::string text;
    for (std::int32_t line = 0; line < lines; ++line) {
        for (std::int32_t value = 0; value < 5; ++value) {
            text += std::to_string(line * 5 + value);
            text += value < 4 ? '\t' : '\n';
        }
    }
    return text;
}

void BM_PasteIntoDetailedView(benchmark::State& state) {
    const std::string text = pastedText(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Pointer<Kernel> kernel = fiveFieldTable();
        auto model =
            make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true);
        state.ResumeTiming();
        // Column 2 is record 1, row 1 the first field.
        model->paste(2, 1, text);
        Pointer<TableResult> table = kernel->getTableByName("T");
        benchmark::DoNotOptimize(table->value(4, table->rowCount() - 1));
        state.PauseTiming();
        kernel = Pointer<Kernel>();
        model = Pointer<EvalMultiModel>();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 5);
}
BENCHMARK(BM_PasteIntoDetailedView)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(20'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
