// File > Import...: the preview's options read the file again as chosen;
// OK imports as one undoable model step and opens a grid; Cancel, a bad
// file and a stopped reading change nothing; a re-import by key keeps the
// table's formulas and the tables that read it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/TableExport.h"
#include "desktop/ImportFlow.h"
#include "tests/desktop/PanelTestSupport.h"

namespace qv {
namespace {

using Control = ImportDialog::Control;

const char* const kDocument = R"(table Sales{
    id:=0!
    amount:=0!
    double:=amount*2!
    <1>:={id:=1,amount:=10}
    <2>:={id:=2,amount:=20}
    <3>:={id:=3,amount:=30}
}
table Report{
    first:=Sales[1].double!
    <1>:={}
}
table Large extends Sales{
    large:=amount>15!
}
//--end)";

// The table's visible cells as CSV, as File > Export table writes them.
std::string tableCsv(Kernel& kernel, std::string_view name) {
    Pointer<TableResult> table = kernel.getTableByName(name);
    if (table.isNull()) return "no table " + std::string(name);
    std::string text;
    {
        BufferedOutput out([&](std::string_view piece) {
            text += piece;
            return true;
        });
        writeDelimited(out, renderTable(*table, false), DelimitedFormat::Csv);
    }
    return text;
}

struct ImportPanel : test::PanelFixture {
    explicit ImportPanel(std::string_view document = kDocument) { startOn("model.qvl", document); }
    // File > Import... with the file chosen in the open dialog.
    ImportDialog& preview(std::string_view bytes, std::string_view name = "data.csv") {
        std::string path = folder.file(name);
        test::putFileBytes(path, bytes);
        window.scriptFile(path);
        choose(MenuCommand::Import);
        ImportDialog* dialog = panel->imports().dialog();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    void click(ImportDialog& dialog, Control control) {
        toolkit::Rect area = ImportDialog::controlRect(control);
        dialog.mouse(toolkit::MouseKind::Press, {area.x + 4, area.y + 4}, 0);
        window.deliverPosted();
    }
    std::string lastDialog() const {
        return window.dialogs().empty() ? std::string() : window.dialogs().back();
    }
};

std::string joined(const std::vector<std::string>& texts) {
    std::string line;
    for (const std::string& text : texts)
        line += (line.empty() ? "" : "|") + text;
    return line;
}

// The preview as one line: delimiter, field names, types, the first row.
std::string previewLine(const ImportDialog& dialog) {
    char shown = dialog.options().delimiter;
    if (!dialog.preview())
        return std::string("fault ") + (shown == '\t' ? 'T' : shown) + ": " + dialog.message();
    const CsvTable& table = *dialog.preview();
    std::string line = std::string(1, table.delimiter() == '\t' ? 'T' : table.delimiter()) + " " +
                       joined(table.fieldNames()) + " ";
    for (std::int32_t column = 0; column < table.columnCount(); ++column) {
        const char* names[] = {"empty", "number", "Boolean", "text"};
        line +=
            std::string(column > 0 ? "|" : "") + names[static_cast<int>(table.columnType(column))];
    }
    line += " rows=" + std::to_string(table.rowCount());
    if (table.rowCount() > 0) {
        line += " first=";
        for (std::int32_t column = 0; column < table.columnCount(); ++column)
            line += std::string(column > 0 ? "|" : "") + std::string(table.cell(0, column));
    }
    return line;
}

TEST(ImportPreview, OptionsReadTheFileAgainAsChosen) {
    // Semicolons and decimal commas, as a European bank writes them, with
    // a Latin-1 "é".
    const std::string data = "name;amount;paid\ncaf\xe9;1,5;true\nbob;2;false\n";
    struct Case {
        const char* what;
        std::vector<Control> clicks;
        std::string preview;
    };
    const Case cases[] = {
        {"guessed", {}, "fault ;: line 2, column 4: invalid UTF-8 (is the data Latin-1?)"},
        {"Latin-1",
         {Control::Latin1},
         "; name|amount|paid text|text|Boolean rows=2 first=café|1,5|true"},
        {"decimal comma",
         {Control::Latin1, Control::DecimalComma},
         "; name|amount|paid text|number|Boolean rows=2 first=café|1,5|true"},
        {"no header row",
         {Control::Latin1, Control::DecimalComma, Control::Header},
         "; column 1|column 2|column 3 text|text|text rows=3 first=name|amount|paid"},
        {"comma",
         {Control::Latin1, Control::Comma},
         "fault ,: line 2, column 8: expected 1 cells, found more"},
        {"tab",
         {Control::Latin1, Control::Tab},
         "T name;amount;paid text rows=2 first=café;1,5;true"},
        {"back to UTF-8",
         {Control::Latin1, Control::Utf8},
         "fault ;: line 2, column 4: invalid UTF-8 (is the data Latin-1?)"},
    };
    for (const Case& c : cases) {
        ImportPanel f;
        ImportDialog& dialog = f.preview(data);
        for (Control control : c.clicks)
            f.click(dialog, control);
        EXPECT_EQ(previewLine(dialog), c.preview) << c.what;
        EXPECT_TRUE(dialog.isOpen()) << c.what;
    }
}

TEST(ImportPreview, TheKeyChoicesAreTheFieldsTheTableAndTheFileShare) {
    struct Case {
        const char* table;
        std::string choices;
        std::string keyAfterClick;
    };
    const Case cases[] = {
        {"Sales", "(none)|id|amount", "id"},
        {"Report", "(none)", ""},
        {"NewTable", "(none)", ""},
    };
    for (const Case& c : cases) {
        ImportPanel f;
        ImportDialog& dialog = f.preview("id,amount,note\n1,5,x\n");
        dialog.setTableName(c.table);
        EXPECT_EQ(joined(dialog.keyChoices()), c.choices) << c.table;
        f.click(dialog, Control::Key);
        EXPECT_EQ(dialog.key(), c.keyAfterClick) << c.table;
        EXPECT_EQ(dialog.existingTable() != nullptr, std::string(c.table) != "NewTable");
    }
}

TEST(ImportPreview, TheTableNameTakesTyping) {
    ImportPanel f;
    ImportDialog& dialog = f.preview("a\n1\n", "prices.csv");
    EXPECT_EQ(dialog.tableName(), "prices");
    // Tab from OK, past Cancel, round to the name field.
    for (int i = 0; i < 9; ++i)
        dialog.key(toolkit::key::kTab, {}, 0);
    ASSERT_EQ(dialog.focused(), Control::TableName);
    dialog.key(toolkit::key::kBackspace, {}, 0);
    dialog.key(toolkit::key::kCharacter, "e", 0);
    dialog.key(toolkit::key::kCharacter, " ", 0);
    dialog.key(toolkit::key::kCharacter, "2", 0);
    EXPECT_EQ(dialog.tableName(), "pricee 2");
    // Space typed into the name toggled nothing.
    EXPECT_TRUE(dialog.options().header);
}

// A file of thousands of columns and a cell of a megabyte: the preview
// draws only the columns that fit and the start of each text.
TEST(ImportPreview, AWideFileWithALongCellDrawsOnlyWhatFits) {
    std::string header;
    std::string row;
    for (int column = 1; column <= 3000; ++column) {
        header += (column > 1 ? "," : "") + std::string("c") + std::to_string(column);
        row += (column > 1 ? "," : "") + (column == 1 ? std::string(1 << 20, 'x') : "1");
    }
    ImportPanel f;
    ImportDialog& dialog = f.preview(header + "\n" + row + "\n");
    ASSERT_TRUE(dialog.preview().has_value()) << dialog.message();
    EXPECT_EQ(dialog.preview()->columnCount(), 3000);
    auto& window = static_cast<toolkit::HeadlessWindow&>(dialog.window());
    std::vector<std::string> texts = window.paint().texts();
    std::size_t longest = 0;
    for (const std::string& text : texts)
        longest = std::max(longest, text.size());
    EXPECT_LT(texts.size(), 200u);
    EXPECT_LE(longest, 200u);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "c2"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "c3000"), texts.end());
}

