// The table views: pasting 10,000 lines of 5 tab-separated values into a
// detailed view, up to the first value read afterwards (which links and
// computes the edited program once); painting the detailed grid of a
// million records at several scroll positions; typing a formula into one
// cell of a running total, committing it and painting the new values;
// explaining one cell of a million records as the explain view does.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <string>

#include "bench/Workloads.h"
#include "editing/EditableContainerPanel.h"
#include "editing/TitleDecorator.h"
#include "kernel/Kernel.h"
#include "language/StringStream.h"
#include "language/TableParser.h"
#include "model/ModelEditor.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "views/EvalMultiModel.h"
#include "views/ExplainTree.h"
#include "views/TableEditable.h"

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
        model->paste(*make<ModelEditor>(kernel->program(), nullptr), 2, 1, text);
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

Pointer<Kernel> loadWorkload(const std::string& text) {
    auto kernel = make<Kernel>();
    auto stream = make<StringStream>(str(text));
    while (stream->peek()->isWord("table"))
        kernel->program()->addTable(make<TableParser>()->parseTable(stream));
    return kernel;
}

// A detailed grid of one table in a maximized frame of a 1024 by 768
// window, computed and painted once.
struct GridWindow {
    toolkit::HeadlessWindow window{{1024, 768}};
    Pointer<EditableContainerPanel> panel = make<EditableContainerPanel>(window);
    Pointer<Kernel> kernel;
    std::string name;
    Pointer<TableEditable> grid;

    GridWindow(const std::string& program, std::string tableName)
        : kernel(loadWorkload(program)), name(std::move(tableName)) {
        auto model =
            make<EvalMultiModel>(kernel->getTableByName(name), make<GlobalSettings>(), true);
        grid = make<TableEditable>(model);
        auto frame = make<TitleDecorator>(grid);
        frame->setPlacement(FramePlacement::Maximized);
        panel->layoutRoot()->add(frame);
        panel->support().select(grid);
        window.paint();
    }
    // The column of a record and the row of a field, from the address texts.
    std::pair<std::int32_t, std::int32_t> position(const std::string& address) {
        GridModel& model = *grid->model();
        for (std::int32_t row = 0; row < model.rowCount(); ++row) {
            for (std::int32_t column = 0; column < 8; ++column) {
                if (model.cellAddress(column, row)->view() == address) return {column, row};
            }
        }
        return {0, 0};
    }
};

