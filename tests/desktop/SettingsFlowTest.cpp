// The user's settings in the running window: File > Recent through the
// document flow, the dialogs' folder, the window's place, the zoom kept
// in the settings file, and files that cannot be used told once.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/MainPanelListener.h"
#include "tests/support/ScratchFolder.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace qv {
namespace {

const char* const kDocument = "table Prices{\r\n    price:=12!\r\n}\r\n//--end";

struct SettingsFixture : ::testing::Test {
    SettingsFixture() { settingsPath = folder.file("config/quorvatelle/settings.conf"); }

    // The window as the program starts it: on `startupPath`, with the
    // settings file read.
    void start(const std::string& startupPath = "", bool withSettings = true) {
        listener.reset();
        window = std::make_unique<toolkit::HeadlessWindow>();
        listener = std::make_unique<MainPanelListener>(*window, startupPath);
        if (withSettings) panel().enableUserSettings(settingsPath, SettingsUse::Window);
        window->deliverPosted();
    }
    std::string document(const std::string& name) {
        std::string path = folder.file(name);
        test::putFileBytes(path, kDocument);
        return path;
    }
    MainPanel& panel() { return listener->panel(); }
    void choose(std::int32_t id) {
        listener->menuChosen(id);
        window->deliverPosted();
    }
    void choose(MenuCommand command) { choose(static_cast<std::int32_t>(command)); }
    const toolkit::MenuItem& recentMenu() {
        const toolkit::MenuItem& file = window->menuBar().at(0);
        return file.items.at(2);
    }
    // "caption" or "(caption)" for a greyed item, one per line.
    std::string recentItems() {
        std::string text;
        for (const toolkit::MenuItem& item : recentMenu().items) {
            if (item.separator) continue;
            text += item.enabled ? item.caption : "(" + item.caption + ")";
            text += "\n";
        }
        return text;
    }
    std::string settingsFile() { return test::fileBytes(settingsPath); }
    void writeSettings(std::string_view bytes) {
        std::filesystem::create_directories(folder.file("config/quorvatelle"));
        test::putFileBytes(settingsPath, bytes);
    }

