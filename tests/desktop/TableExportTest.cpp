// File > Export table...: the bytes written equal `qvl show --format
// csv|tsv` for every table of every example; which table the selection
// names; the format the file name picks; a refused write told and leaving
// no file behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/TableExport.h"
#include "core/FileWriter.h"
#include "tests/cli/ToolProcess.h"
#include "tests/desktop/PanelTestSupport.h"
#include "tests/support/FailingWrites.h"
#include "views/TablesView.h"

namespace qv {
namespace {

std::vector<std::string> examplePaths() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(QV_SOURCE_DIR "/examples"))
        if (entry.path().extension() == ".qvl") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Files beside each other in the scratch folder, other than `except`.
std::vector<std::string> filesIn(const test::ScratchFolder& folder, const std::string& except) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.file("")))
        if (entry.path().string() != except) names.push_back(entry.path().filename().string());
    return names;
}

TEST(TableExport, WritesWhatQvlShowPrintsForEveryTableOfEveryExample) {
    test::ScratchFolder folder;
    std::size_t compared = 0;
    for (const std::string& path : examplePaths()) {
        Pointer<Document> document = Document::read(str(test::fileBytes(path)));
        Kernel& kernel = *document->kernel();
        for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
            Pointer<TableResult> table = kernel.getTable(t);
            ASSERT_FALSE(table.isNull());
            std::string name = table->name()->toStdString();
            for (const char* format : {"csv", "tsv"}) {
                std::string target = folder.file(std::string("out.") + format);
                std::optional<std::string> failure =
                    exportTable(*table, target, delimitedFormatFor(target));
                ASSERT_FALSE(failure) << *failure;
                cli::test::ToolOutcome shown =
                    cli::test::runToolInChild({"show", path, name, "--format", format});
                ASSERT_EQ(shown.status, 0) << shown.err;
                EXPECT_EQ(test::fileBytes(target), shown.out)
                    << path << " " << name << " " << format;
                ++compared;
            }
        }
    }
    // Every example has tables: an empty folder would compare nothing.
    EXPECT_GE(compared, 2 * examplePaths().size());
}

TEST(TableExport, TheFileNamePicksTheFormat) {
    struct Case {
        const char* path;
        DelimitedFormat format;
    };
    const Case cases[] = {
        {"out.csv", DelimitedFormat::Csv},     {"out.tsv", DelimitedFormat::Tsv},
        {"OUT.TSV", DelimitedFormat::Tsv},     {"data.tab", DelimitedFormat::Tsv},
        {"out.txt", DelimitedFormat::Csv},     {"out", DelimitedFormat::Csv},
        {"a.tsv/out", DelimitedFormat::Csv},   {"dir/.tsv", DelimitedFormat::Tsv},
        {"out.tsv.csv", DelimitedFormat::Csv},
    };
    for (const Case& c : cases)
        EXPECT_EQ(delimitedFormatFor(c.path), c.format) << c.path;
}

// A write past the file size limit fails like a full disk: the message
// names the path and the reason, and neither the target nor a temporary
// file is left. In a child, whose limit binds only it.
TEST(TableExport, ARefusedWriteSaysWhyAndLeavesNoFile) {
    test::ScratchFolder folder;
    std::string target = folder.file("big.csv");
    std::string rows = "table T{\n    x:=range 1 to 500!\n}\n//--end";
    pid_t child = ::fork();
    if (child == 0) {
        if (!test::limitFileSize(64)) ::_exit(10);
        failWritesPastTheFileSizeLimit();
        Pointer<Document> document = Document::read(str(rows));
        std::optional<std::string> failure =
            exportTable(*document->kernel()->getTable(0), target, DelimitedFormat::Csv);
        ::_exit(failure == "can not write to " + target + ": File too large" ? 0 : 11);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(filesIn(folder, "").empty());
}

const char* const kDocument = R"(table Prices{
    item:=""!
    price:=0!
    <1>:={item:="pen",price:=2}
    <2>:={item:="ink, blue",price:=3.5}
}
table Other{
    n:=1!
}
//--end)";

const char* const kPricesCsv = ",item,price\n1,pen,2\n2,\"ink, blue\",3.5\nsum,,5.5\n";