// What OK does, as the document, the history and what the user is told
// (in the message line).
TEST(ImportOk, AddsOrRefreshesTheTableAsOneStepAndOpensAGrid) {
    struct Case {
        const char* what;
        std::string data;
        std::string table;
        bool byKey;
        std::string report;
        std::string sales;  // the Sales table as CSV afterwards
        std::string first;  // the Report table as CSV afterwards
    };
    const Case cases[] = {
        {"a new table", "x,y\n1,true\n2,false\n", "Fresh", false,
         "imported Fresh: 0 updated, 2 added, 0 removed",
         ",id,amount,double\n1,1,10,20\n2,2,20,40\n3,3,30,60\nsum,6,60,120\n",
         ",first\n1,20\nsum,20\n"},
        {"by key", "id,amount\n3,300\n1,100\n4,400\n", "Sales", true,
         "refreshed Sales: 2 updated, 1 added, 1 removed",
         ",id,amount,double\n1,3,300,600\n2,1,100,200\n3,4,400,800\nsum,8,800,1600\n",
         ",first\n1,600\nsum,600\n"},
        {"without a key", "id,amount\n7,5\n", "Sales", false,
         "refreshed Sales: 0 updated, 1 added, 3 removed",
         ",id,amount,double\n1,7,5,10\nsum,7,5,10\n", ",first\n1,10\nsum,10\n"},
    };
    for (const Case& c : cases) {
        ImportPanel f;
        std::string before = f.document();
        std::int32_t undoBefore = f.commands().undoCount();
        ImportDialog& dialog = f.preview(c.data);
        dialog.setTableName(c.table);
        if (c.byKey) f.click(dialog, Control::Key);
        std::size_t dialogsBefore = f.window.dialogs().size();
        f.click(dialog, Control::Ok);
        EXPECT_FALSE(dialog.isOpen()) << c.what << ": " << dialog.message();
        // The report is in the message line; no box waits for an answer.
        EXPECT_EQ(f.window.statusMessage(), c.report) << c.what;
        EXPECT_EQ(f.window.dialogs().size(), dialogsBefore) << c.what << ": " << f.lastDialog();
        Kernel& kernel = *f.panel->kernel();
        EXPECT_EQ(tableCsv(kernel, "Sales"), c.sales) << c.what;
        EXPECT_EQ(tableCsv(kernel, "Report"), c.first) << c.what;
        // The formula field and the reading table keep their formulas.
        std::string after = f.document();
        EXPECT_NE(after.find("double:=amount*2!"), std::string::npos) << c.what;
        EXPECT_NE(after.find("first:=Sales[1].double!"), std::string::npos) << c.what;
        EXPECT_NE(after.find("table Large extends Sales{\n    large:=amount>15!"),
                  std::string::npos)
            << c.what;
        // The import and the grid opened, one step: the grid shows the table.
        EXPECT_EQ(f.commands().undoCount(), undoBefore + 1) << c.what;
        EXPECT_NE(f.layoutText().find(c.table), std::string::npos) << c.what;
        // One Undo: the document is as it was, byte for byte; Redo brings
        // the table and its grid back.
        f.key(toolkit::key::kUndo);
        EXPECT_EQ(f.document(), before) << c.what;
        f.key(toolkit::key::kRedo);
        EXPECT_EQ(f.document(), after) << c.what;
        f.key(toolkit::key::kUndo);
        EXPECT_FALSE(f.panel->flow().isModified()) << c.what;
        EXPECT_EQ(f.window.unscriptedDialogs(), 0) << c.what;
    }
}

