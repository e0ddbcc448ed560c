#include "model/ModelEditCommand.h"

#include <algorithm>

namespace qv {

namespace {

// A copy leaves the view's sort behind; undo must not.
Pointer<TableDef> copyOf(const TableDef& table, ProgramDef* owner) {
    auto copy = make<TableDef>(table, owner);
    copy->setSort(table.sortField(), table.sortDescending());
    return copy;
}

}  // namespace

void ProgramSnapshot::add(const ProgramDef& program, std::int32_t index) {
    // A table added after the snapshot was taken has no state to go back to.
    if (index < 0 || index >= m_tableCount || index >= program.tableCount()) return;
    if (std::any_of(m_copies.begin(), m_copies.end(),
                    [index](const auto& copy) { return copy.first == index; })) {
        return;
    }
    m_copies.emplace_back(index, copyOf(*program.table(index), nullptr));
}

void ProgramSnapshot::restore(ProgramDef& program) const {
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

}  // namespace qv
