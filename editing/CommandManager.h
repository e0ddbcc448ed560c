// The undo and redo stacks of one work area and the saved (clean) position
// among them. The document is unmodified exactly when undo and redo have
// brought it back to the position last marked clean: a load or a save marks
// the current position, undo and redo move across it, and a new command
// that drops the redo history holding it makes it unreachable, so the
// document stays modified until the next save. Comparing a change counter
// with a saved value instead would call a document unmodified after save,
// undo and a different change, and lose that change on Exit. Commands that
// do not change the document (a session-only view opened or moved) do not
// count: the position is clean while only such commands lie between it and
// the saved one.
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
    // Makes the newest `count` commands of the undo stack one step, for a
    // change the user asked for at once (an import and the grid it opens).
    void joinNewest(std::int32_t count);
    // Forgets both stacks and marks the empty history clean (a load).
    void clear();
    // The current position becomes the clean one (a save).
    void markClean() noexcept { m_cleanIndex = undoCount(); }
    bool isClean() const;

    bool canUndo() const noexcept { return m_undo->size() > 0; }
    bool canRedo() const noexcept { return m_redo->size() > 0; }
    std::int32_t undoCount() const noexcept { return m_undo->size(); }
    std::int32_t redoCount() const noexcept { return m_redo->size(); }

    // "undo----->\n", each command of the undo stack (oldest first) and a
    // line feed, then "redo----->\n" and the same for the redo stack.
    StringPointer describe() const override;

  private:
    static constexpr std::int32_t kUnreachable = -1;

    static void transfer(Stack& from, Stack& to, bool undoing);
    // Forgets the drafts on top of the undo stack (see Command::isDraft).
    void dropDrafts();
    // The command at a place of the whole history: the undo stack oldest
    // first, then the redo stack from its top.
    Pointer<Command> commandAt(std::int32_t index) const;
    // Whether a command from `from` (included) to `to` (excluded) changes
    // the document, in either order.
    bool changesBetween(std::int32_t from, std::int32_t to) const;

    Pointer<Stack> m_undo;
    Pointer<Stack> m_redo;
    // How many commands the undo stack holds at the clean position, or
    // kUnreachable once the commands that led there are gone.
    std::int32_t m_cleanIndex = 0;
};

}  // namespace qv
