// Whether the document has changed since it was last loaded or saved. Every
// change the user can undo (work-area commands and model edits alike) is in
// the command manager, which knows whether undo and redo have brought the
// document back to its saved position; a change outside that history (a
// document reloaded from its edited source text is new to the file on
// disk) is remembered here until the next load or save.
#pragma once

namespace qv {

class ModificationState {
  public:
    void markSaved() noexcept { m_changedOutsideHistory = false; }
    void markChanged() noexcept { m_changedOutsideHistory = true; }
    bool isModified(bool atSavedPosition) const noexcept {
        return m_changedOutsideHistory || !atSavedPosition;
    }

  private:
    bool m_changedOutsideHistory = false;
};

}  // namespace qv
