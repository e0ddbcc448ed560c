// File > Export PDF... in a real Qt window on the offscreen platform, read
// back with poppler's tools: the page count pdfinfo reports equals the pages
// the footers number, every page carries the title and the field names, and
// every record is printed once, in order. File > Print... opens the preview
// with the same pages. With QV_PRINT_PAGES set to a folder, the PDF, the
// File menu and the preview are kept there.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "desktop/MainPanelListener.h"
#include "tests/qt/QtPanelSupport.h"

namespace qv::toolkit {
namespace {

class SaveTo final : public DialogScript {
  public:
    explicit SaveTo(std::string path) : m_path(std::move(path)) {}
    Answer answerMessageBox(std::string_view text, MessageBoxKind) override {
        told.emplace_back(text);
        return Answer::Ok;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        if (!request.save) return std::nullopt;
        return m_path;
    }
    std::vector<std::string> told;

  private:
    std::string m_path;
};

// What a poppler tool prints for the file; nullopt when it is missing or fails.
std::optional<std::string> run(const QString& tool, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return std::nullopt;
    return process.readAllStandardOutput().toStdString();
}

constexpr int kRecords = 150;

void keepShot(QWidget* widget, const char* name) {
    const char* folder = std::getenv("QV_PRINT_PAGES");
    if (folder == nullptr) return;
    widget->grab().save(QString::fromUtf8(folder) + "/" + name);
}

// The File menu, opened, kept as a picture.
void keepFileMenu(QtWindow& window) {
    for (QAction* bar : window.frame()->menuBar()->actions()) {
        if (bar->text() != QStringLiteral("&File")) continue;
        bar->menu()->popup(window.frame()->mapToGlobal(QPoint(0, 20)));
        settle();
        keepShot(bar->menu(), "file-menu.png");
        bar->menu()->close();
        settle();
    }
}

TEST(PrintWindow, ExportPdfWritesEveryRecordWithTheHeadersOnEveryPage) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string model = folder.filePath(QStringLiteral("model.qvl")).toStdString();
    std::string pdf = folder.filePath(QStringLiteral("stock.pdf")).toStdString();
    std::ofstream(model, std::ios::binary) << "table Stock{\n    quantity:=range 1 to " << kRecords
                                           << "!\n    price:=-quantity!\n}\n//--end\n";
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, model);
    ASSERT_TRUE(showActive(*window));
    SaveTo script(pdf);
    setDialogScript(&script);
    ASSERT_FALSE(openGrid(listener->panel(), "Stock").isNull());
    ASSERT_TRUE(chooseMenuItem(*window, QStringLiteral("&File"), QStringLiteral("Export P&DF...")));
    setDialogScript(nullptr);
    EXPECT_TRUE(script.told.empty()) << script.told.front();
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    if (const char* keep = std::getenv("QV_PRINT_PAGES"))
        QFile::copy(QString::fromStdString(pdf), QString::fromUtf8(keep) + "/stock.pdf");

    std::optional<std::string> info = run(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    std::optional<std::string> text =
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    if (!info || !text) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) are not installed";
    std::smatch match;
    ASSERT_TRUE(std::regex_search(*info, match, std::regex(R"(Pages:\s+(\d+))"))) << *info;
    int pages = std::stoi(match[1]);
    EXPECT_GT(pages, 1);
    EXPECT_TRUE(std::regex_search(*info, std::regex(R"(Title:\s+Stock - detailed view\n)")))
        << *info;

