// The program. `quorvatelle [FILE]` shows the window on the document (or
// on a new one); `quorvatelle --screenshot OUT.png [FILE]` lays the window
// out at 1024 by 768, paints it into a PNG and ends, with no display
// needed. The program ends with the status its document flow gives.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "desktop/MainPanelListener.h"
#include "desktop/ProgramArguments.h"
#include "toolkit/qt/QtApplication.h"

namespace {

constexpr qv::toolkit::Size kScreenshotSize{1024, 768};

qv::toolkit::ListenerFactory mainPanelOn(const std::string& startupPath) {
    return [startupPath](qv::toolkit::Window& window) {
        return std::make_unique<qv::MainPanelListener>(window, startupPath);
    };
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    qv::ProgramRequest request = qv::programRequestOf(arguments);
    if (!request.error.empty()) {
        std::fprintf(stderr, "quorvatelle: %s\n%s", request.error.c_str(),
                     std::string(qv::kProgramUsage).c_str());
        return 2;
    }
    if (request.screenshotPath) {
        if (!qv::toolkit::renderScreenshot(*request.screenshotPath, kScreenshotSize,
                                           mainPanelOn(request.startupPath))) {
            std::fprintf(stderr, "quorvatelle: can not write %s\n",
                         request.screenshotPath->c_str());
            return 1;
        }
        return 0;
    }
    return qv::toolkit::runApplication(argc, argv, mainPanelOn(request.startupPath));
}
