// The model editor's part in find and replace: new texts for formulas and
// text areas, applied together as one undoable step.
#include <algorithm>
#include <utility>

#include "language/ExpressionParser.h"
#include "model/ModelEditor.h"
#include "model/ReplaceTextsCommand.h"

namespace qv {

void ModelEditor::replaceTexts(const std::vector<FormulaText>& formulas,
                               const std::vector<AreaText>& areas) {
    if (m_program.isNull() || (formulas.empty() && areas.empty())) return;
    std::vector<std::int32_t> tables;
    for (const FormulaText& edit : formulas) {
        if (std::find(tables.begin(), tables.end(), edit.table) == tables.end())
            tables.push_back(edit.table);
    }
    ProgramSnapshot before(*m_program);
    for (std::int32_t table : tables)
        before.add(*m_program, table);
    for (const FormulaText& edit : formulas) {
        if (edit.table < 0 || edit.table >= m_program->tableCount()) continue;
        const Pointer<TableDef>& table = m_program->table(edit.table);
        if (edit.definition < 0 || edit.definition >= table->fieldCount()) continue;
        // A formula that no longer parses keeps its text and shows its error.
        table->field(edit.definition)
            ->setFormula(edit.row, make<ExpressionParser>()->parseFormula(edit.text));
        touch(*table);
    }
    ProgramSnapshot after(*m_program);
    for (std::int32_t table : tables)
        after.add(*m_program, table);
    std::vector<Pointer<TextChangedCommand>> changes;
    for (const AreaText& edit : areas) {
        auto change = make<TextChangedCommand>(edit.area, 0,
                                               static_cast<std::int32_t>(edit.area->text().size()));
        change->setStoredText(edit.text);
        change->redo();
        changes.push_back(change);
    }
    if (m_commands == nullptr) return;
    m_commands->execute(make<ReplaceTextsCommand>(m_program, std::move(before), std::move(after),
                                                  !formulas.empty(), std::move(changes)),
                        false);
}

}  // namespace qv
