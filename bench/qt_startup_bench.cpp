// The desktop program's start on Qt's offscreen platform, to the first
// frame painted into the window's backing store. The toolkit's own start
// is the application object (made once, timed once and printed) and a
// window shown with a listener that only fills it; the program's is the
// same window with the main panel reading an example document. Their
// difference is what the program adds to the toolkit's start.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "desktop/MainPanelListener.h"
#include "desktop/UserSettings.h"
#include "toolkit/qt/QtApplication.h"
#include "toolkit/qt/QtWindow.h"

namespace {

using namespace qv;

// Counts the paints that reach the listener it stands in front of.
class PaintCounter final : public toolkit::WindowListener {
  public:
    explicit PaintCounter(toolkit::WindowListener* inner) : m_inner(inner) {}
    int paints = 0;

    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override {
        ++paints;
        if (m_inner != nullptr) {
            m_inner->paint(graphics, area);
        } else {
            graphics.setColor({200, 200, 200});
            graphics.fillRect(area);
        }
    }
    void resized(toolkit::Size size) override {
        if (m_inner != nullptr) m_inner->resized(size);
    }
    void mouse(toolkit::MouseKind, toolkit::Point, std::uint32_t) override {}
    void wheel(std::int32_t, toolkit::Point, std::uint32_t) override {}
    void key(std::int32_t, std::string_view, std::uint32_t) override {}
    void menuChosen(std::int32_t) override {}
    void message(const toolkit::PostedMessage& message) override {
        if (m_inner != nullptr) m_inner->message(message);
    }
    void timer(std::int32_t) override {}
    void closeRequested() override {}

  private:
    toolkit::WindowListener* m_inner;
};

// Shows the window and lets Qt run until the first paint has happened.
void untilFirstPaint(toolkit::QtWindow& window, const PaintCounter& counter) {
    window.frame()->show();
    while (counter.paints == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void BM_ToolkitWindowToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        toolkit::QtWindow window;
        window.frame()->resize(1024, 768);
        PaintCounter counter(nullptr);
        window.setListener(&counter);
        untilFirstPaint(window, counter);
        window.setListener(nullptr);
    }
}
BENCHMARK(BM_ToolkitWindowToFirstFrame)->Unit(benchmark::kMillisecond);

void programToFirstFrame(benchmark::State& state, const std::string& example) {
    const std::string path = std::string(QV_SOURCE_DIR) + "/examples/" + example;
    for (auto _ : state) {
        toolkit::QtWindow window;
        window.frame()->resize(1024, 768);
        MainPanelListener panel(window, path);
        PaintCounter counter(&panel);
        window.setListener(&counter);
        untilFirstPaint(window, counter);
        window.setListener(nullptr);
    }
}
BENCHMARK_CAPTURE(programToFirstFrame, loan, std::string("loan.qvl"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(programToFirstFrame, prices, std::string("prices.qvl"))
    ->Unit(benchmark::kMillisecond);

// The same with the user's settings read and applied as the program does
// at start: a full recent list (some of it missing), a zoom and a window
// place; the start-up document goes to the top of the list, which writes
// the settings file once.
void programWithSettingsToFirstFrame(benchmark::State& state) {
    const std::string path = std::string(QV_SOURCE_DIR) + "/examples/prices.qvl";
    std::string folder = (std::filesystem::temp_directory_path() / "qv-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) return state.SkipWithError("no temporary folder");
    const std::string settings = folder + "/quorvatelle/settings.conf";
    UserSettings saved;
    saved.zoomPercent = 150;
    saved.window = toolkit::Rect{40, 40, 1024, 768};
    saved.lastFolder = std::string(QV_SOURCE_DIR) + "/examples";
    for (int i = 0; i < 10; ++i) {
        saved.recent.push_back(i % 2 == 0 ? std::string(QV_SOURCE_DIR) + "/examples/loan.qvl"
                                          : folder + "/missing" + std::to_string(i) + ".qvl");
    }
    for (auto _ : state) {
        state.PauseTiming();
        writeSettingsFile(settings, saved);
        state.ResumeTiming();
        toolkit::QtWindow window;
        window.frame()->resize(1024, 768);
        MainPanelListener panel(window, path);
        panel.panel().enableUserSettings(settings, SettingsUse::Window);
        PaintCounter counter(&panel);
        window.setListener(&counter);
        untilFirstPaint(window, counter);
        window.setListener(nullptr);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(programWithSettingsToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto before = std::chrono::steady_clock::now();
    QApplication application(argc, argv);
    auto made = std::chrono::steady_clock::now();
    std::printf("application object: %.1f ms\n",
                std::chrono::duration<double, std::milli>(made - before).count());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
