// The desktop's share of an import of 1,000,000 lines of 5 columns, part by
// part: reading the data, making the plan (the stoppable parts, with
// progress), and the model's undoable step, which the window waits for.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/CsvWorkload.h"
#include "core/CsvReader.h"
#include "editing/CommandManager.h"
#include "kernel/TableImport.h"
#include "language/ProgramDef.h"
#include "model/ModelEditor.h"

namespace {

using namespace qv;

constexpr std::int64_t kRows = 1'000'000;

const std::string& data() {
    static const std::string text = bench::workloadCsv(kRows);
    return text;
}

void readData(benchmark::State& state) {
    for (auto _ : state) {
        CsvResult read = readCsv(data(), CsvOptions{});
        benchmark::DoNotOptimize(read.table->rowCount());
    }
}

void makePlan(benchmark::State& state) {
    CsvResult read = readCsv(data(), CsvOptions{});
    for (auto _ : state) {
        auto program = make<ProgramDef>();
        ImportPlan plan(*program, *read.table, ImportOptions{"Sales", ""});
        benchmark::DoNotOptimize(plan.table());
    }
}

// The undoable step alone: the plan is made outside the timing.
void applyStep(benchmark::State& state) {
    CsvResult read = readCsv(data(), CsvOptions{});
    for (auto _ : state) {
        state.PauseTiming();
        auto program = make<ProgramDef>();
        auto commands = make<CommandManager>();
        ImportPlan plan(*program, *read.table, ImportOptions{"Sales", ""});
        state.ResumeTiming();
        std::int32_t table = make<ModelEditor>(program, commands.get())->import(plan);
        benchmark::DoNotOptimize(table);
        state.PauseTiming();
        program = Pointer<ProgramDef>();
        commands = Pointer<CommandManager>();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(readData)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(makePlan)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(applyStep)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
