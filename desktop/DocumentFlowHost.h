// What the document flow needs of the window that shows the document: the
// main panel implements it. The flow itself reads and writes the files,
// asks the questions and keeps the path and the saved position; the host
// holds the document (the kernel and the layout of views) and its undo
// history.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Document.h"
#include "core/String.h"
#include "desktop/RecoveryText.h"

namespace qv {

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
    // The same text with the end mark, to be made in slices for a
    // recovery copy; hosts that hold a model make it from a copy of it.
    virtual std::unique_ptr<RecoveryText> recoveryText() {
        return wholeRecoveryText(documentSource()->toStdString() + std::string(Document::kEndMark));
    }
    // Empties the undo and redo stacks; the empty history is the saved
    // position (the command manager's clear).
    virtual void clearUndoHistory() = 0;
    // Commits a cell edit still being typed, so that what is saved or
    // dropped is what the window shows. When the typed text does not read,
    // the edit stays open as typed and its message is returned.
    virtual std::optional<std::string> commitPendingEdit() = 0;
    // The undo history's current position becomes the saved one.
    virtual void markSavedPosition() = 0;
    // Whether undo and redo have left the document at its saved position.
    virtual bool isAtSavedPosition() const = 0;
    // The titles of the maximized views, in stacking order.
    virtual std::vector<std::string> maximizedViewTitles() const = 0;
    // A number that changes with every change of the document (a model
    // edit, a command done or undone); cheap, it is asked after every event.
    virtual std::uint64_t changeStamp() const = 0;
    // The document was read from or written to the file (an absolute path).
    virtual void documentPathUsed(const std::string& /*absolutePath*/) {}
    // The program ends now (the user's choice was made and carried out).
    virtual void programEnding() {}
};

}  // namespace qv
