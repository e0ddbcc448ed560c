#include "views/ModelEdit.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "editing/Command.h"
#include "kernel/TableResult.h"

namespace qv {

namespace {

// Copies of some of a program's tables, and how many tables it had.
class ProgramSnapshot {
  public:
    ProgramSnapshot(const ProgramDef& program, const std::vector<std::int32_t>& tables)
        : m_tableCount(program.tableCount()) {
        for (std::int32_t index : tables) {
            if (index < 0 || index >= m_tableCount) continue;
            if (std::any_of(m_copies.begin(), m_copies.end(),
                            [index](const auto& copy) { return copy.first == index; })) {
                continue;
            }
            m_copies.emplace_back(index, copyOf(*program.table(index), nullptr));
        }
    }

    // Fresh copies go into the program, so the snapshot serves any number
    // of undo and redo steps.
    void restore(ProgramDef& program) const {
        TableList& list = *program.tables();
        while (list.size() > m_tableCount)
            list.remove(list.size() - 1);
        for (const auto& [index, copy] : m_copies) {
            Pointer<TableDef> table = copyOf(*copy, &program);
            if (index < list.size()) {
                list[index] = table;
            } else if (index == list.size()) {
                list.add(table);
            }
        }
        program.touch();
    }

  private:
    // A copy leaves the view's sort behind; undo must not.
    static Pointer<TableDef> copyOf(const TableDef& table, ProgramDef* owner) {
        auto copy = make<TableDef>(table, owner);
        copy->setSort(table.sortField(), table.sortDescending());
        return copy;
    }

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

std::int32_t indexOfTable(const ProgramDef& program, const TableDef* table) {
    for (std::int32_t index = 0; index < program.tableCount(); ++index) {
        if (program.table(index).get() == table) return index;
    }
    return -1;
}

std::int32_t indexOfName(const ProgramDef& program, const StringPointer& name) {
    if (name.isNull() || name->length() == 0) return -1;
    for (std::int32_t index = 0; index < program.tableCount(); ++index) {
        const StringPointer& candidate = program.table(index)->tableName();
        if (!candidate.isNull() && candidate->equals(*name)) return index;
    }
    return -1;
}

}  // namespace

void runModelEdit(CommandManager* commands, ProgramDef& program,
                  const std::vector<std::int32_t>& tables, std::string_view name,
                  const std::function<void()>& change) {
    if (commands == nullptr) {
        change();
        return;
    }
    ProgramSnapshot before(program, tables);
    const std::int32_t countBefore = program.tableCount();
    const std::int32_t changesBefore = program.changeCount();
    std::exception_ptr failure;
    try {
        change();
    } catch (...) {
        failure = std::current_exception();
    }
    if (program.changeCount() != changesBefore) {
        std::vector<std::int32_t> changed = tables;
        for (std::int32_t index = countBefore; index < program.tableCount(); ++index)
            changed.push_back(index);
        auto command = make<ModelEditCommand>(Pointer<ProgramDef>(&program), std::move(before),
                                              ProgramSnapshot(program, changed), std::string(name));
        commands->execute(command, false);
    }
    if (failure) std::rethrow_exception(failure);
}

std::vector<std::int32_t> tablesOf(const TableResult& table) {
    std::vector<std::int32_t> indexes;
    const ProgramDef* program = table.definition()->owner();
    if (program == nullptr) return indexes;
    std::int32_t index = indexOfTable(*program, table.definition().get());
    // Bounded by the table count: a chain of base names may loop.
    while (index >= 0 && static_cast<std::int32_t>(indexes.size()) < program->tableCount()) {
        if (std::find(indexes.begin(), indexes.end(), index) != indexes.end()) break;
        indexes.push_back(index);
        index = indexOfName(*program, program->table(index)->baseName());
    }
    return indexes;
}

}  // namespace qv
