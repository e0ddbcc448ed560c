#include "kernel/ResolvedProgram.h"

#include "core/Number.h"
#include "kernel/Evaluator.h"
#include "kernel/RowLimits.h"

namespace qv {

namespace {
std::int32_t integerAt(const Hashtable& table, std::string_view name) {
    String key(name);
    key.retain();  // a probe on the stack; never released to zero
    Pointer<Object> found = table.get(Pointer<Object>(&key));
    return is<Integer>(found) ? cast<Integer>(found)->value() : -1;
}
}  // namespace

ResolvedProgram::ResolvedProgram(const Pointer<ProgramDef>& program,
                                 const Pointer<FuncStore>& functions)
    : m_tables(make<TVector<ResolvedTable>>(program->tableCount())),
      m_program(program),
      m_tableIndex(make<Hashtable>()),
      m_fieldRegistry(make<Hashtable>()),
      m_functions(functions),
      m_version(program->changeCount()) {}

void ResolvedProgram::link() {
    resolveNames();
    compile(nullptr);
}

void ResolvedProgram::linkRecordingReads() {
    resolveNames();
    std::vector<const ResolvedTable*> tables;
    for (std::int32_t t = 0; t < tableCount(); ++t)
        tables.push_back(table(t).isNull() ? nullptr : table(t).get());
    auto reads = std::make_unique<ProgramReads>(*m_functions);
    reads->takeShape(tables);
    compile(reads.get());
    reads->finish(tables);
    m_reads = std::move(reads);
}

void ResolvedProgram::resolveNames() {
    createTables();
    resolveBases();
    for (const auto& table : *m_tables) {
        if (!table.isNull()) table->resolve(*m_fieldRegistry, m_fieldBudget);
    }
}

void ResolvedProgram::compile(ReferenceObserver* observer) {
    for (const auto& table : *m_tables) {
        if (!table.isNull()) table->compile(observer);
    }
}

void ResolvedProgram::createTables() {
    for (std::int32_t i = 0; i < m_program->tableCount(); ++i) {
        const Pointer<TableDef>& definition = m_program->table(i);
        if (definition.isNull()) {
            m_tables->add(Pointer<ResolvedTable>());
            continue;
        }
        auto table = make<ResolvedTable>(this, definition, i);
        m_tables->add(table);
        if (definition->tableName().isNull() || !definition->tableNameError().isNull()) continue;
        if (m_tableIndex->containsKey(definition->tableName())) {
            table->setWarning(make<Warning>(str("Table already defined")));
        }
        m_tableIndex->put(definition->tableName(), make<Integer>(i));
    }
}

void ResolvedProgram::resolveBases() {
    Evaluator evaluator;
    for (const auto& table : *m_tables) {
        if (table.isNull()) continue;
        ResolvedTableEvaluatable evaluatable(*table, *this);
        Pointer<Object> base = evaluator.evaluateTop(evaluatable);
        if (is<ResolvedTable>(base)) table->setBase(cast<ResolvedTable>(base));
    }
}

std::int32_t ResolvedProgram::tableIndexOf(std::string_view name) const {
    return integerAt(*m_tableIndex, name);
}

void ResolvedProgram::forgetScans() const {
    for (const auto& scan : m_scans) {
        scan.second->forget();
    }
}

std::int32_t ResolvedProgram::identifierOf(std::string_view name) const {
    return integerAt(*m_fieldRegistry, name);
}

Pointer<Object> ResolvedTableEvaluatable::computeAlternative(Evaluator& evaluator, std::int32_t) {
    const Pointer<TableDef>& definition = m_table.definition();
    if (!definition->baseNameError().isNull()) return definition->baseNameError();
    if (definition->baseName().isNull()) return Pointer<Object>();
    std::int32_t index = m_linked.tableIndexOf(definition->baseName()->view());
    if (index < 0) return make<Warning>(str("base table not found"));
    const Pointer<ResolvedTable>& base = m_linked.table(index);
    ResolvedTableEvaluatable baseEvaluatable(*base, m_linked);
    Pointer<Object> resolved = evaluator.evaluate(baseEvaluatable);
    if (isRaised(resolved)) return resolved;
    return base;
}

}  // namespace qv
