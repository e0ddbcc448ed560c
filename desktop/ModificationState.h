// Whether the document has changed since it was last loaded or saved. Both
// kinds of change count: a work-area command moves the command manager's
// counter, a formula typed into a cell moves the kernel's model counter,
// and either one differing from its value at the last load or save means
// there is something to save. Counting commands alone would let New, Open
// and Exit discard typed formulas without asking.
#pragma once

#include "desktop/DocumentFlowHost.h"

namespace qv {

class ModificationState {
  public:
    void markSaved(ChangeCounts now) noexcept {
        m_saved = now;
        m_changedSinceSave = false;
    }
    // A change that neither counter shows (a document reloaded from its
    // edited source text is new to the file on disk).
    void markChanged() noexcept { m_changedSinceSave = true; }
    bool isModified(ChangeCounts now) const noexcept {
        return m_changedSinceSave || now != m_saved;
    }

  private:
    ChangeCounts m_saved;
    bool m_changedSinceSave = false;
};

}  // namespace qv
