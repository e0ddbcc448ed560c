#include "desktop/ImportFlow.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <new>

#include "core/FileWriter.h"
#include "kernel/TableImport.h"
#include "model/ModelEditor.h"

namespace qv {

namespace {

std::vector<ImportTableInfo> tablesOf(Kernel& kernel) {
    std::vector<ImportTableInfo> tables;
    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
        Pointer<TableResult> table = kernel.getTable(t);
        if (table.isNull()) continue;
        ImportTableInfo info{table->name()->toStdString(), {}};
        for (std::int32_t field = 0; field < table->fieldCount(); ++field)
            info.fields.push_back(table->fieldName(field)->toStdString());
        tables.push_back(std::move(info));
    }
    return tables;
}

std::string progressText(std::string_view doing, std::int64_t done, std::int64_t total) {
    std::int64_t percent = total > 0 ? std::min<std::int64_t>(100, done * 100 / total) : 0;
    return std::string(doing) + std::to_string(percent) + "% (Escape or Cancel stops it)";
}

}  // namespace

ImportFlow::ImportFlow(toolkit::Window& window, EditableSupport& support, ViewHost& host,
                       std::function<void()> readingEnded, std::function<void()> imported)
    : m_window(window),
      m_support(support),
      m_host(host),
      m_readingEnded(std::move(readingEnded)),
      m_importDone(std::move(imported)) {}

void ImportFlow::start() {
    if (isReading()) return;
    toolkit::FileDialogRequest request;
    request.filter = kFilter;
    request.replyMessage = kFileChosenMessage;
    m_awaitingFile = true;
    m_window.showFileDialog(request);
}

bool ImportFlow::handleMessage(const toolkit::PostedMessage& message) {
    if (message.id != kFileChosenMessage) return false;
    if (!m_awaitingFile) return true;
    m_awaitingFile = false;
    m_dialog.reset();
    m_dialog =
        std::make_unique<ImportDialog>(m_window, message.text, tablesOf(*m_host.viewKernel()),
                                       [this](ImportDialog& dialog) { accept(dialog); });
    return true;
}

// The file read to its end with the dialog's options; the dialog's message
// line shows how far, and its Cancel (or Escape) stops the reading. The
// caller has put the dialog in its reading state.
std::optional<CsvTable> ImportFlow::readWhole(ImportDialog& dialog) {
    CsvOptions options = dialog.options();
    std::error_code error;
    auto total = static_cast<std::int64_t>(std::filesystem::file_size(dialog.path(), error));
    if (error) total = 0;
    std::int64_t shownStep = -1;
    options.progress = [&](std::int64_t bytes) {
        std::int64_t step = total > 0 ? bytes * kProgressSteps / total : 0;
        if (step != shownStep) {
            shownStep = step;
            dialog.setMessage(progressText("Reading... ", bytes, total));
        }
        m_window.processPendingEvents();
        return !dialog.stopAsked();
    };
    std::ifstream input(dialog.path(), std::ios::binary);
    if (!input) {
        dialog.setMessage("can not open " + dialog.path() + ": " + systemReason(errno));
        return std::nullopt;
    }
    CsvResult read;
    try {
        read = readCsv(input, options);
    } catch (const std::bad_alloc&) {
        read.error = CsvError{0, 0, "out of memory"};
    }
    if (!read.ok()) {
        dialog.setMessage(describeCsvError(read.error));
        return std::nullopt;
    }
    return std::move(read.table);
}

void ImportFlow::accept(ImportDialog& dialog) {
    if (dialog.tableName().empty()) return dialog.setMessage("Name the table to import into.");
    // From the reading to the model's change the window takes no input; a
    // stop is taken while the file is read and while its rows are made.
    dialog.setReading(true);
    std::optional<std::string> report = importInto(dialog);
    dialog.setReading(false);
    if (m_readingEnded) m_readingEnded();
    if (!report) return;
    m_lastReport = *report;
    dialog.window().close();
    // The import is the newest step; the grid it opens joins it, so one
    // Undo takes both back.
    CommandManager& commands = m_support.commands();
    const std::int32_t withImport = commands.undoCount();
    m_host.openTableView(m_host.viewKernel()->getTable(m_imported), TableViewKind::Details);
    commands.joinNewest(commands.undoCount() - withImport + 1);
    if (m_importDone) m_importDone();
    // The grid shows what came in; the counts need no answer.
    m_window.showStatusMessage(*report);
}

std::optional<std::string> ImportFlow::importInto(ImportDialog& dialog) {
    std::optional<CsvTable> data = readWhole(dialog);
    if (!data) return std::nullopt;
    Pointer<Kernel> kernel = m_host.viewKernel();
    ImportOptions options{dialog.tableName(), dialog.key()};
    std::int64_t cells = data->rowCount() * data->columnCount();
    std::int64_t shownStep = -1;
    auto progress = [&](std::int64_t done) {
        std::int64_t step = cells > 0 ? done * kProgressSteps / cells : 0;
        if (step != shownStep) {
            shownStep = step;
            dialog.setMessage(progressText("Adding the rows... ", done, cells));
        }
        m_window.processPendingEvents();
        return !dialog.stopAsked();
    };
    ImportPlan plan(*kernel->program(), *data, options, progress);
    data.reset();
    if (plan.failed()) {
        dialog.setMessage(describeCsvError(plan.error()));
        return std::nullopt;
    }
    std::string report = describeImport(options, plan.counts());
    m_imported = make<ModelEditor>(kernel->program(), &m_support.commands())->import(plan);
    if (m_imported < 0) {
        dialog.setMessage("Nothing was imported.");
        return std::nullopt;
    }
    return report;
}

}  // namespace qv
