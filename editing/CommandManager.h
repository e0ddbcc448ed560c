// The undo and redo stacks of one work area and its change counter. The
// counter moves by one with every executed, undone or redone command and
// with every clear; the main panel compares it with the value it noted at
// the last load or save to tell whether the document is modified.
#pragma once

#include <cstdint>

#include "core/Vector.h"
#include "editing/Command.h"

namespace qv {

class CommandManager final : public Object {
    QV_OBJECT(CommandManager, Object, "CommandManager")
  public:
    CommandManager();

    // Records the command as the newest change and forgets what was undone.
    // `apply` is false when the caller has already made the change (a drag
    // that detached and dropped the view itself).
    void execute(const Pointer<Command>& command, bool apply);
    void undo();
    void redo();
    // Forgets both stacks; the counter still moves, so a document marked
    // unmodified after a clear differs from every earlier saved position.
    void clear();

    bool canUndo() const noexcept { return m_undo->size() > 0; }
    bool canRedo() const noexcept { return m_redo->size() > 0; }
    std::int32_t undoCount() const noexcept { return m_undo->size(); }
    std::int32_t redoCount() const noexcept { return m_redo->size(); }
    std::int32_t changeCounter() const noexcept { return m_changeCounter; }

    // "undo----->\n", each command of the undo stack (oldest first) and a
    // line feed, then "redo----->\n" and the same for the redo stack.
    StringPointer describe() const override;

  private:
    static void transfer(Stack& from, Stack& to, bool undoing, std::int32_t& counter);

    Pointer<Stack> m_undo;
    Pointer<Stack> m_redo;
    std::int32_t m_changeCounter = 0;
};

}  // namespace qv
