// Reading and writing document files. A document text knows only line
// feeds; on disk every line feed is stored as CR LF. Writing is atomic: the
// text goes to a temporary file in the target's folder, is flushed to the
// disk and then renamed over the target, so a crash or a full disk never
// leaves a truncated document behind. The desktop save uses the same code.
// A file that can not be opened or read says why, in the system's words.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/FileWriter.h"
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
// "can not open " + path or "can not read " + path, each followed by ": "
// and the system's reason, and for a file longer
// than kMaxDocumentFileBytes the message of readDocumentStream.
StringPointer readDocumentFile(const std::string& path);
// The same for an open stream such as standard input, which `name` names in
// the messages. Reading stops as soon as the bound is passed, with "can not
// read " + name + ": the document passes the limit of N bytes".
StringPointer readDocumentStream(std::FILE* stream, const std::string& name);

// Replaces the file with the text, line feeds stored as CR LF, through the
// one file writer (core/FileWriter.h) and with its messages; whenever it
// fails the target is left as it was.
void writeDocumentFile(const std::string& path, std::string_view text);

}  // namespace qv
