// What an editable asks of the window it is shown in on its own behalf:
// whether it is the selection, a repaint, a new layout, the colours. EditableSupport is
// the one host; editables reach it through this interface so that the
// protocol of editables needs nothing of the support's own header.
#pragma once

#include "toolkit/Palette.h"

namespace qv {

class AbstractEditable;
class EditableSupport;

class EditableHost {
  public:
    virtual const AbstractEditable* selectedEditable() const noexcept = 0;
    virtual void repaint() const = 0;
    virtual void invalidateLayout() noexcept = 0;
    virtual const toolkit::Palette& palette() const noexcept = 0;

  protected:
    ~EditableHost() = default;
};

// The support as a host; defined with EditableSupport, which knows it is one.
EditableHost* hostOf(EditableSupport* support) noexcept;

}  // namespace qv
