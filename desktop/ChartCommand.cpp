#include "desktop/ChartCommand.h"

#include <new>
#include <optional>
#include <string>

#include "app/Document.h"
#include "charts/TableChartModel.h"
#include "desktop/ChartExport.h"
#include "language/SourceError.h"

namespace qv {

namespace {

// The document's kernel, or null after saying why it could not be read.
Pointer<Kernel> readKernel(const std::string& path, std::FILE* errors) {
    try {
        return Document::readFile(path)->kernel();
    } catch (const SourceError& error) {
        std::fprintf(errors, "quorvatelle: %s:%d:%d: %s\n", path.c_str(),
                     static_cast<int>(error.line()), static_cast<int>(error.column()),
                     error.message()->text());
    } catch (const StringPointer& message) {
        std::fprintf(errors, "quorvatelle: %s: %s\n", path.c_str(), message->text());
    } catch (const std::bad_alloc&) {
        std::fprintf(errors, "quorvatelle: %s: out of memory\n", path.c_str());
    }
    return {};
}

}  // namespace

int runChartCommand(const ChartRequest& request, const toolkit::ImageWriter& writePng,
                    std::FILE* errors) {
    Pointer<Kernel> kernel = readKernel(request.documentPath, errors);
    if (kernel.isNull()) return 1;
    Pointer<TableResult> table;
    try {
        table = kernel->getTableByName(request.table);
    } catch (const StringPointer& message) {
        std::fprintf(errors, "quorvatelle: %s: %s: %s\n", request.documentPath.c_str(),
                     request.table.c_str(), message->text());
        return 1;
    }
    std::optional<std::string> failure =
        exportChart(make<TableChartModel>(table), kChartCommandSize, request.outputPath, writePng);
    if (!failure) return 0;
    std::fprintf(errors, "quorvatelle: %s\n", failure->c_str());
    return 1;
}

}  // namespace qv
