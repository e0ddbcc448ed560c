// The protocol of an undoable change: `redo` applies it (also the first
// time), `undo` reverts it. The CommandManager only moves commands between
// its stacks and calls these.
#pragma once

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

class Command : public Object {
    QV_ABSTRACT_OBJECT(Command, Object)
  public:
    virtual void redo() = 0;
    virtual void undo() = 0;
    // Undo and redo stop after a significant command; every command of the
    // system is one, so each step is one command.
    virtual bool isSignificant() const { return true; }
    // False for a change the saved text does not show (a view the document
    // does not keep added, moved or closed): it is undone like any other
    // but leaves the document unmodified.
    virtual bool changesDocument() const { return true; }
    // A step that matters only until the next change is recorded (a
    // keystroke in the formula bar, whose text the committed cell then
    // replaces): that change drops it, so undo goes straight to the change
    // instead of replaying keystrokes nobody sees.
    virtual bool isDraft() const { return false; }
    virtual StringPointer getName() const { return str("command"); }
};

}  // namespace qv