struct ExportPanel : test::PanelFixture {
    ExportPanel() { startOn("model.qvl", kDocument); }
    void exportTo(std::optional<std::string> path) {
        if (path) window.scriptFile(std::move(path));
        choose(MenuCommand::ExportTable);
    }
    void openGrid(std::string_view table) {
        panel->openTableView(panel->kernel()->getTableByName(table), TableViewKind::Details);
        window.deliverPosted();
    }
};

TEST(TableExportMenu, ExportsTheSelectedTableOrSaysHowToSelectOne) {
    struct Case {
        const char* what;
        std::function<void(ExportPanel&)> select;
        std::string file;  // empty: nothing written
        std::vector<std::string> dialogs;
    };
    const std::string save = "save: " + std::string(TableExportFlow::kFilter);
    const std::string none = "notice: " + std::string(TableExportFlow::kNoTableNotice);
    const Case cases[] = {
        {"nothing selected", [](ExportPanel&) {}, "", {none}},
        {"a grid of Prices", [](ExportPanel& f) { f.openGrid("Prices"); }, kPricesCsv, {save}},
        {"a grid of Other, its header selected",
         [](ExportPanel& f) {
             f.openGrid("Other");
             f.key(toolkit::key::kHome);
         },
         ",n\nsum,\n",
         {save}},
        {"a heading view of Prices",
         [](ExportPanel& f) {
             f.panel->openTableView(f.panel->kernel()->getTableByName("Prices"),
                                    TableViewKind::Heading);
             f.window.deliverPosted();
         },
         kPricesCsv,
         {save}},
    };
    for (const Case& c : cases) {
        ExportPanel f;
        c.select(f);
        std::string target = f.folder.file("out.csv");
        std::size_t before = f.window.dialogs().size();
        f.exportTo(c.file.empty() ? std::nullopt : std::optional<std::string>(target));
        std::vector<std::string> shown(f.window.dialogs().begin() + static_cast<long>(before),
                                       f.window.dialogs().end());
        EXPECT_EQ(shown, c.dialogs) << c.what;
        EXPECT_EQ(std::filesystem::exists(target), !c.file.empty()) << c.what;
        if (!c.file.empty()) {
            EXPECT_EQ(test::fileBytes(target), c.file) << c.what;
        }
        EXPECT_EQ(f.window.unscriptedDialogs(), 0) << c.what;
    }
}

TEST(TableExportMenu, TsvByNameCancelAndFailureLeaveTheDocumentAlone) {
    struct Case {
        const char* what;
        std::optional<std::string> name;  // in the scratch folder; nullopt cancels
        std::string file;                 // expected bytes; empty: none written
        std::string notice;               // empty: none
    };
    const Case cases[] = {
        {"tsv", "out.tsv", "\titem\tprice\n1\tpen\t2\n2\tink, blue\t3.5\nsum\t\t5.5\n", ""},
        {"cancelled", std::nullopt, "", ""},
        {"a missing folder", "missing/out.csv", "",
         std::string(TableExportFlow::kFailureNotice) + "can not open "},
    };
    for (const Case& c : cases) {
        ExportPanel f;
        f.openGrid("Prices");
        std::string before = f.document();
        std::string state = f.state();
        std::optional<std::string> target;
        if (c.name) target = f.folder.file(*c.name);
        f.window.scriptFile(target);
        f.choose(MenuCommand::ExportTable);
        if (target) {
            EXPECT_EQ(std::filesystem::exists(*target), !c.file.empty()) << c.what;
        }
        if (!c.file.empty()) {
            EXPECT_EQ(test::fileBytes(*target), c.file) << c.what;
        }
        const std::string& last = f.window.dialogs().back();
        if (c.notice.empty()) {
            EXPECT_EQ(last.rfind("save: ", 0), 0u) << c.what;
        } else {
            EXPECT_EQ(last.rfind("notice: " + c.notice + *target, 0), 0u) << c.what << ": " << last;
        }
        EXPECT_EQ(f.document(), before) << c.what;
        EXPECT_EQ(f.state(), state) << c.what;
    }
}

}  // namespace
}  // namespace qv
