// File > Print... and File > Export PDF... on the headless window, whose
// pages are recorded: which grid the selection prints, the pages of a long
// table (count, the header line and record numbers on every page, the page
// numbers, the partial last page), an empty and a wide table, the stop
// under the wait indicator, and a failed write that leaves no file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/TablePrint.h"
#include "tests/desktop/PanelTestSupport.h"

namespace qv {
namespace {

using Pages = std::vector<std::vector<std::string>>;

// A table of `records` records whose field x runs 1 ... records and y is
// its double.
std::string longTable(std::int32_t records) {
    return "table Long{\n    x:=range 1 to " + std::to_string(records) +
           "!\n    y:=x*2!\n}\n//--end";
}

// `fields` fields f1 ... fN, each with a long name so that a few fill a page.
std::string wideTable(std::int32_t fields) {
    std::string text = "table Wide{\n    n:=range 1 to 3!\n";
    for (std::int32_t f = 1; f <= fields; ++f)
        text += "    a_rather_long_field_name_" + std::to_string(f) + ":=n+" + std::to_string(f) +
                "!\n";
    return text + "}\n//--end";
}

struct PrintPanel : test::PanelFixture {
    explicit PrintPanel(const std::string& document) { startOn("model.qvl", document); }
    void openGrid(std::string_view table, TableViewKind kind = TableViewKind::Details) {
        panel->openTableView(panel->kernel()->getTableByName(table), kind);
        window.deliverPosted();
    }
    // The texts of every page of the last document printed or exported.
    Pages pages() const {
        Pages texts;
        if (window.documents().empty()) return texts;
        for (const toolkit::HeadlessGraphics& page : window.documents().back().pages)
            texts.push_back(page.texts());
        return texts;
    }
};

// The page count the print flow checks before the dialog is the headless
// page's.
static_assert(TablePrint::kA4Page == toolkit::HeadlessWindow::kPageSize);

bool has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The texts a page shows in its leading column (drawn at the padding from
// the left edge), in order, the clipped ones left out.
std::vector<std::string> leadingTexts(const toolkit::HeadlessGraphics& page) {
    const std::string start = "text " + std::to_string(TableEditable::kPadding) + ",";
    std::vector<std::string> texts;
    for (const std::string& call : page.calls()) {
        if (call.rfind(start, 0) != 0 || call.find("(clipped)") != std::string::npos) continue;
        std::size_t space = call.find(' ', start.size());
        texts.push_back(call.substr(space + 1));
    }
    return texts;
}

TEST(PrintMenu, TheSelectionDecidesWhatPrints) {
    struct Case {
        const char* what;
        std::function<void(PrintPanel&)> select;
        std::string dialog;
        std::string title;  // of the printed pages; empty: nothing printed
    };
    const std::string none = "notice: " + std::string(PrintFlow::kNoTableNotice);
    const Case cases[] = {
        {"nothing selected", [](PrintPanel&) {}, none, ""},
        {"a detailed view", [](PrintPanel& f) { f.openGrid("Long"); },
         "print: Long - detailed view", "Long - detailed view"},
        {"more pages than the preview holds",
         [](PrintPanel& f) {
             f.panel->loadDocument(str(longTable(PrintFlow::kMostPrintedPages * 46)));
             f.openGrid("Long");
         },
         "notice: " + PrintFlow::tooManyPagesNotice(PrintFlow::kMostPrintedPages + 1), ""},
        {"a heading view prints as it shows",
         [](PrintPanel& f) { f.openGrid("Long", TableViewKind::Heading); },
         "print: Long - heading view", "Long - heading view"},
    };
    for (const Case& c : cases) {
        PrintPanel f(longTable(5));
        c.select(f);
        std::string before = f.document();
        f.choose(MenuCommand::Print);
        EXPECT_EQ(f.lastDialog(), c.dialog) << c.what;
        if (c.title.empty()) {
            EXPECT_TRUE(f.window.documents().empty()) << c.what;
        } else {
            ASSERT_EQ(f.window.documents().size(), 1u) << c.what;
            EXPECT_TRUE(f.window.documents()[0].printed) << c.what;
            EXPECT_EQ(f.window.documents()[0].title, c.title) << c.what;
            EXPECT_FALSE(f.pages().empty()) << c.what;
        }
        EXPECT_EQ(f.document(), before) << c.what;
        EXPECT_EQ(f.window.unscriptedDialogs(), 0) << c.what;
    }
}

// Every record once, in order, a page after the other; every page with the
// title, the field names and its number.
TEST(PrintPages, LongTablesRepeatTheHeadersAndNumberThePages) {
    struct Case {
        std::int32_t records;
        std::size_t pages;
    };
    // The headless page leaves 955 pixels for the cells: below the header
    // line of 20, 46 lines of 20 a page. The table's lines are its formula
    // line (the base row), its records and its sum.
    const Case cases[] = {{0, 1}, {1, 1}, {44, 1}, {45, 2}, {90, 2}, {91, 3}, {500, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        // A table without records: a field that makes no rows.
        PrintPanel f(c.records == 0 ? "table Long{\n    x:=1!\n    y:=2!\n}\n//--end"
                                    : longTable(c.records));
        f.openGrid("Long");
        std::string target = f.folder.file("long.pdf");
        f.window.scriptFile(target);
        f.choose(MenuCommand::ExportPdf);
        ASSERT_TRUE(std::filesystem::exists(target));
        Pages pages = f.pages();
        ASSERT_EQ(pages.size(), c.pages);
        std::vector<std::int32_t> records;
        for (std::size_t page = 0; page < pages.size(); ++page) {
            SCOPED_TRACE(page + 1);
            const std::vector<std::string>& texts = pages[page];
            ASSERT_FALSE(texts.empty());
            EXPECT_EQ(texts.front(), "Long - detailed view");
            EXPECT_TRUE(has(texts, "x") && has(texts, "y"));
            // The leading column: the corner, then the record numbers.
            EXPECT_EQ(texts.back(), TablePrint::pageNumberText(static_cast<std::int64_t>(page) + 1,
                                                               static_cast<std::int64_t>(c.pages)));
            std::vector<std::string> lines = leadingTexts(f.window.documents().back().pages[page]);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.front(), "Long");
            // A full page: the corner and 46 lines, the first of them the
            // formula line, which has no number.
            if (page + 1 < pages.size()) {
                EXPECT_EQ(lines.size(), page == 0 ? 46u : 47u);
            }
            for (const std::string& line : lines)
                if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos)
                    records.push_back(std::stoi(line));
        }
        std::vector<std::int32_t> all(static_cast<std::size_t>(c.records));
        for (std::int32_t r = 0; r < c.records; ++r)
            all[static_cast<std::size_t>(r)] = r + 1;
        EXPECT_EQ(records, all);
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

TEST(PrintPages, WideTablesGoOnAcrossFurtherPages) {
    PrintPanel f(wideTable(20));
    f.openGrid("Wide");
    f.choose(MenuCommand::Print);
    Pages pages = f.pages();
    ASSERT_GT(pages.size(), 1u);
    std::vector<std::string> fields;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const std::vector<std::string>& texts = pages[page];
        SCOPED_TRACE(page + 1);
        EXPECT_EQ(texts.back(),
                  TablePrint::pageNumberText(static_cast<std::int64_t>(page) + 1,
                                             static_cast<std::int64_t>(pages.size())));
        // The record numbers on every page.
        EXPECT_TRUE(has(texts, "1") && has(texts, "2") && has(texts, "3"));
        for (const std::string& text : texts)
            if (text.rfind("a_rather_long_field_name_", 0) == 0) fields.push_back(text);
    }
    // Every field once, in order, over the pages.
    ASSERT_EQ(fields.size(), 20u);
    for (std::int32_t f = 1; f <= 20; ++f)
        EXPECT_EQ(fields[static_cast<std::size_t>(f - 1)],
                  "a_rather_long_field_name_" + std::to_string(f));
}

TEST(PrintPdf, StopCancelAndFailureWriteNothing) {
    struct Case {
        const char* what;
        std::optional<std::string> name;  // nullopt cancels the dialog
        bool escape;                      // pressed while the pages are made
        std::string notice;               // the start of the notice; empty: none
    };
    const std::string failed(PrintFlow::kFailureNotice);
    const Case cases[] = {
        {"cancelled", std::nullopt, false, ""},
        {"stopped", "out.pdf", true, failed + "stopped before the last page"},
        {"a missing folder", "missing/out.pdf", false, failed + "can not open "},
        {"another document read meanwhile", "out.pdf", false, ""},
    };
    for (const Case& c : cases) {
        PrintPanel f(longTable(300));
        f.openGrid("Long");
        std::string state = f.state();
        std::optional<std::string> target;
        if (c.name) target = f.folder.file(*c.name);
        f.window.scriptFile(target);
        std::int32_t pumps = 0;
        std::vector<std::string> told;
        if (c.escape) {
            f.window.onPendingEvents([&] {
                told.push_back(f.panel->waitIndicator().statusText());
                if (++pumps == 3) f.panel->key(toolkit::key::kEscape, {}, 0);
            });
        }
        if (std::string_view(c.what) == "another document read meanwhile") {
            // The save dialog's answer arrives after a reload of the file.
            f.panel->menuChosen(static_cast<std::int32_t>(MenuCommand::ExportPdf));
            f.panel->loadDocument(str(longTable(300)));
            f.window.deliverPosted();
            f.openGrid("Long");
            state = f.state();
        } else {
            f.choose(MenuCommand::ExportPdf);
        }
        f.window.onPendingEvents({});
        if (target) {
            EXPECT_FALSE(std::filesystem::exists(*target)) << c.what;
        }
        if (c.escape) {
            ASSERT_EQ(f.window.documents().size(), 1u) << c.what;
            EXPECT_TRUE(f.window.documents()[0].stopped) << c.what;
            EXPECT_EQ(f.window.documents()[0].pages.size(), 2u) << c.what;
            // The overlay tells the page being written (302 lines, 46 a page).
            EXPECT_EQ(told, (std::vector<std::string>{"Writing page 1 of 7", "Writing page 2 of 7",
                                                      "Writing page 3 of 7"}))
                << c.what;
        }
        const std::string& last = f.lastDialog();
        if (c.notice.empty()) {
            EXPECT_EQ(last.rfind("save: ", 0), 0u) << c.what << ": " << last;
        } else {
            EXPECT_EQ(last.rfind("notice: " + c.notice, 0), 0u) << c.what << ": " << last;
        }
        // The window takes input again, and the document is as it was.
        EXPECT_FALSE(f.panel->waitIndicator().isWaiting()) << c.what;
        EXPECT_EQ(f.state(), state) << c.what;
    }
}

}  // namespace
}  // namespace qv
