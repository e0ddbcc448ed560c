#include "language/ProgramDef.h"

namespace qv {

ProgramDef::ProgramDef() : m_tables(make<TableList>()) {}

void ProgramDef::addTable(const Pointer<TableDef>& table) {
    if (!table.isNull()) table->setOwner(this);
    m_tables->add(table);
    touch();
}

StringPointer ProgramDef::toSource() const {
    std::string text;
    for (const auto& table : *m_tables) {
        if (!table.isNull()) text += table->toSource()->view();
    }
    return str(text);
}

StringPointer ProgramDef::describe() const {
    return m_tables->describe();
}

Pointer<Object> ProgramDef::clone() const {
    auto copy = make<ProgramDef>();
    for (const auto& table : *m_tables) {
        copy->m_tables->add(table.isNull() ? table : make<TableDef>(*table, copy.get()));
    }
    return copy;
}

}  // namespace qv
