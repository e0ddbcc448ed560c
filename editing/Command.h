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
    virtual StringPointer getName() const { return str("command"); }
};

}  // namespace qv
