// What a recovery copy of a large document costs the window's thread: the
// model copied and the text made in slices, each of which holds up typing
// for its length only, and the whole copy on disk for comparison. The
// document is some 50 MB of data rows in a main panel on the headless
// backend.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/DocumentFile.h"
#include "desktop/MainPanel.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using namespace qv;

// Rows of a price list, about 50 MB of document text.
std::string largeDocument() {
    std::string text = "table Prices{\n    product:=\"\"!\n    net:=0!\n";
    for (std::int64_t row = 1; text.size() < 50'000'000; ++row) {
        text += "    <" + std::to_string(row) + ">:={product:=\"Item number " +
                std::to_string(row) + "\",net:=" + std::to_string(row % 997) + ".25}\n";
    }
    return text + "}\n//--end";
}

struct Fixture {
    Fixture() {
        char pattern[] = "/tmp/qv-recovery-bench-XXXXXX";
        folder = ::mkdtemp(pattern);
        path = folder + "/large.qvl";
        writeDocumentFile(path, largeDocument());
        panel = make<MainPanel>(window, path);
        panel->flow().enableRecovery(folder + "/state", [] { return std::int64_t{0}; });
        window.deliverPosted();
    }
    ~Fixture() {
        panel = {};
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    toolkit::HeadlessWindow window{{1024, 768}};
    std::string folder;
    std::string path;
    Pointer<MainPanel> panel;
};

Fixture& fixture() {
    static Fixture shared;
    return shared;
}

// The window's share: the tick that copies the model and makes the first
// slice of the text, the longest the window is held; the counters give the
// slices that follow and the longest of them.
void copyOnTheWindowsThread(benchmark::State& state) {
    Fixture& f = fixture();
    DocumentFlow& flow = f.panel->flow();
    double slices = 0;
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        flow.markChanged();
        flow.recovery()->writer().waitIdle();
        state.ResumeTiming();
        flow.recoveryTimer();
        state.PauseTiming();
        while (flow.recovery()->isMakingText()) {
            auto start = std::chrono::steady_clock::now();
            flow.recoverySlice();
            std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            longest = std::max(longest, took.count());
            ++slices;
        }
        flow.recovery()->writer().waitIdle();
        state.ResumeTiming();
    }
    state.counters["bytes"] =
        static_cast<double>(std::filesystem::file_size(flow.recovery()->sessionCopy().copyPath));
    state.counters["slices"] = slices / static_cast<double>(state.iterations());
    state.counters["longest_slice_ms"] = longest;
}

// The whole copy: every slice and the writer's thread (line ends, disk, flush).
void copyToDisk(benchmark::State& state) {
    Fixture& f = fixture();
    DocumentFlow& flow = f.panel->flow();
    for (auto _ : state) {
        state.PauseTiming();
        flow.markChanged();
        flow.recovery()->writer().waitIdle();
        state.ResumeTiming();
        flow.recoveryTimer();
        while (flow.recovery()->isMakingText())
            flow.recoverySlice();
        flow.recovery()->writer().waitIdle();
    }
}

// The document's text alone, as a save makes it: most of the share above.
void documentText(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.panel->documentSource());
}

BENCHMARK(documentText)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(copyOnTheWindowsThread)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(copyToDisk)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
