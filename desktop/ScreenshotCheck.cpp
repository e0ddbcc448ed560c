#include "desktop/ScreenshotCheck.h"

#include "app/Document.h"
#include "app/LoadFailure.h"

namespace qv {

std::optional<std::string> whyScreenshotDocumentFails(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::string why;
    Pointer<Document> document = readDocumentOrSay(
        path, [&path] { return Document::readFile(path); }, why);
    if (!document.isNull()) return std::nullopt;
    return why;
}

}  // namespace qv
