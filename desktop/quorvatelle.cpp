// The program. `quorvatelle [FILE]` shows the window on the document (or
// on a new one); `quorvatelle --screenshot OUT.png [FILE]` lays the window
// out at 1024 by 768, paints it into a PNG and ends, with no display
// needed (1 with the reader's message, and no file, for a document that
// can not be read); `quorvatelle --chart OUT.png|OUT.svg FILE TABLE` writes the chart
// of a table and ends (0 when written, 1 with a message when not);
// `quorvatelle --guide-path` prints where Help finds the user guide (1 with
// the folders looked in when it finds none). The program ends with the
// status its document flow gives.
//
// The window keeps recovery copies in the user's state folder, and its
// settings (recent documents, its place, zoom) in the user's config folder. For the
// tests that run the program as a process (a crash is a killed process)
// three environment variables, which nobody sets otherwise, stand in for
// the user: QUORVATELLE_TEST_ANSWERS answers message boxes in order
// (recover, open, later, yes, no, ok, cancel; comma-separated) and says
// each box on standard error; QUORVATELLE_TEST_CHANGE=1 adds a project view
// once the document is open (a change); QUORVATELLE_TEST_RECOVERY_MS
// shortens the interval of recovery copies (never lengthens it).
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/FileWriter.h"
#include "desktop/ChartCommand.h"
#include "desktop/MainPanelListener.h"
#include "desktop/ProgramArguments.h"
#include "desktop/RecoveryStore.h"
#include "desktop/ScreenshotCheck.h"
#include "desktop/UserGuide.h"
#include "toolkit/qt/QtApplication.h"
#include "toolkit/qt/QtDialogs.h"
#include "toolkit/qt/QtImage.h"

namespace {

constexpr qv::toolkit::Size kScreenshotSize{1024, 768};

// The screenshot shows the window as the user set it up (zoom, recent
// documents), at its own size, and changes no setting.
qv::toolkit::ListenerFactory mainPanelOn(const std::string& startupPath) {
    return [startupPath](qv::toolkit::Window& window) {
        auto listener = std::make_unique<qv::MainPanelListener>(window, startupPath);
        listener->panel().enableUserSettings(qv::defaultSettingsPath(),
                                             qv::SettingsUse::Screenshot);
        return listener;
    };
}

std::optional<qv::toolkit::Answer> answerNamed(std::string_view name) {
    using qv::toolkit::Answer;
    if (name == "recover" || name == "yes") return Answer::Yes;
    if (name == "open" || name == "no") return Answer::No;
    if (name == "later" || name == "cancel") return Answer::Cancel;
    if (name == "ok") return Answer::Ok;
    return std::nullopt;
}

// Answers message boxes from QUORVATELLE_TEST_ANSWERS; once they run out,
// Cancel (OK for a notice). File dialogs are cancelled.
class EnvironmentAnswers final : public qv::toolkit::DialogScript {
  public:
    explicit EnvironmentAnswers(std::string_view list) {
        while (!list.empty()) {
            std::size_t comma = list.find(',');
            if (std::optional<qv::toolkit::Answer> answer = answerNamed(list.substr(0, comma)))
                m_answers.push_back(*answer);
            list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
        }
    }
    qv::toolkit::Answer answerMessageBox(std::string_view text,
                                         qv::toolkit::MessageBoxKind) override {
        std::fprintf(stderr, "quorvatelle: dialog: %.*s\n", static_cast<int>(text.size()),
                     text.data());
        std::fflush(stderr);
        if (m_next >= m_answers.size()) return qv::toolkit::Answer::Cancel;
        return m_answers[m_next++];
    }
    std::optional<std::string> chooseFile(const qv::toolkit::FileDialogRequest&) override {
        return std::nullopt;
    }

  private:
    std::vector<qv::toolkit::Answer> m_answers;
    std::size_t m_next = 0;
};

// The window as a user runs it: with recovery copies, and the test
// stand-ins described above.
qv::toolkit::ListenerFactory interactivePanelOn(const std::string& startupPath) {
    return [startupPath](qv::toolkit::Window& window) {
        auto listener = std::make_unique<qv::MainPanelListener>(window, startupPath);
        qv::MainPanel& panel = listener->panel();
        panel.enableUserSettings(qv::defaultSettingsPath(), qv::SettingsUse::Window);
        std::int32_t interval = qv::DocumentRecovery::kIntervalMs;
        if (const char* shorter = std::getenv("QUORVATELLE_TEST_RECOVERY_MS"))
            interval = std::clamp(std::atoi(shorter), 100, interval);
        panel.flow().enableRecovery(qv::defaultRecoveryFolder(), {}, interval);
        if (const char* change = std::getenv("QUORVATELLE_TEST_CHANGE");
            change != nullptr && std::string_view(change) == "1") {
            // After the start-up flow, which is posted and may ask first.
            QTimer::singleShot(500, [&panel] {
                panel.menuChosen(static_cast<std::int32_t>(qv::MenuCommand::Project));
            });
        }
        return listener;
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

// The guide's index as Help finds it: how a user, or a test of an
// installation, sees which copy the program uses.
int printGuidePath() {
    qv::GuideFolders places = qv::defaultGuideFolders();
    std::optional<std::string> index = qv::findUserGuide(places);
    if (!index) {
        std::fputs(
            "quorvatelle: the user guide was not found; docs/index.html was looked for in:\n",
            stderr);
        for (const std::string& folder : places.folders)
            std::fprintf(stderr, "  %s\n", folder.c_str());
        return 1;
    }
    std::printf("%s\n", index->c_str());
    if (std::fflush(stdout) != 0) {
        std::fputs("quorvatelle: can not write to standard output\n", stderr);
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
    if (request.guidePath) return printGuidePath();
    if (request.screenshotPath)
        return writeScreenshot(*request.screenshotPath, request.startupPath);
    // Named before the application starts, so its windows carry the name.
    QGuiApplication::setDesktopFileName(QStringLiteral(QV_APP_ID));
    std::unique_ptr<EnvironmentAnswers> answers;
    if (const char* list = std::getenv("QUORVATELLE_TEST_ANSWERS")) {
        answers = std::make_unique<EnvironmentAnswers>(list);
        qv::toolkit::setDialogScript(answers.get());
    }
    int status = qv::toolkit::runApplication(argc, argv, interactivePanelOn(request.startupPath));
    qv::toolkit::setDialogScript(nullptr);
    return status;
}
