// File > Export PDF... of a table of 100,000 records on Qt's offscreen
// platform, as the window runs it: the grid turned a record a line, every
// page painted through the toolkit's drawing surface into QPdfWriter (with
// the wait indicator's step between pages) and the file written whole. The
// table is computed once before the timing; counters give the pages and
// the PDF's size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <cstdlib>
#include <fstream>
#include <string>

#include "desktop/MainPanelListener.h"
#include "editing/TitleDecorator.h"
#include "toolkit/qt/QtWindow.h"
#include "views/ResultEditable.h"

namespace {

using namespace qv;

void BM_ExportPdf(benchmark::State& state) {
    const std::string folder = QDir::tempPath().toStdString();
    const std::string model = folder + "/qv-print-bench.qvl";
    const std::string pdf = folder + "/qv-print-bench.pdf";
    std::ofstream(model, std::ios::binary)
        << "table Sales{\n    n:=range 1 to " << state.range(0)
        << "!\n    price:=n*1.25!\n    quantity:=n*3!\n    total:=price*quantity!\n}\n//--end\n";
    toolkit::QtWindow window;
    window.frame()->resize(1024, 768);
    MainPanelListener listener(window, model);
    for (int turn = 0; turn < 5; ++turn)
        QCoreApplication::processEvents();
    MainPanel& panel = listener.panel();
    panel.openResultView(str("Sales"));
    QCoreApplication::processEvents();
    const FloatLayoutEditable& root = *panel.layoutRoot();
    auto view =
        cast<ResultEditable>(cast<TitleDecorator>(root.frame(root.frameCount() - 1))->view());
    auto grid = cast<TableEditable>(view->innerView());
    panel.support().select(grid);
    Pointer<TableEditable> printed = panel.gridToPrint();
    for (auto _ : state) {
        std::optional<std::string> failure = panel.prints().writePdf(printed, pdf);
        if (failure) state.SkipWithError(failure->c_str());
    }
    state.counters["pdf_bytes"] =
        static_cast<double>(QFileInfo(QString::fromStdString(pdf)).size());
    QFile::remove(QString::fromStdString(pdf));
    QFile::remove(QString::fromStdString(model));
}

BENCHMARK(BM_ExportPdf)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
