// The user's settings file as untrusted input: written and read back
// unchanged, every bad line ignored alone, every unusable file ignored
// whole with the reason; the recent list and its submenu; the window's
// saved place fitted to the screen.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "core/String.h"
#include "desktop/RecentDocuments.h"
#include "desktop/UserSettings.h"
#include "tests/support/ScratchFolder.h"

namespace qv {
namespace {

using test::ScratchFolder;

UserSettings fullSettings() {
    UserSettings settings;
    settings.zoomPercent = 175;
    settings.window = toolkit::Rect{-30, 40, 1200, 900};
    settings.lastFolder = "/home/ada/models & more";
    for (int i = 0; i < 10; ++i)
        settings.recent.push_back("/home/ada/m" + std::to_string(i) + " é.qvl ");
    return settings;
}

TEST(UserSettingsFile, TextRoundTrips) {
    UserSettings withoutWindow = fullSettings();
    withoutWindow.window.reset();
    for (const UserSettings& settings : {UserSettings{}, fullSettings(), withoutWindow}) {
        std::string text = settingsText(settings);
        SettingsReading back = parseSettings(text);
        EXPECT_FALSE(back.problem) << *back.problem;
        EXPECT_EQ(back.settings, settings) << text;
        EXPECT_EQ(settingsText(back.settings), text);
    }
}

struct LineCase {
    const char* text;
    std::int32_t zoom;
    std::optional<toolkit::Rect> window;
    const char* folder;
    std::vector<std::string> recent;
};

TEST(UserSettingsFile, BadLinesAreIgnoredAlone) {
    const LineCase cases[] = {
        {"", 100, {}, "", {}},
        {"zoom = 150\n", 150, {}, "", {}},
        {"zoom=20\n", 50, {}, "", {}},
        {"zoom = 9999\n", 300, {}, "", {}},
        {"zoom = 99999999999\n", 100, {}, "", {}},
        {"zoom = 1e2\nzoom = abc\nzoom =\n", 100, {}, "", {}},
        {"  zoom\t=\t125  \r\n", 125, {}, "", {}},
        {"# zoom = 150\nZoom = 150\nzoomed = 150\n", 100, {}, "", {}},
        {"window = 1 2 300 400\n", 100, toolkit::Rect{1, 2, 300, 400}, "", {}},
        {"window = 1 2 300\nwindow = 1 2 3 4 5\nwindow = 1 2 0 400\n", 100, {}, "", {}},
        {"window = 1 2 -300 400\nwindow = 2000000 0 10 10\nwindow = a b c d\n", 100, {}, "", {}},
        {"folder = /data\n", 100, {}, "/data", {}},
        {"folder = data\nfolder = ~/data\n", 100, {}, "", {}},
        {"recent = /a.qvl\nrecent = b.qvl\nrecent = /a.qvl\nrecent = /c.qvl\n",
         100,
         {},
         "",
         {"/a.qvl", "/c.qvl"}},
        {"no equals sign here\nunknown = 1\n=\n= /x\n", 100, {}, "", {}},
        {"zoom = 150", 150, {}, "", {}},
    };
    for (const LineCase& row : cases) {
        SCOPED_TRACE(row.text);
        SettingsReading reading = parseSettings(row.text);
        EXPECT_FALSE(reading.problem);
        EXPECT_EQ(reading.settings.zoomPercent, row.zoom);
        EXPECT_EQ(reading.settings.window, row.window);
        EXPECT_EQ(reading.settings.lastFolder, row.folder);
        EXPECT_EQ(reading.settings.recent, row.recent);
    }
}

TEST(UserSettingsFile, AtMostTenRecentDocumentsAreRead) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "recent = /d" + std::to_string(i) + ".qvl\n";
    SettingsReading reading = parseSettings(text);
    ASSERT_EQ(reading.settings.recent.size(), 10u);
    EXPECT_EQ(reading.settings.recent.front(), "/d0.qvl");
    EXPECT_EQ(reading.settings.recent.back(), "/d9.qvl");
}

TEST(UserSettingsFile, TextsThatAreNoSettingsAreIgnoredWhole) {
    const std::pair<std::string, const char*> cases[] = {
        {std::string("zoom = 150\n\0\0\0", 14), "it is not a text file"},
        {"zoom = 150\n\x01\x02\x7f", "it is not a text file"},
        {"zoom = 150\n" + std::string(70 * 1024, '#'), "it is larger than 64 KiB"},
    };
    for (const auto& [text, reason] : cases) {
        SettingsReading reading = parseSettings(text);
        ASSERT_TRUE(reading.problem);
        EXPECT_EQ(*reading.problem, reason);
        EXPECT_EQ(reading.settings, UserSettings{});
    }
}

TEST(UserSettingsFile, WrittenThenReadInAFolderMadeForIt) {
    ScratchFolder folder;
    std::string path = folder.file("config/quorvatelle/settings.conf");
    writeSettingsFile(path, fullSettings());
    SettingsReading reading = readSettingsFile(path);
    EXPECT_FALSE(reading.problem);
    EXPECT_EQ(reading.settings, fullSettings());
    EXPECT_EQ(test::modeOf(folder.file("config/quorvatelle")) & 0777, 0700u);
    // Written again: replaced whole, nothing left beside it.
    UserSettings changed;
    changed.zoomPercent = 67;
    writeSettingsFile(path, changed);
    EXPECT_EQ(readSettingsFile(path).settings, changed);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("config/quorvatelle")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(UserSettingsFile, AMissingFileGivesTheDefaultsQuietly) {
    ScratchFolder folder;
    for (const std::string& path :
         {folder.file("none.conf"), folder.file("no/such/settings.conf"), std::string()}) {
        SettingsReading reading = readSettingsFile(path);
        EXPECT_FALSE(reading.problem) << path;
        EXPECT_EQ(reading.settings, UserSettings{});
    }
}

TEST(UserSettingsFile, UnusableFilesAreIgnoredWithTheReason) {
    ScratchFolder folder;
    std::string huge = folder.file("huge.conf");
    test::putFileBytes(huge, "zoom = 150\n" + std::string(1 << 20, 'x'));
    std::string binary = folder.file("binary.conf");
    test::putFileBytes(binary, std::string("zoom = 150\n\0\xff\xfe", 14));
    std::string pipe = folder.file("pipe.conf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string subfolder = folder.file("folder.conf");
    std::filesystem::create_directory(subfolder);
    const std::pair<std::string, const char*> cases[] = {
        {huge, "it is larger than 64 KiB"},
        {binary, "it is not a text file"},
        {pipe, "it is not a regular file"},
        {subfolder, "it is not a regular file"},
    };
    for (const auto& [path, reason] : cases) {
        SettingsReading reading = readSettingsFile(path);
        ASSERT_TRUE(reading.problem) << path;
        EXPECT_EQ(*reading.problem, "The settings file " + path + " was ignored: " + reason +
                                        ". The program starts with its usual settings.");
        EXPECT_EQ(reading.settings, UserSettings{});
    }
}

TEST(UserSettingsFile, AFileThatCannotBeReadIsIgnored) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ScratchFolder folder;
    std::string path = folder.file("locked.conf");
    test::putFileBytes(path, "zoom = 150\n");
    ::chmod(path.c_str(), 0);
    SettingsReading reading = readSettingsFile(path);
    ASSERT_TRUE(reading.problem);
    EXPECT_NE(reading.problem->find("was ignored: can not read it"), std::string::npos)
        << *reading.problem;
    EXPECT_EQ(reading.settings.zoomPercent, 100);
}

TEST(UserSettingsFile, AWriteThatFailsThrowsTheWritersMessage) {
    ScratchFolder folder;
    test::putFileBytes(folder.file("file"), "x");
    try {
        writeSettingsFile(folder.file("file/settings.conf"), UserSettings{});
        FAIL() << "written under a file";
    } catch (const StringPointer& message) {
        EXPECT_TRUE(message->toStdString().starts_with("can not open ")) << message->toStdString();
    }
}

TEST(UserSettingsFile, TheDefaultPathFollowsTheConfigFolder) {
    struct Case {
        const char* config;
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/tmp/cfg", "/home/ada", "/tmp/cfg/quorvatelle/settings.conf"},
        {"relative", "/home/ada", "/home/ada/.config/quorvatelle/settings.conf"},
        {nullptr, "/home/ada", "/home/ada/.config/quorvatelle/settings.conf"},
        {nullptr, nullptr, ""},
    };
    std::string config = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const Case& row : cases) {
        row.config ? ::setenv("XDG_CONFIG_HOME", row.config, 1) : ::unsetenv("XDG_CONFIG_HOME");
        row.home ? ::setenv("HOME", row.home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(defaultSettingsPath(), row.expected);
    }
    config.empty() ? ::unsetenv("XDG_CONFIG_HOME") : ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    home.empty() ? ::unsetenv("HOME") : ::setenv("HOME", home.c_str(), 1);
}

TEST(UserSettingsFile, TheWindowIsPlacedWhollyOnTheScreen) {
    const toolkit::Rect screen{0, 30, 1920, 1050};
    struct Case {
        toolkit::Rect saved;
        std::optional<toolkit::Rect> placed;
    };
    const Case cases[] = {
        {{100, 100, 800, 600}, toolkit::Rect{100, 100, 800, 600}},
        {{-500, -500, 800, 600}, toolkit::Rect{0, 30, 800, 600}},
        {{5000, 4000, 800, 600}, toolkit::Rect{1120, 480, 800, 600}},
        {{0, 0, 10, 10}, toolkit::Rect{0, 30, 320, 240}},
        {{0, 0, 99999, 99999}, toolkit::Rect{0, 30, 1920, 1050}},
    };
    for (const Case& row : cases)
        EXPECT_EQ(placedOnScreen(row.saved, screen), row.placed);
    EXPECT_EQ(placedOnScreen({0, 0, 800, 600}, {}), std::nullopt);
    // A screen smaller than the smallest window.
    EXPECT_EQ(placedOnScreen({0, 0, 800, 600}, {0, 0, 200, 100}), (toolkit::Rect{0, 0, 200, 100}));
}

TEST(RecentDocuments, TheLastOneIsFirstAndTenAreKept) {
    std::vector<std::string> recent;
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(rememberRecent(recent, "/d" + std::to_string(i)));
    ASSERT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent.front(), "/d11");
    EXPECT_EQ(recent.back(), "/d2");
    // Used again: moves to the front, once.
    EXPECT_TRUE(rememberRecent(recent, "/d5"));
    EXPECT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent[0], "/d5");
    EXPECT_EQ(recent[1], "/d11");
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "/d5"), 1);
    // Paths the file cannot hold are not remembered.
    for (const char* path : {"relative.qvl", "/a\nb.qvl", "/a\rb", ""}) {
        EXPECT_FALSE(rememberRecent(recent, path)) << path;
        EXPECT_EQ(recent[0], "/d5");
    }
}

