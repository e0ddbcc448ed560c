// The find panel's path over a computed model of 1,000,000 rows (W1): Find
// all as the panel runs it (slices on the window's timer, the progress
// shown), until the first result is selected and the bounded list is
// drawn. A query that matches a third of the cells fills the list to its
// bound and counts the rest; the regular expressions look at every cell.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/Document.h"
#include "bench/Workloads.h"
#include "desktop/FindPanel.h"
#include "toolkit/headless/HeadlessGraphics.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using namespace qv;

Kernel& w1() {
    static Pointer<Document> document = [] {
        auto read = Document::read(str(bench::workloadArithmetic(1000000)));
        read->kernel()->getResults();
        return read;
    }();
    return *document->kernel();
}

// The work area as the panel sees it: the whole model searched, nothing
// to show or replace.
class ModelHost final : public FindPanelHost {
  public:
    explicit ModelHost(Kernel& kernel) : m_kernel(kernel) {}
    std::unique_ptr<FindSearch> startSearch(TextMatcher matcher, FindScope::Kind) override {
        return std::make_unique<FindSearch>(m_kernel, std::move(matcher), FindScope{});
    }
    void showHit(const FindHit&) override { ++shown; }
    bool replaceHit(const TextMatcher&, const FindHit&, std::string_view) override { return false; }
    std::int64_t replaceAll(const TextMatcher&, FindScope::Kind, std::string_view) override {
        return 0;
    }
    std::int32_t modelChangeCount() override { return m_kernel.getChangeCount(); }
    std::int32_t workAreaTop() const override { return 30; }

    std::int64_t shown = 0;

  private:
    Kernel& m_kernel;
};

void findAll(benchmark::State& state, const char* query, bool regularExpression) {
    Kernel& kernel = w1();
    toolkit::HeadlessWindow window({1024, 768});
    ModelHost host(kernel);
    FindPanel panel(window, host);
    panel.open(false);
    panel.setQuery(query);
    if (regularExpression) panel.toggle(FindPanel::Control::RegularExpression);
    std::int64_t slices = 0;
    for (auto _ : state) {
        panel.findAll();
        while (panel.isSearching()) {
            panel.timer(FindPanel::kTimerId);
            ++slices;
        }
        toolkit::HeadlessGraphics graphics(window.size());
        panel.paint(graphics);
        benchmark::DoNotOptimize(graphics.calls().size());
    }
    state.counters["found"] = static_cast<double>(panel.search()->total());
    state.counters["listed"] = static_cast<double>(panel.search()->hits().size());
    state.counters["slices"] =
        static_cast<double>(slices) / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(findAll, many_matches, "5", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(findAll, regex_digits, "\\d+5e6", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(findAll, regex_anchored, "^9+\\.5$", true)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
