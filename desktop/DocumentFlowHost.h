// What the document flow needs of the window that shows the document: the
// main panel implements it. The flow itself reads and writes the files,
// asks the questions and keeps the path and the saved position; the host
// holds the document (the kernel and the layout of views) and its undo
// history.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/String.h"

namespace qv {

// The two counters whose values at the last load or save tell whether the
// document has changed since: the command manager's change counter (work
// area commands) and the kernel's model change counter (formulas typed
// into cells or the formula line, renamed fields and tables).
struct ChangeCounts {
    std::int32_t commands = 0;
    std::int32_t model = 0;
    friend bool operator==(const ChangeCounts&, const ChangeCounts&) = default;
};

class DocumentFlowHost {
  public:
    virtual ~DocumentFlowHost() = default;

    // Reads the document text and, when the whole reading succeeds, makes
    // it the current document (kernel and layout) and repaints. On an error
    // the reader's message is thrown (a StringPointer, or a SourceError
    // that also says where) and the current document stays as it was.
    virtual void loadDocument(const StringPointer& text) = 0;
    // The program text followed by the layout text, without the end mark.
    virtual StringPointer documentSource() = 0;
    // Empties the undo and redo stacks (the command manager's clear).
    virtual void clearUndoHistory() = 0;
    virtual ChangeCounts changeCounts() const = 0;
    // Commits a cell edit still being typed, so that what is saved or
    // dropped is what the window shows. When the typed text does not read,
    // the edit stays open as typed and its message is returned.
    virtual std::optional<std::string> commitPendingEdit() = 0;
    // The titles of the maximized views, in stacking order.
    virtual std::vector<std::string> maximizedViewTitles() const = 0;
};

}  // namespace qv
