#include "desktop/ChartCommand.h"

#include <optional>
#include <string>

#include "app/LoadFailure.h"
#include "charts/TableChartModel.h"
#include "desktop/ChartExport.h"

namespace qv {

int runChartCommand(const ChartRequest& request, const toolkit::ImageEncoder& encodePng,
                    std::FILE* errors) {
    const std::string& path = request.documentPath;
    std::string why;
    Pointer<Document> document = readDocumentOrSay(
        path, [&path] { return Document::readFile(path); }, why);
    Pointer<TableResult> table;
    if (!document.isNull()) table = findTableOrSay(*document->kernel(), path, request.table, why);
    if (table.isNull()) {
        std::fprintf(errors, "quorvatelle: %s\n", why.c_str());
        return 1;
    }
    std::optional<std::string> failure =
        exportChart(make<TableChartModel>(table), kChartFileSize, request.outputPath, encodePng);
    if (!failure) return 0;
    std::fprintf(errors, "quorvatelle: %s\n", failure->c_str());
    return 1;
}

}  // namespace qv
