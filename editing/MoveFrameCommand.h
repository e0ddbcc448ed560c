// Moving a frame about the work area by its title bar: the frame's top-left
// corner goes from one point to another, and undo takes it back. The drag
// has already moved the frame when the command is recorded.
#pragma once

#include "editing/AbstractEditable.h"
#include "editing/Command.h"

namespace qv {

class MoveFrameCommand final : public Command {
    QV_OBJECT(MoveFrameCommand, Command, "MoveFrameCommand")
  public:
    MoveFrameCommand(const Pointer<AbstractEditable>& frame, toolkit::Point from, toolkit::Point to)
        : m_frame(frame), m_from(from), m_to(to) {}

    void redo() override { moveTo(m_to); }
    void undo() override { moveTo(m_from); }
    bool changesDocument() const override {
        return m_frame.isNull() || m_frame->isKeptInDocument();
    }

    StringPointer describe() const override;

  private:
    void moveTo(toolkit::Point corner);

    Pointer<AbstractEditable> m_frame;
    toolkit::Point m_from;
    toolkit::Point m_to;
};

}  // namespace qv