    test::ScratchFolder folder;
    std::string settingsPath;
    std::unique_ptr<toolkit::HeadlessWindow> window;
    std::unique_ptr<MainPanelListener> listener;
};

TEST_F(SettingsFixture, OpeningSavingAndStartingOnAFileListIt) {
    std::string a = document("a.qvl");
    std::string b = document("b.qvl");
    std::string c = folder.file("c.qvl");
    start(a);
    EXPECT_EQ(panel().userSettings().recent, std::vector<std::string>{a});

    window->scriptFile(b);
    choose(MenuCommand::Open);
    window->scriptFile(c);
    choose(MenuCommand::SaveAs);
    EXPECT_EQ(panel().userSettings().recent, (std::vector<std::string>{c, b, a}));
    EXPECT_EQ(recentMenu().caption, "&Recent");
    EXPECT_EQ(recentItems(), "&1 " + c + "\n&2 " + b + "\n&3 " + a +
                                 "\n(Remove &missing documents)\n&Clear list\n");
    // Kept in the settings file, and read at the next start.
    EXPECT_NE(settingsFile().find("recent = " + c + "\nrecent = " + b + "\nrecent = " + a + "\n"),
              std::string::npos)
        << settingsFile();
    start();
    EXPECT_EQ(panel().userSettings().recent, (std::vector<std::string>{c, b, a}));
    EXPECT_EQ(window->unscriptedDialogs(), 0);
}

TEST_F(SettingsFixture, ARecentDocumentOpensThroughTheDocumentFlow) {
    std::string a = document("a.qvl");
    std::string b = document("b.qvl");
    start(a);
    window->scriptFile(b);
    choose(MenuCommand::Open);
    ASSERT_EQ(panel().flow().currentPath(), b);

    // Unsaved changes: asked first; Cancel keeps everything.
    choose(MenuCommand::Project);
    ASSERT_TRUE(panel().flow().isModified());
    window->scriptAnswer(toolkit::Answer::Cancel);
    choose(MainPanel::kFirstRecentId + 1);
    EXPECT_EQ(window->dialogs().back(),
              "question: " + b + " has changed,\n\nDo you want to save it?");
    EXPECT_EQ(panel().flow().currentPath(), b);
    EXPECT_TRUE(panel().flow().isModified());

    // No: the changes go, the recent document opens and comes first.
    window->scriptAnswer(toolkit::Answer::No);
    choose(MainPanel::kFirstRecentId + 1);
    EXPECT_EQ(panel().flow().currentPath(), a);
    EXPECT_FALSE(panel().flow().isModified());
    EXPECT_EQ(panel().userSettings().recent, (std::vector<std::string>{a, b}));
    EXPECT_EQ(test::fileBytes(b), kDocument);
    EXPECT_EQ(window->unscriptedDialogs(), 0);
}

TEST_F(SettingsFixture, MissingDocumentsAreGreyedAndRemovable) {
    std::string a = document("a.qvl");
    std::string b = document("b.qvl");
    std::string c = document("c.qvl");
    start(a);
    for (const std::string& path : {b, c}) {
        window->scriptFile(path);
        choose(MenuCommand::Open);
    }
    std::filesystem::remove(b);
    // The list is looked at again when the menus are made.
    start(c);
    EXPECT_EQ(recentItems(), "&1 " + c + "\n(&2 " + b + ")\n&3 " + a +
                                 "\nRemove &missing documents\n&Clear list\n");
    // A document that went away after the menu was made: the reader says
    // so, the document stays, and the entry is greyed.
    std::filesystem::remove(a);
    window->scriptAnswer(toolkit::Answer::Ok);
    choose(MainPanel::kFirstRecentId + 2);
    EXPECT_TRUE(window->dialogs().back().starts_with("notice: Can not load the file"))
        << window->dialogs().back();
    EXPECT_EQ(panel().flow().currentPath(), c);
    EXPECT_EQ(recentItems(), "&1 " + c + "\n(&2 " + b + ")\n(&3 " + a +
                                 ")\nRemove &missing documents\n&Clear list\n");

    choose(MenuCommand::RecentRemoveMissing);
    EXPECT_EQ(recentItems(), "&1 " + c + "\n(Remove &missing documents)\n&Clear list\n");
    choose(MenuCommand::RecentClear);
    EXPECT_EQ(recentItems(), "(No recent documents)\n(Remove &missing documents)\n(&Clear list)\n");
    EXPECT_EQ(settingsFile().find("recent ="), std::string::npos) << settingsFile();
}

TEST_F(SettingsFixture, FileDialogsStartInTheLastFolder) {
    std::filesystem::create_directory(folder.file("models"));
    std::string model = folder.file("models") + "/m.qvl";
    test::putFileBytes(model, kDocument);
    start();
    EXPECT_EQ(panel().userSettings().lastFolder, "");
    window->scriptFile(model);
    choose(MenuCommand::Open);
    EXPECT_EQ(panel().userSettings().lastFolder, folder.file("models"));

    // The next start: an untitled document's Save As starts there.
    start();
    window->scriptFile(std::nullopt);
    choose(MenuCommand::SaveAs);
    EXPECT_EQ(window->lastDialogStart(), folder.file("models"));
    // The folder of any file dialog counts (here File > Import...).
    std::filesystem::create_directory(folder.file("data"));
    window->scriptFile(folder.file("data") + "/table.csv");
    choose(MenuCommand::Import);
    EXPECT_EQ(panel().userSettings().lastFolder, folder.file("data"));
}

TEST_F(SettingsFixture, TheWindowComesBackWhereItWas) {
    start();
    window->setGeometry({300, 200, 900, 700});
    choose(MenuCommand::Exit);
    ASSERT_EQ(window->exitStatus(), 0);
    EXPECT_NE(settingsFile().find("window = 300 200 900 700\n"), std::string::npos)
        << settingsFile();
    start();
    EXPECT_EQ(window->geometry(), (toolkit::Rect{300, 200, 900, 700}));

    // Off the screen (a screen that went away): brought back onto it.
    writeSettings("window = 5000 -400 3000 700\n");
    start();
    EXPECT_EQ(window->geometry(), (toolkit::Rect{0, 0, 1920, 700}));
}

TEST_F(SettingsFixture, TheZoomIsKept) {
    writeSettings("zoom = 175\n");
    start();
    EXPECT_EQ(listener->zoomed().zoom().percent(), 175);
    EXPECT_EQ(panel().zoomPercent(), 175);
    choose(MenuCommand::ZoomIn);
    EXPECT_EQ(settingsFile(), "# Quorvatelle settings\nzoom = 200\n");
}

TEST_F(SettingsFixture, TheAppearanceIsKeptAndTheDesktopFollowedOnlyWhenChosen) {
    const toolkit::SystemColors darkDesktop{{36, 36, 36},    {255, 255, 255}, {30, 30, 30},
                                            {255, 255, 255}, {21, 83, 158},   {255, 255, 255},
                                            {48, 48, 48},    {255, 255, 255}};
    auto checked = [this] {
        std::string captions;
        for (const toolkit::MenuItem& item : window->menuBar().at(2).items.back().items)
            if (item.checked) captions += item.caption;
        return captions;
    };
    writeSettings("appearance = dark\n");
    start();
    EXPECT_EQ(window->palette(), toolkit::Palette::dark());
    EXPECT_EQ(checked(), "Dar&k");
    // A fixed appearance does not follow the desktop.
    window->setSystemColors(darkDesktop);
    EXPECT_EQ(window->palette(), toolkit::Palette::dark());

    choose(MenuCommand::AppearanceHighContrast);
    EXPECT_EQ(window->palette(), toolkit::Palette::highContrast());
    EXPECT_EQ(checked(), "&High Contrast");
    EXPECT_EQ(settingsFile(), "# Quorvatelle settings\nzoom = 100\nappearance = high contrast\n");

    choose(MenuCommand::AppearanceSystem);
    EXPECT_EQ(window->palette(), toolkit::Palette::fromSystem(darkDesktop));
    EXPECT_EQ(settingsFile(), "# Quorvatelle settings\nzoom = 100\n");
    const toolkit::SystemColors blackOnWhite{{255, 255, 255}, {0, 0, 0},   {255, 255, 255},
                                             {0, 0, 0},       {0, 0, 160}, {255, 255, 255},
                                             {255, 255, 255}, {0, 0, 0}};
    window->setSystemColors(blackOnWhite);
    EXPECT_EQ(window->palette(), toolkit::Palette::highContrastLight());

    // A word the program does not know leaves the desktop's colours.
    writeSettings("appearance = sepia\nzoom = 150\n");
    start();
    EXPECT_EQ(panel().userSettings().appearance, toolkit::Appearance::System);
    EXPECT_EQ(panel().zoomPercent(), 150);
    EXPECT_EQ(checked(), "&Desktop's Colours");
}

TEST_F(SettingsFixture, UnusableSettingsFilesAreToldOnceAndIgnored) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("zoom = 150\n\0\0", 13), "it is not a text file"},
        {"zoom = 150\n" + std::string(100'000, 'z'), "it is larger than 64 KiB"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        writeSettings(bytes);
        start();
        std::vector<std::string> notices;
        for (const std::string& dialog : window->dialogs())
            if (dialog.starts_with("notice: ")) notices.push_back(dialog);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0], "notice: The settings file " + settingsPath + " was ignored: " +
                                  reason + ". The program starts with its usual settings.");
        EXPECT_EQ(panel().zoomPercent(), 100);
        EXPECT_EQ(window->title(), "Untitled - Quorvatelle");
        // The next change writes a good file in its place.
        choose(MenuCommand::ZoomIn);
        EXPECT_EQ(settingsFile(), "# Quorvatelle settings\nzoom = 110\n");
    }
}

TEST_F(SettingsFixture, ASettingsFileThatCannotBeWrittenIsToldOnce) {
    test::putFileBytes(folder.file("config"), "a file where the folder would be");
    start();
    choose(MenuCommand::ZoomIn);
    choose(MenuCommand::ZoomIn);
    std::int32_t told = 0;
    for (const std::string& dialog : window->dialogs())
        told += dialog.starts_with("notice: The settings could not be saved (can not open ");
    EXPECT_EQ(told, 1) << window->dialogs().back();
    // The zoom works all the same.
    EXPECT_EQ(panel().zoomPercent(), 125);
}

TEST_F(SettingsFixture, WithoutTheFileNothingIsWritten) {
    std::string a = document("a.qvl");
    start(a, false);
    choose(MenuCommand::ZoomIn);
    EXPECT_EQ(panel().userSettings().recent, std::vector<std::string>{a});
    EXPECT_FALSE(std::filesystem::exists(folder.file("config")));
}

}  // namespace
}  // namespace qv
