// `quorvatelle --screenshot OUT.png FILE` paints the window only for a
// document that reads: a script must tell a broken document from a good
// one, so the window's own fallback (a new document) is no screenshot.
#pragma once

#include <optional>
#include <string>

namespace qv {

// Why the document at `path` can not be read, as "FILE:LINE:COL: MESSAGE"
// or "FILE: MESSAGE"; nothing when it reads, or when no file is named
// (a new document).
std::optional<std::string> whyScreenshotDocumentFails(const std::string& path);

}  // namespace qv
