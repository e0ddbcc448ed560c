// The program. `quorvatelle [FILE]` shows the window on the document (or
// on a new one); `quorvatelle --screenshot OUT.png [FILE]` lays the window
// out at 1024 by 768, paints it into a PNG and ends, with no display
// needed (1 with the reader's message, and no file, for a document that
// can not be read); `quorvatelle --chart OUT.png|OUT.svg FILE TABLE` writes the chart
// of a table and ends (0 when written, 1 with a message when not). The
// program ends with the status its document flow gives.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/FileWriter.h"
#include "desktop/ChartCommand.h"
#include "desktop/MainPanelListener.h"
#include "desktop/ProgramArguments.h"
#include "desktop/ScreenshotCheck.h"
#include "toolkit/qt/QtApplication.h"
#include "toolkit/qt/QtImage.h"

namespace {

constexpr qv::toolkit::Size kScreenshotSize{1024, 768};

qv::toolkit::ListenerFactory mainPanelOn(const std::string& startupPath) {
    return [startupPath](qv::toolkit::Window& window) {
        return std::make_unique<qv::MainPanelListener>(window, startupPath);
    };
}

// Qt starts only for a PNG: an SVG needs no application, nor a display.
bool encodePngWithoutWindow(qv::toolkit::Size size, const qv::toolkit::ImagePainter& paint,
                            std::string& bytes, std::string& error) {
    return qv::toolkit::runWithoutWindow(
               [&] { return qv::toolkit::encodePngImage(size, paint, bytes, error) ? 0 : 1; }) == 0;
}

// The window painted into memory, then written whole through the one file
// writer: a full disk leaves no cut picture and ends with 1.
int writeScreenshot(const std::string& pngPath, const std::string& startupPath) {
    if (std::optional<std::string> why = qv::whyScreenshotDocumentFails(startupPath)) {
        std::fprintf(stderr, "quorvatelle: %s\n", why->c_str());
        return 1;
    }
    try {
        // Refused before the window is laid out for nothing.
        qv::requireRegularTarget(pngPath);
        std::string bytes;
        std::string error;
        if (!qv::toolkit::renderScreenshot(kScreenshotSize, mainPanelOn(startupPath), bytes, error))
            qv::throwMessage("can not write to " + pngPath + ": " + error);
        qv::writeFileWhole(pngPath, bytes);
    } catch (const qv::StringPointer& message) {
        std::fprintf(stderr, "quorvatelle: %s\n", message->text());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qv::failWritesPastTheFileSizeLimit();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    qv::ProgramRequest request = qv::programRequestOf(arguments);
    if (!request.error.empty()) {
        std::fprintf(stderr, "quorvatelle: %s\n%s", request.error.c_str(),
                     std::string(qv::kProgramUsage).c_str());
        return 2;
    }
    if (request.chart) return qv::runChartCommand(*request.chart, encodePngWithoutWindow, stderr);
    if (request.screenshotPath)
        return writeScreenshot(*request.screenshotPath, request.startupPath);
    return qv::toolkit::runApplication(argc, argv, mainPanelOn(request.startupPath));
}
