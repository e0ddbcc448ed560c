// The headless backend that every desktop test draws into and talks to:
// its recorded drawing (origin, clipping), its fixed font metrics, and its
// scripted dialogs whose answers arrive as posted messages, and the pages
// of PDFs and prints it records.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/headless/HeadlessWindow.h"

namespace qv::toolkit {
namespace {

TEST(HeadlessGraphics, RecordsCallsInAbsoluteCoordinatesAndMarksClippedOnes) {
    HeadlessGraphics graphics({200, 100});
    graphics.setColor({255, 0, 0});
    graphics.fillRect({10, 10, 20, 5});
    {
        GraphicsScope scope(graphics, {50, 50, 10, 10});
        graphics.translate(50, 50);
        graphics.drawText({2, 12}, "in");
        graphics.drawText({30, 12}, "out");  // starts right of the clip
        EXPECT_EQ(graphics.clip(), (Rect{0, 0, 10, 10}));
    }
    EXPECT_EQ(graphics.origin(), (Point{0, 0}));
    EXPECT_EQ(graphics.clip(), (Rect{0, 0, 200, 100}));
    graphics.drawLine({0, 0}, {5, 5});
    const std::vector<std::string> expected = {
        "fill 10,10 20x5 #ff0000",
        "text 52,62 in",
        "text 80,62 out (clipped)",
        "line 0,0 5,5 #ff0000",
    };
    EXPECT_EQ(graphics.calls(), expected);
    EXPECT_EQ(graphics.texts(), (std::vector<std::string>{"in"}));
}

TEST(HeadlessMetrics, CountCharactersNotBytes) {
    struct Case {
        std::int32_t pixelSize;
        bool bold;
        const char* text;
        std::int32_t width;
    };
    const Case cases[] = {
        {16, false, "abc", 24},
        {16, true, "abc", 27},
        {16, false, "\xC3\xA9t\xC3\xA9", 24},  // "été": 3 characters, 5 bytes
        {32, false, "ab", 32},
        {16, false, "", 0},
    };
    for (const Case& c : cases) {
        Font font;
        font.pixelSize = c.pixelSize;
        font.bold = c.bold;
        EXPECT_EQ(HeadlessMetrics(font).textWidth(c.text), c.width) << c.text;
    }
    HeadlessMetrics plain({});
    EXPECT_EQ(plain.height(), 16);
}

class Recorder final : public WindowListener {
  public:
    void paint(Graphics& graphics, const Rect&) override { graphics.drawText({0, 12}, "hi"); }
    void resized(Size) override {}
    void mouse(MouseKind, Point, std::uint32_t) override {}
    void wheel(std::int32_t, Point, std::uint32_t) override {}
    void key(std::int32_t, std::string_view, std::uint32_t) override {}
    void menuChosen(std::int32_t) override {}
    void message(const PostedMessage& message) override {
        messages.push_back(std::to_string(message.id) + ":" + std::to_string(message.value) + ":" +
                           message.text);
    }
    void timer(std::int32_t) override {}
    void closeRequested() override {}
    void paletteChanged() override { ++paletteChanges; }
    std::vector<std::string> messages;
    std::int32_t paletteChanges = 0;
};

TEST(HeadlessWindow, AllWindowsShareThePaletteAndHearWhenItChanges) {
    const SystemColors darkDesktop{{36, 36, 36},  {255, 255, 255}, {30, 30, 30}, {255, 255, 255},
                                   {21, 83, 158}, {255, 255, 255}, {48, 48, 48}, {255, 255, 255}};
    HeadlessWindow window;
    Recorder main;
    Recorder dialog;
    window.setListener(&main);
    std::unique_ptr<Window> further = window.openWindow("Dialog", {0, 0, 300, 200});
    further->setListener(&dialog);
    EXPECT_EQ(further->palette(), Palette::light());

    window.setSystemColors(darkDesktop);
    EXPECT_EQ(window.palette(), Palette::fromSystem(darkDesktop));
    EXPECT_EQ(further->palette(), window.palette());
    EXPECT_EQ(main.paletteChanges, 1);
    EXPECT_EQ(dialog.paletteChanges, 1);

    // Chosen on either window, the appearance holds for both; the same
    // palette again changes nothing.
    further->setAppearance(Appearance::HighContrast);
    window.setAppearance(Appearance::HighContrast);
    EXPECT_EQ(window.palette(), Palette::highContrast());
    EXPECT_EQ(further->palette(), Palette::highContrast());
    EXPECT_EQ(main.paletteChanges, 2);
    EXPECT_EQ(dialog.paletteChanges, 2);
}

TEST(HeadlessWindow, AnswersDialogsFromItsScriptAsPostedMessages) {
    HeadlessWindow window;
    Recorder recorder;
    window.setListener(&recorder);
    window.scriptAnswer(Answer::No);
    window.scriptFile(std::string("/tmp/a.qvl"));
    window.scriptFile(std::nullopt);
    window.showMessageBox("Save?", "Quorvatelle", MessageBoxKind::Question);
    window.showFileDialog({true, "All(*.*),*.*,", "qvl", ""});
    window.showFileDialog({false, "All(*.*),*.*,", "qvl", ""});  // cancelled: nothing posted
    window.showMessageBox("Done", "Quorvatelle", MessageBoxKind::Notice);
    EXPECT_TRUE(recorder.messages.empty());  // nothing arrives before delivery
    window.deliverPosted();
    const std::vector<std::string> expected = {"1025:1:", "1024:0:/tmp/a.qvl", "1025:3:"};
    EXPECT_EQ(recorder.messages, expected);
    EXPECT_EQ(window.dialogs(), (std::vector<std::string>{"question: Save?", "save: All(*.*),*.*,",
                                                          "open: All(*.*),*.*,", "notice: Done"}));
    EXPECT_EQ(window.unscriptedDialogs(), 0);
    window.showMessageBox("Again?", "Quorvatelle", MessageBoxKind::Question);
    EXPECT_EQ(window.unscriptedDialogs(), 1);
    EXPECT_EQ(window.paint().texts(), (std::vector<std::string>{"hi"}));
}

TEST(HeadlessWindow, KeepsClipboardCursorTimersAndExitStatus) {
    HeadlessWindow window;
    window.setClipboardText("x\ty");
    EXPECT_EQ(window.clipboardText(), "x\ty");
    std::int64_t before = window.cursorChanges();
    window.setCursor(CursorKind::Wait);
    EXPECT_EQ(window.cursor(), CursorKind::Wait);
    EXPECT_EQ(window.cursorChanges(), before + 1);
    window.startTimer(3, 500);
    window.startTimer(3, 500);
    EXPECT_TRUE(window.timerRunning(3));
    window.stopTimer(3);
    EXPECT_FALSE(window.timerRunning(3));
    EXPECT_FALSE(window.exitStatus().has_value());
    window.quit(0);
    EXPECT_EQ(window.exitStatus(), 0);
    EXPECT_TRUE(window.openWithSystem("docs/index.html"));
    window.refuseOpening();
    EXPECT_FALSE(window.openWithSystem("nowhere"));
    EXPECT_EQ(window.opened(), (std::vector<std::string>{"docs/index.html"}));
}

TEST(HeadlessWindow, OpensFurtherWindowsThatItForgetsWhenTheyGo) {
    HeadlessWindow window;
    {
        std::unique_ptr<Window> source = window.openWindow("View Source", {40, 40, 400, 270});
        ASSERT_EQ(window.openedWindows().size(), 1u);
        EXPECT_EQ(window.openedWindows()[0]->title(), "View Source");
        EXPECT_EQ(source->size(), (Size{400, 270}));
        EXPECT_TRUE(source->isOpen());
        source->close();
        EXPECT_FALSE(source->isOpen());
    }
    EXPECT_TRUE(window.openedWindows().empty());
}

// Each page a recording of its own, on the A4 page inside its margins; a
// painter that stops leaves no bytes.
TEST(HeadlessWindow, RecordsThePagesOfPdfsAndPrints) {
    struct Case {
        const char* what;
        bool print;
        int pages;
        bool stop;  // the painter stops after its pages
        std::string bytes;
    };
    const Case cases[] = {
        {"a PDF of two pages", false, 2, false, "page 1\ntext 0,20 one\npage 2\ntext 0,20 two\n"},
        {"a PDF without pages", false, 0, false, ""},
        {"a stopped PDF", false, 1, true, ""},
        {"a print", true, 2, false, ""},
    };
    for (const Case& c : cases) {
        HeadlessWindow window;
        const char* names[] = {"one", "two"};
        PagePainter paint = [&](PageSink& sink) {
            EXPECT_EQ(sink.pageSize(), HeadlessWindow::kPageSize);
            for (int page = 0; page < c.pages; ++page) {
                sink.beginPage().drawText({0, 20}, names[page]);
                sink.endPage();
            }
            return !c.stop;
        };
        std::string bytes = "old";
        std::string error = "old";
        if (c.print) {
            window.showPrintDialog("T", paint);
            EXPECT_EQ(window.dialogs(), std::vector<std::string>{"print: T"}) << c.what;
        } else {
            EXPECT_EQ(window.encodePdf("T", paint, bytes, error), !c.stop) << c.what;
            EXPECT_EQ(bytes, c.bytes) << c.what;
            EXPECT_EQ(error, "") << c.what;
        }
        ASSERT_EQ(window.documents().size(), 1u) << c.what;
        const HeadlessWindow::PagedDocument& document = window.documents()[0];
        EXPECT_EQ(document.printed, c.print) << c.what;
        EXPECT_EQ(document.title, "T") << c.what;
        EXPECT_EQ(document.stopped, c.stop) << c.what;
        ASSERT_EQ(document.pages.size(), static_cast<std::size_t>(c.pages)) << c.what;
        for (int page = 0; page < c.pages; ++page)
            EXPECT_EQ(document.pages[static_cast<std::size_t>(page)].texts(),
                      std::vector<std::string>{names[page]})
                << c.what;
    }
}

}  // namespace
}  // namespace qv::toolkit
