#include "language/ProgramDef.h"

#include <vector>

namespace qv {

ProgramDef::ProgramDef() : m_tables(make<TableList>()) {}

void ProgramDef::addTable(const Pointer<TableDef>& table) {
    if (!table.isNull()) table->setOwner(this);
    m_tables->add(table);
    touch();
}

StringPointer ProgramDef::toSource() const {
    std::vector<StringPointer> texts;
    std::vector<std::string_view> parts;
    texts.reserve(static_cast<std::size_t>(m_tables->size()));
    for (const auto& table : *m_tables) {
        if (!table.isNull()) texts.push_back(table->toSource());
    }
    for (const auto& text : texts)
        parts.push_back(text->view());
    return concatenation(parts);
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
