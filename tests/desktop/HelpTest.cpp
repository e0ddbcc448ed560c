// The Help menu's targets: the user guide looked for in its folders in
// order, opened with the system or replaced by the notice when it cannot
// be found or opened; and the About box.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "desktop/AboutBox.h"
#include "desktop/UserGuide.h"
#include "tests/app/AppTestSupport.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace qv {
namespace {

using test::putFileBytes;
using test::ScratchFolder;

// Folders a, b and c, of which those named hold docs/index.html.
struct GuideSetup {
    explicit GuideSetup(std::string_view holding) {
        for (char name : std::string("abc")) {
            std::filesystem::path folder = scratch.path() / std::string(1, name);
            std::filesystem::create_directories(folder / "docs");
            if (holding.find(name) != std::string_view::npos) {
                putFileBytes((folder / "docs" / "index.html").string(), "<html></html>");
            }
            places.folders.push_back(folder.string());
        }
    }
    std::string index(char name) const {
        return (scratch.path() / std::string(1, name) / "docs" / "index.html").string();
    }
    ScratchFolder scratch;
    GuideFolders places;
};

TEST(UserGuide, TheFirstFolderHoldingTheGuideWins) {
    struct Case {
        const char* holding;
        char found;  // 0: none
    };
    const Case cases[] = {{"abc", 'a'}, {"bc", 'b'}, {"c", 'c'}, {"ac", 'a'}, {"", 0}};
    for (const Case& c : cases) {
        GuideSetup setup(c.holding);
        std::optional<std::string> found = findUserGuide(setup.places);
        if (c.found == 0) {
            EXPECT_FALSE(found.has_value()) << c.holding;
        } else {
            EXPECT_EQ(found, setup.index(c.found)) << c.holding;
        }
    }
}

TEST(UserGuide, AFolderNamedIndexIsNotTheGuide) {
    GuideSetup setup("");
    std::filesystem::create_directories(setup.index('a'));
    EXPECT_FALSE(findUserGuide(setup.places).has_value());
}

TEST(UserGuide, HelpOpensTheIndexOrShowsTheNotice) {
    {
        GuideSetup setup("b");
        toolkit::HeadlessWindow window;
        openUserGuide(window, setup.places);
        EXPECT_EQ(window.opened(), (std::vector<std::string>{setup.index('b')}));
        EXPECT_TRUE(window.dialogs().empty());
    }
    {
        GuideSetup setup("");
        toolkit::HeadlessWindow window;
        openUserGuide(window, setup.places);
        EXPECT_TRUE(window.opened().empty());
        EXPECT_EQ(window.dialogs(),
                  (std::vector<std::string>{
                      "notice: Could not find the HTML Documentation. To view the HTML "
                      "Documentation, reinstall Quorvatelle, and select the help/ HTML "
                      "Documentation again."}));
    }
    {
        GuideSetup setup("a");
        toolkit::HeadlessWindow window;
        window.refuseOpening();
        openUserGuide(window, setup.places);
        EXPECT_EQ(window.dialogs(),
                  (std::vector<std::string>{"notice: Could not open the HTML Documentation: " +
                                            setup.index('a')}));
    }
}

// The guide written for this program is found from the build: next to the
// test program's folder there is none, but the source tree holds it.
TEST(UserGuide, TheProgramsOwnFoldersHoldTheGuide) {
    std::optional<std::string> found = findUserGuide(defaultGuideFolders());
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(std::filesystem::path(*found).filename(), "index.html");
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(QV_SOURCE_DIR) / "docs" / "language.html"));
}

TEST(AboutBox, NamesTheProductItsBuiltVersionAndWhatItIs) {
    toolkit::HeadlessWindow window;
    showAbout(window);
    ASSERT_EQ(window.dialogs().size(), 1u);
    const std::string& shown = window.dialogs()[0];
    EXPECT_EQ(shown.rfind("notice: Quorvatelle " + productVersion() + "\n\n", 0), 0u) << shown;
    EXPECT_NE(shown.find("calculation environment"), std::string::npos);
    EXPECT_EQ(productVersion(), QV_PROJECT_VERSION);
}

}  // namespace
}  // namespace qv