TEST(RecentDocuments, TheSubmenuGreysMissingDocuments) {
    const std::set<std::string> present = {"/here.qvl", "/also & here.qvl"};
    FileExists exists = [&](const std::string& path) { return present.count(path) > 0; };
    const RecentMenuIds ids{900, 50, 51};
    std::vector<std::string> recent = {"/here.qvl", "/gone.qvl", "/also & here.qvl"};
    toolkit::MenuItem menu = recentMenu(recent, ids, exists);
    EXPECT_EQ(menu.caption, "&Recent");
    ASSERT_EQ(menu.items.size(), 6u);
    const std::tuple<const char*, std::int32_t, bool> expected[] = {
        {"&1 /here.qvl", 900, true},
        {"&2 /gone.qvl", 901, false},
        {"&3 /also && here.qvl", 902, true},
        {"", 0, true},
        {"Remove &missing documents", 50, true},
        {"&Clear list", 51, true},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& [caption, id, enabled] = expected[i];
        EXPECT_EQ(menu.items[i].caption, caption) << i;
        EXPECT_EQ(menu.items[i].id, id) << i;
        EXPECT_EQ(menu.items[i].enabled, enabled) << i;
    }
    EXPECT_TRUE(forgetMissing(recent, exists));
    EXPECT_EQ(recent, (std::vector<std::string>{"/here.qvl", "/also & here.qvl"}));
    EXPECT_FALSE(forgetMissing(recent, exists));
    EXPECT_FALSE(recentMenu(recent, ids, exists).items[3].enabled);

    toolkit::MenuItem empty = recentMenu({}, ids, exists);
    ASSERT_EQ(empty.items.size(), 4u);
    EXPECT_EQ(empty.items[0].caption, "No recent documents");
    for (const toolkit::MenuItem& item : empty.items)
        EXPECT_TRUE(item.separator || !item.enabled) << item.caption;
}

TEST(RecentDocuments, CaptionsNumberTheDocumentsAndShortenLongPaths) {
    EXPECT_EQ(recentCaption(0, "/a.qvl"), "&1 /a.qvl");
    EXPECT_EQ(recentCaption(9, "/a.qvl"), "1&0 /a.qvl");
    std::string longPath = "/" + std::string(200, 'x') + "/end.qvl";
    std::string caption = recentCaption(1, longPath);
    EXPECT_LT(caption.size(), 100u);
    EXPECT_TRUE(caption.ends_with("/end.qvl")) << caption;
    EXPECT_NE(caption.find("..."), std::string::npos);
    // Never cut inside a character.
    std::string accented = "/";
    for (int i = 0; i < 80; ++i)
        accented += "é";
    std::string shortened = recentCaption(0, accented);
    for (std::size_t at = shortened.find("..."); at != std::string::npos; at = std::string::npos) {
        EXPECT_NE(static_cast<unsigned char>(shortened[at - 1]), 0xC3);
        EXPECT_EQ(static_cast<unsigned char>(shortened[at + 3]), 0xC3);
    }
}

}  // namespace
}  // namespace qv