TEST(ImportOk, CancelABadFileAndAStopChangeNothing) {
    std::string big = "a,b\n";
    for (int i = 0; i < 400'000; ++i)
        big += "1,2\n";
    struct Case {
        const char* what;
        std::string data;
        std::function<void(ImportPanel&, ImportDialog&)> act;
        std::string message;  // the dialog's, after
        bool open;
    };
    const Case cases[] = {
        {"cancel", "a\n1\n", [](ImportPanel& f, ImportDialog& d) { f.click(d, Control::Cancel); },
         "", false},
        {"escape", "a\n1\n",
         [](ImportPanel&, ImportDialog& d) { d.key(toolkit::key::kEscape, {}, 0); }, "", false},
        {"an unterminated quote", "a,b\n1,\"2\n",
         [](ImportPanel& f, ImportDialog& d) { f.click(d, Control::Ok); },
         "line 2, column 3: unterminated quoted cell", true},
        {"no table name", "a\n1\n",
         [](ImportPanel& f, ImportDialog& d) {
             d.setTableName("");
             f.click(d, Control::Ok);
         },
         "Name the table to import into.", true},
        {"stopped while reading", big,
         [](ImportPanel& f, ImportDialog& d) {
             f.window.onPendingEvents([&d] { d.key(toolkit::key::kEscape, {}, 0); });
             f.click(d, Control::Ok);
         },
         "import stopped", true},
        {"stopped while its rows are made", big,
         [](ImportPanel& f, ImportDialog& d) {
             f.window.onPendingEvents([&d] {
                 if (d.message().rfind("Adding", 0) == 0) d.key(toolkit::key::kEscape, {}, 0);
             });
             f.click(d, Control::Ok);
         },
         "import stopped", true},
    };
    for (const Case& c : cases) {
        ImportPanel f;
        std::string before = f.document();
        std::string state = f.state();
        ImportDialog& dialog = f.preview(c.data);
        c.act(f, dialog);
        EXPECT_EQ(dialog.isOpen(), c.open) << c.what;
        EXPECT_EQ(dialog.message(), c.message) << c.what;
        EXPECT_FALSE(dialog.isReading()) << c.what;
        EXPECT_EQ(f.document(), before) << c.what;
        EXPECT_EQ(f.state(), state) << c.what;
        // Nothing was imported, so nothing is reported.
        EXPECT_EQ(f.window.statusMessage(), "") << c.what;
    }
}

// While the file is read the main window takes no command; the reading
// shows its progress in the message line.
TEST(ImportOk, WhileReadingTheWindowTakesNoCommandAndShowsProgress) {
    std::string big = "a,b\n";
    for (int i = 0; i < 600'000; ++i)
        big += "1,2\n";
    ImportPanel f;
    ImportDialog& dialog = f.preview(big);
    std::size_t dialogsBefore = f.window.dialogs().size();
    std::vector<std::string> progress;
    f.window.onPendingEvents([&] {
        progress.push_back(dialog.message());
        f.panel->menuChosen(static_cast<std::int32_t>(MenuCommand::ExportTable));
        f.panel->menuChosen(static_cast<std::int32_t>(MenuCommand::Import));
        f.panel->key(toolkit::key::kUndo, {}, 0);
    });
    f.click(dialog, Control::Ok);
    f.window.onPendingEvents({});
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front().rfind("Reading... ", 0), 0u) << progress.front();
    EXPECT_EQ(progress.back().rfind("Adding the rows... ", 0), 0u) << progress.back();
    // Only the report, in the message line: no export notice, no second
    // open dialog.
    EXPECT_EQ(f.window.dialogs().size(), dialogsBefore) << f.lastDialog();
    EXPECT_EQ(f.window.statusMessage(), "imported data: 0 updated, 600000 added, 0 removed");
    EXPECT_EQ(f.commands().undoCount(), 1);
}

// A fault past the rows the preview reads shows only on OK, with its place.
TEST(ImportOk, AFaultPastThePreviewIsToldWithItsPlace) {
    std::string data = "a,b\n";
    for (int i = 0; i < 30; ++i)
        data += "1,2\n";
    data += "3\n";
    ImportPanel f;
    std::string before = f.document();
    ImportDialog& dialog = f.preview(data);
    EXPECT_TRUE(dialog.message().empty()) << dialog.message();
    f.click(dialog, Control::Ok);
    EXPECT_EQ(dialog.message(), "line 32, column 2: expected 2 cells, found 1");
    EXPECT_TRUE(dialog.isOpen());
    EXPECT_EQ(f.document(), before);
    EXPECT_EQ(f.window.statusMessage(), "");
}

}  // namespace
}  // namespace qv
