// Moves a view in the tree: out of the place it had (the detach position)
// and into a new one (the drop position). Either may be missing: adding a
// view has no detach position, deleting one no drop position. Undo moves it
// back. Placement changes of a frame are moves between two places of the
// work area that differ in placement.
#pragma once

#include "editing/AbstractEditable.h"
#include "editing/Command.h"
#include "editing/Positions.h"

namespace qv {

class DetachDropCommand final : public Command {
    QV_OBJECT(DetachDropCommand, Command, "DetachDropCommand")
  public:
    DetachDropCommand(const Pointer<AbstractEditable>& root,
                      const Pointer<AbstractEditable>& editable,
                      const Pointer<AbstractPosition>& detachPosition,
                      const Pointer<AbstractPosition>& dropPosition);

    void redo() override;
    void undo() override;
    // A view the document does not keep changes nothing in it while it goes
    // to or from the work area itself; into or out of a layout table it may
    // add or remove the table's rows and columns.
    bool changesDocument() const override;

    const Pointer<AbstractEditable>& editable() const noexcept { return m_editable; }
    const Pointer<AbstractPosition>& detachPosition() const noexcept { return m_detachPosition; }
    const Pointer<AbstractPosition>& dropPosition() const noexcept { return m_dropPosition; }

    // "DetachCommand{\n", the editable and both positions on indented lines,
    // "}\n".
    StringPointer describe() const override;

  private:
    void move(const Pointer<AbstractPosition>& from, const Pointer<AbstractPosition>& to);

    Pointer<AbstractEditable> m_root;
    Pointer<AbstractEditable> m_editable;
    Pointer<AbstractPosition> m_detachPosition;
    Pointer<AbstractPosition> m_dropPosition;
};

}  // namespace qv
