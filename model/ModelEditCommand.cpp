#include "model/ModelEditCommand.h"

#include <algorithm>

namespace qv {

namespace {

// A copy leaves the view's sort behind; undo must not.
Pointer<TableDef> copyOf(const TableDef& table, ProgramDef* owner) {
    auto copy = make<TableDef>(table, owner, FieldDef::Formulas::Shared);
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

// The copies go back in the order of their places: a snapshot taken
// before a table was deleted holds the tables from its place to the end,
// and each must be appended after the one before it.
void ProgramSnapshot::restore(ProgramDef& program) const {
    TableList& list = *program.tables();
    while (list.size() > m_tableCount)
        list.remove(list.size() - 1);
    std::vector<const std::pair<std::int32_t, Pointer<TableDef>>*> ordered;
    for (const auto& copy : m_copies)
        ordered.push_back(&copy);
    std::sort(ordered.begin(), ordered.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    for (const auto* copy : ordered) {
        Pointer<TableDef> table = copyOf(*copy->second, &program);
        if (copy->first < list.size()) {
            list[copy->first] = table;
        } else if (copy->first == list.size()) {
            list.add(table);
        }
    }
    program.touch();
}

}  // namespace qv
