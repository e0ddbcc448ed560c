#include "desktop/TableExportFlow.h"

#include "app/TableExport.h"
#include "desktop/DocumentTitle.h"

namespace qv {

void TableExportFlow::start(const Pointer<Kernel>& kernel, std::optional<std::int32_t> table) {
    m_kernel = {};
    if (!table || *table < 0 || *table >= kernel->getTableCount()) {
        m_window.showMessageBox(kNoTableNotice, kProductName, toolkit::MessageBoxKind::Notice);
        return;
    }
    m_kernel = kernel;
    m_table = *table;
    m_changeCount = kernel->getChangeCount();
    toolkit::FileDialogRequest request;
    request.save = true;
    request.filter = kFilter;
    request.defaultExtension = kDefaultExtension;
    request.replyMessage = kFileChosenMessage;
    m_window.showFileDialog(request);
}

bool TableExportFlow::handleMessage(const toolkit::PostedMessage& message) {
    if (message.id != kFileChosenMessage) return false;
    Pointer<Kernel> kernel = std::move(m_kernel);
    m_kernel = {};
    // The dialog is modal, so the program cannot have changed under it; a
    // stale reply (another document since) writes nothing.
    if (kernel.isNull() || kernel->getChangeCount() != m_changeCount ||
        m_table >= kernel->getTableCount())
        return true;
    Pointer<TableResult> table = kernel->getTable(m_table);
    std::optional<std::string> failure =
        table.isNull() ? std::optional<std::string>("the table has no results")
                       : exportTable(*table, message.text, delimitedFormatFor(message.text));
    if (failure)
        m_window.showMessageBox(std::string(kFailureNotice) + *failure, kProductName,
                                toolkit::MessageBoxKind::Notice);
    return true;
}

}  // namespace qv
