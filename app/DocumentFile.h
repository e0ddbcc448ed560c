// Reading and writing document files. A document text knows only line
// feeds; on disk every line feed is stored as CR LF. Writing is atomic: the
// text goes to a temporary file in the target's folder, is flushed to the
// disk and then renamed over the target, so a crash or a full disk never
// leaves a truncated document behind. The desktop save uses the same code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/String.h"

namespace qv {

// The largest document file read; longer texts would not fit the 32-bit
// positions of the tokenizer once written with their line ends.
inline constexpr std::int64_t kMaxDocumentFileBytes = std::int64_t{1} << 29;

// Every CR LF pair becomes a line feed; a lone CR stays.
std::string fromDiskLineEnds(std::string_view disk);
// Every line feed becomes CR LF.
std::string toDiskLineEnds(std::string_view text);

// The file's text with its line ends turned into line feeds. Throws
// "can not open " + path or "can not read " + path.
StringPointer readDocumentFile(const std::string& path);
// Replaces the file with the text, line feeds stored as CR LF. Throws
// "can not open " + path when no temporary file can be made beside it and
// "can not write to " + path when writing, flushing or the rename fails; in
// both cases the target is left as it was.
void writeDocumentFile(const std::string& path, std::string_view text);

}  // namespace qv
