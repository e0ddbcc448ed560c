// One replace of find and replace as one undoable step: copies of the
// tables whose formulas it changed, taken before and after, and the text
// changes of the text areas it changed. Undo puts every text back as it
// was, byte for byte.
#pragma once

#include <utility>
#include <vector>

#include "editing/TextChangedCommand.h"
#include "model/ModelEditCommand.h"

namespace qv {

class ReplaceTextsCommand final : public Command {
    QV_OBJECT(ReplaceTextsCommand, Command, "ReplaceTextsCommand")
  public:
    // `before` and `after` hold no copies when no formula changed.
    ReplaceTextsCommand(Pointer<ProgramDef> program, ProgramSnapshot before, ProgramSnapshot after,
                        bool formulasChanged, std::vector<Pointer<TextChangedCommand>> areas)
        : m_program(std::move(program)),
          m_before(std::move(before)),
          m_after(std::move(after)),
          m_formulasChanged(formulasChanged),
          m_areas(std::move(areas)) {}

    void redo() override;
    void undo() override;
    StringPointer getName() const override { return str("replace"); }

  private:
    Pointer<ProgramDef> m_program;
    ProgramSnapshot m_before;
    ProgramSnapshot m_after;
    bool m_formulasChanged;
    std::vector<Pointer<TextChangedCommand>> m_areas;
};

}  // namespace qv