// A frame after the first computation: the scroll position moves and the
// window is painted.
void BM_PaintDetailedGridW1(benchmark::State& state) {
    GridWindow setup(bench::workloadArithmetic(1'000'000), "W1");
    const std::int32_t at = static_cast<std::int32_t>(state.range(0));
    std::int32_t frame = 0;
    for (auto _ : state) {
        // Two neighbouring positions in turn, so every frame scrolls.
        setup.grid->scrollTo(at + (frame++ % 2), 1);
        benchmark::DoNotOptimize(setup.window.paint().calls().size());
    }
    state.counters["columns"] = setup.grid->model()->columnCount();
}
BENCHMARK(BM_PaintDetailedGridW1)
    ->Arg(1)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Arg(999'990)
    ->Unit(benchmark::kMillisecond);

// Milliseconds of a fresh full computation of the kernel's program as
// written, in a kernel of its own: the figure the typing is set against.
double freshComputationMs(Kernel& kernel) {
    Pointer<Kernel> fresh = loadWorkload(kernel.toSource()->toStdString());
    auto start = std::chrono::steady_clock::now();
    fresh->getResults();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A number typed over a cell (by its address), committed with Enter, the
// grid handed the recomputed table as the main panel does, and painted.
// One number is typed before the timing, so the column's first override
// (which computes the column and its readers whole) is not what is measured. The counters
// split each step's time: the keys (the edit and its undo record), the
// computation, and the refresh and paint; fresh_ms is a full computation
// of the same program in the same process, and ratio the typing's share
// of it.
void typeIntoCell(benchmark::State& state, const std::string& program, const std::string& table,
                  const std::string& address) {
    using Clock = std::chrono::steady_clock;
    GridWindow setup(program, table);
    const auto place = setup.position(address);
    std::int32_t typed = 0;
    auto typeOnce = [&] {
        setup.grid->selectCell(place.first, place.second);
        std::string digit = std::to_string(typed++ % 9 + 1);
        setup.panel->key(toolkit::key::kCharacter, digit, 0);
        setup.panel->key(toolkit::key::kEnter, {}, 0);
    };
    typeOnce();
    setup.grid->acceptValue(setup.kernel->getTableByName(setup.name));
    std::array<double, 3> phases{};
    for (auto _ : state) {
        auto start = Clock::now();
        typeOnce();
        auto edited = Clock::now();
        Pointer<TableResult> result = setup.kernel->getTableByName(setup.name);
        auto computed = Clock::now();
        setup.grid->acceptValue(result);
        benchmark::DoNotOptimize(setup.window.paint().calls().size());
        auto painted = Clock::now();
        phases[0] += std::chrono::duration<double, std::milli>(edited - start).count();
        phases[1] += std::chrono::duration<double, std::milli>(computed - edited).count();
        phases[2] += std::chrono::duration<double, std::milli>(painted - computed).count();
    }
    auto iterations = static_cast<double>(state.iterations());
    state.counters["keys_ms"] = phases[0] / iterations;
    state.counters["compute_ms"] = phases[1] / iterations;
    state.counters["paint_ms"] = phases[2] / iterations;
    state.counters["stale_fields"] = static_cast<double>(setup.kernel->lastStaleFieldCount());
    double fresh = freshComputationMs(*setup.kernel);
    state.counters["fresh_ms"] = fresh;
    state.counters["ratio"] = (phases[0] + phases[1] + phases[2]) / iterations / fresh;
}

// The first running total: every later total reads it.
void BM_TypeFormulaIntoW2(benchmark::State& state) {
    typeIntoCell(state, bench::workloadRunningTotal(state.range(0)), "W2", "[1].s");
}
BENCHMARK(BM_TypeFormulaIntoW2)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A field of W2 that nothing reads.
void BM_TypeIntoUnreadField(benchmark::State& state) {
    std::string program = bench::workloadRunningTotal(state.range(0));
    program.insert(program.find("}\n//--end"), "    note:=x*2!\n");
    typeIntoCell(state, program, "W2", "[1].note");
}
BENCHMARK(BM_TypeIntoUnreadField)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A cell override of W1's a, read by the other fields of its row only.
void BM_TypeIntoW1(benchmark::State& state) {
    typeIntoCell(state, bench::workloadArithmetic(state.range(0)), "W1", "[1].a");
}
BENCHMARK(BM_TypeIntoW1)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The explain view following the selection to the middle record of a
// million: the cell's facts and cause, the cells it read and the cells
// that read it, on results computed before.
void BM_ExplainCell(benchmark::State& state) {
    bool runningTotal = state.range(0) == 2;
    Pointer<Kernel> kernel = loadWorkload(runningTotal ? bench::workloadRunningTotal(1'000'000)
                                                       : bench::workloadArithmetic(1'000'000));
    Pointer<TableResult> table = kernel->getTableByName(runningTotal ? "W2" : "W1");
    const std::int32_t field = table->fieldCount() - 1;
    benchmark::DoNotOptimize(table->value(field, table->rowCount() - 1));
    ExplainTree tree;
    for (auto _ : state) {
        tree.explain(kernel, {table->index(), field, 500'000});
        benchmark::DoNotOptimize(tree.lineCount());
    }
    state.counters["precedents"] = tree.lineCount();
    state.counters["dependents"] = static_cast<double>(tree.dependents().size());
}
BENCHMARK(BM_ExplainCell)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
