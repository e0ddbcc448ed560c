// Recovery and the watched file in the real program's window on Qt's
// offscreen platform: a copy left by a crash is recovered through the
// question at start (scripted), the window counts it as unsaved, and the
// file watcher of the Qt backend sees the file changed on disk, in place
// and replaced by a rename, and the window asks each time; without unsaved
// changes it reads the file again and says so in its message line.
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/DocumentFile.h"
#include "desktop/MainPanelListener.h"
#include "desktop/RecoveryStore.h"
#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtApplication.h"
#include "toolkit/qt/QtDialogs.h"
#include "toolkit/qt/QtMessageLine.h"

namespace qv::toolkit {
namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Recovers, keeps the window's version, and notes every question.
class Answers final : public DialogScript {
  public:
    Answer answerMessageBox(std::string_view text, MessageBoxKind kind) override {
        asked.emplace_back(text);
        return kind == MessageBoxKind::Recover ? Answer::Yes : Answer::No;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::vector<std::string> asked;
};

bool waitFor(const std::function<bool()>& condition) {
    for (int turn = 0; turn < 100 && !condition(); ++turn)
        QTest::qWait(50);
    return condition();
}

TEST(RecoveryOnQt, ACrashedCopyIsRecoveredAndTheWatcherFollowsTheFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string root = folder.path().toStdString();
    const std::string saved = root + "/prices.qvl";
    const std::string copies = root + "/state/quorvatelle";
    std::string example =
        fromDiskLineEnds(bytesOf(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    put(saved, toDiskLineEnds(example));
    std::string recovered = example;
    recovered.replace(recovered.find("\"Atlas\""), 7, "\"Atlas, recovered\"");
    std::filesystem::create_directories(copies);
    put(copies + "/crashed.qvl", toDiskLineEnds(recovered));
    put(copies + "/crashed.info", recoveryRecordText({saved, 1}));
    std::filesystem::last_write_time(
        copies + "/crashed.qvl", std::filesystem::last_write_time(saved) + std::chrono::hours(1));

    Answers answers;
    setDialogScript(&answers);
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, saved);
    listener->panel().flow().enableRecovery(copies, {});
    ASSERT_TRUE(showActive(*window));
    settle();

    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_TRUE(answers.asked[0].starts_with(saved + " has a recovery copy")) << answers.asked[0];
    EXPECT_NE(listener->panel().documentSource()->toStdString().find("Atlas, recovered"),
              std::string::npos);
    EXPECT_NE(window->frame()->windowTitle().toStdString().find('*'), std::string::npos)
        << window->frame()->windowTitle().toStdString();
    QImage image = renderWindow(*window);
    if (const char* keep = std::getenv("QV_KEEP_DIALOGS"))
        image.save(QString::fromUtf8(keep) + QStringLiteral("/recovered.png"));
    EXPECT_GT(colourCount(image), 16u);

    // Changed in place, then replaced by a rename as editors save: each
    // new version is asked about (and kept out, as answered).
    put(saved, toDiskLineEnds("table Elsewhere{\n    a:=1!\n}\n//--end"));
    EXPECT_TRUE(waitFor([&] { return answers.asked.size() == 2u; }));
    put(root + "/new.qvl", toDiskLineEnds("table Renamed{\n    b:=2!\n}\n//--end"));
    std::filesystem::rename(root + "/new.qvl", saved);
    EXPECT_TRUE(waitFor([&] { return answers.asked.size() == 3u; }));
    for (std::size_t i = 1; i < answers.asked.size(); ++i)
        EXPECT_TRUE(answers.asked[i].starts_with(saved + " changed on disk.")) << answers.asked[i];
    EXPECT_NE(listener->panel().documentSource()->toStdString().find("Atlas, recovered"),
              std::string::npos);

    listener.reset();
    window.reset();
    setDialogScript(nullptr);
}

// Without unsaved changes, a file changed on disk is read again with no
// question: the message line says so, and the window shows the new file.
TEST(RecoveryOnQt, AnUnchangedWindowReadsTheFileAgainAndSaysSoInTheMessageLine) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string saved = folder.path().toStdString() + "/prices.qvl";
    put(saved, bytesOf(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    Answers answers;
    setDialogScript(&answers);
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, saved);
    ASSERT_TRUE(showActive(*window));
    settle();
    ASSERT_NE(window->messageLine(), nullptr);
    EXPECT_TRUE(window->messageLine()->message().isEmpty());

    put(saved, toDiskLineEnds("table Elsewhere{\n    a:=1!\n}\n//--end"));
    const std::string told = saved + " changed on disk and was read again.";
    EXPECT_TRUE(waitFor([&] { return window->messageLine()->message().toStdString() == told; }))
        << window->messageLine()->message().toStdString();
    EXPECT_TRUE(answers.asked.empty()) << answers.asked.front();
    EXPECT_EQ(listener->panel().documentSource()->toStdString().rfind("table Elsewhere{", 0), 0u);
    EXPECT_EQ(window->messageLine()->text().toStdString(), told);
    QImage image = renderWindow(*window);
    if (const char* keep = std::getenv("QV_KEEP_DIALOGS"))
        image.save(QString::fromUtf8(keep) + QStringLiteral("/read-again.png"));

    listener.reset();
    window.reset();
    setDialogScript(nullptr);
}

}  // namespace
}  // namespace qv::toolkit
