// One model edit as an undoable step: copies of the tables the edit changed,
// taken before and after it, that undo and redo put back. Tables the edit
// added are copied after it and dropped on undo.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editing/Command.h"
#include "language/ProgramDef.h"

namespace qv {

// Copies of some of a program's tables, and how many tables it had.
class ProgramSnapshot {
  public:
    explicit ProgramSnapshot(const ProgramDef& program) : m_tableCount(program.tableCount()) {}

    // Copies the table at `index` unless it is copied already: the first
    // copy is the one taken before any change to it.
    void add(const ProgramDef& program, std::int32_t index);
    // Fresh copies go into the program, so the snapshot serves any number
    // of undo and redo steps.
    void restore(ProgramDef& program) const;

  private:
    std::int32_t m_tableCount;
    std::vector<std::pair<std::int32_t, Pointer<TableDef>>> m_copies;
};

class ModelEditCommand final : public Command {
    QV_OBJECT(ModelEditCommand, Command, "ModelEditCommand")
  public:
    ModelEditCommand(Pointer<ProgramDef> program, ProgramSnapshot before, ProgramSnapshot after,
                     std::string name)
        : m_program(std::move(program)),
          m_before(std::move(before)),
          m_after(std::move(after)),
          m_name(std::move(name)) {}

    void redo() override { m_after.restore(*m_program); }
    void undo() override { m_before.restore(*m_program); }
    StringPointer getName() const override { return str(m_name); }

  private:
    Pointer<ProgramDef> m_program;
    ProgramSnapshot m_before;
    ProgramSnapshot m_after;
    std::string m_name;
};

}  // namespace qv
