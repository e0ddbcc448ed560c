// Reading a document or saying why not, the one way for every reader: the
// window, the tool and the chart command. The reason is the reader's
// message verbatim and, when the reader knows it, where in the text the
// error is. The document reader throws its messages as a SourceError, a
// StringPointer that also knows the place; a file that cannot be opened or
// read throws a plain StringPointer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/Document.h"
#include "core/String.h"
#include "language/SourceError.h"

namespace qv {

// A 1-based line and a 1-based column.
using TextPlace = SourcePosition;
using PlacedMessage = SourceError;

struct LoadFailure {
    std::string message;
    std::optional<TextPlace> place;

    // The message, then "\n\n(line L, column C)" when the place is known.
    std::string describe() const;
    // The same on one line, for a message line: "MESSAGE (line L, column C)".
    std::string describeOnOneLine() const;
    // As the tools without a window write it: "PATH:LINE:COL: MESSAGE", or
    // "PATH: MESSAGE" when the place is not known.
    std::string locatedIn(const std::string& path) const;
};

// The notice shown when a document could not be read.
std::string loadNoticeOf(const LoadFailure& failure);

// Runs a reading (of a file, or of a document text); a message it throws
// becomes the failure. Other exceptions pass.
std::optional<LoadFailure> attemptReading(const std::function<void()>& reading);

// The document that `read` returns for the file at `path`, or the null
// object with `why` set to the failure located in the file; running out of
// memory is the failure "out of memory". For the tools without a window,
// which carry on with what is left of the memory.
Pointer<Document> readDocumentOrSay(const std::string& path,
                                    const std::function<Pointer<Document>()>& read,
                                    std::string& why);

// The table of the document's kernel with that name, or the null object with
// `why` set to "PATH: NAME: MESSAGE".
Pointer<TableResult> findTableOrSay(Kernel& kernel, const std::string& path,
                                    const std::string& name, std::string& why);

}  // namespace qv