    // pdftotext ends every page with a form feed.
    std::vector<std::string> pageTexts;
    for (std::size_t start = 0, end; (end = text->find('\f', start)) != std::string::npos;
         start = end + 1)
        pageTexts.push_back(text->substr(start, end - start));
    ASSERT_EQ(static_cast<int>(pageTexts.size()), pages);
    int next = 1;
    const std::regex line(R"(^\s*(\d+)\s+(\d+)\s+-(\d+)\s*$)");
    for (int page = 0; page < pages; ++page) {
        SCOPED_TRACE(page + 1);
        const std::string& shown = pageTexts[static_cast<std::size_t>(page)];
        EXPECT_NE(shown.find("Stock"), std::string::npos);
        EXPECT_NE(shown.find("quantity"), std::string::npos);
        EXPECT_NE(shown.find("price"), std::string::npos);
        EXPECT_NE(shown.find("Page " + std::to_string(page + 1) + " of " + std::to_string(pages)),
                  std::string::npos)
            << shown;
        std::istringstream lines(shown);
        for (std::string row; std::getline(lines, row);) {
            if (!std::regex_match(row, match, line)) continue;
            EXPECT_EQ(std::stoi(match[1]), next) << row;
            EXPECT_EQ(std::stoi(match[2]), next) << row;
            EXPECT_EQ(std::stoi(match[3]), next) << row;
            ++next;
        }
    }
    EXPECT_EQ(next, kRecords + 1);

    // The preview of the same pages.
    keepFileMenu(*window);
    ASSERT_TRUE(chooseMenuItem(*window, QStringLiteral("&File"), QStringLiteral("&Print...")));
    QPrintPreviewDialog* preview = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<QPrintPreviewDialog*>(widget); found && found->isVisible())
            preview = found;
    ASSERT_NE(preview, nullptr);
    auto* pagesShown = preview->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pagesShown, nullptr);
    EXPECT_EQ(pagesShown->pageCount(), pages);
    keepShot(preview, "preview.png");
    preview->close();
    settle();
}

// Fields that do not fit across go on further pages, each page with the
// record numbers; every field's name once, in order, over the pages.
TEST(PrintWindow, AWideTablePrintsItsFieldsAcrossFurtherPages) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string model = folder.filePath(QStringLiteral("wide.qvl")).toStdString();
    std::string pdf = folder.filePath(QStringLiteral("wide.pdf")).toStdString();
    constexpr int kFields = 16;
    {
        std::ofstream out(model, std::ios::binary);
        out << "table Wide{\n    n:=range 1 to 3!\n";
        for (int f = 1; f <= kFields; ++f)
            out << "    measurement_" << f << ":=n*" << f << "!\n";
        out << "}\n//--end\n";
    }
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, model);
    ASSERT_TRUE(showActive(*window));
    SaveTo script(pdf);
    setDialogScript(&script);
    ASSERT_FALSE(openGrid(listener->panel(), "Wide").isNull());
    ASSERT_TRUE(chooseMenuItem(*window, QStringLiteral("&File"), QStringLiteral("Export P&DF...")));
    setDialogScript(nullptr);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    if (const char* keep = std::getenv("QV_PRINT_PAGES"))
        QFile::copy(QString::fromStdString(pdf), QString::fromUtf8(keep) + "/wide.pdf");
    std::optional<std::string> text =
        run(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
    if (!text) GTEST_SKIP() << "poppler-utils (pdftotext) are not installed";
    std::vector<std::string> pageTexts;
    for (std::size_t start = 0, end; (end = text->find('\f', start)) != std::string::npos;
         start = end + 1)
        pageTexts.push_back(text->substr(start, end - start));
    ASSERT_GT(pageTexts.size(), 1u);
    int next = 1;
    const std::regex name(R"(measurement_(\d+))");
    for (std::size_t page = 0; page < pageTexts.size(); ++page) {
        SCOPED_TRACE(page + 1);
        const std::string& shown = pageTexts[page];
        EXPECT_NE(shown.find("Page " + std::to_string(page + 1) + " of " +
                             std::to_string(pageTexts.size())),
                  std::string::npos);
        for (const char* record : {"\n1\n", "\n2\n", "\n3\n"})
            EXPECT_NE(shown.find(record), std::string::npos) << record << shown;
        for (std::sregex_iterator m(shown.begin(), shown.end(), name), end; m != end; ++m)
            EXPECT_EQ(std::stoi((*m)[1]), next++);
    }
    EXPECT_EQ(next, kFields + 1);
}

}  // namespace
}  // namespace qv::toolkit
