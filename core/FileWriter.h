// The one way the programs write a file: documents, charts, pictures and
// any later export. The content goes to a temporary file beside the target,
// is flushed to the disk and renamed over the target, so the target holds
// either the whole new content or, after any failure, exactly what it held
// before; no temporary file is left behind. A folder, a device, a pipe or a
// socket in the target's place (or a symbolic link to one) is refused before
// anything is opened: replacing one is never what was meant, and opening a
// pipe would wait for a reader.
//
// The messages name the path the caller gave and the system's reason:
//   "can not write to PATH: not a regular file"  the target is refused
//   "can not open PATH: REASON"                  no temporary file beside it
//   "can not write to PATH: REASON"              writing, flushing or renaming
// and are thrown as a StringPointer.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv {

// Takes the next piece of the content; false once writing has failed, when
// the producer may stop.
using FilePieceSink = std::function<bool(std::string_view piece)>;
// Hands the content to the sink a piece at a time, for content that would
// cost too much memory to hold once more whole.
using FileContentProducer = std::function<void(const FilePieceSink& put)>;

// Replaces the file at `path` (a symbolic link followed) with `bytes`. A
// target that exists keeps its owner, group and permissions where the
// process may set them; a new file gets 0666 less the umask.
void writeFileWhole(const std::string& path, std::string_view bytes);
// The same with the content from `produce`.
void writeFileInPieces(const std::string& path, const FileContentProducer& produce);

// Throws "can not write to PATH: not a regular file" when the path (a
// symbolic link followed) names something that exists and is not a regular
// file. Nothing is opened. A path that names nothing passes.
void requireRegularTarget(const std::string& path);

// A process bound by a file size limit is ended by SIGXFSZ when a write
// passes it, which would leave its temporary file behind and lose the work
// of an interactive program. The programs call this once at start, so such
// a write fails like one to a full disk and the target stays as it was.
void failWritesPastTheFileSizeLimit();

// The system's text for an errno value, e.g. "No such file or directory".
std::string systemReason(int error);

}  // namespace qv
