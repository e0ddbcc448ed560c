#include "kernel/DependentSearch.h"

#include <cctype>
#include <string>
#include <string_view>

#include "kernel/CellReads.h"
#include "kernel/Evaluator.h"
#include "kernel/ProgramResult.h"
#include "kernel/ShowEvaluatables.h"

namespace qv {

namespace {

bool isNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Whether `text` holds `word` as a whole name.
bool mentions(std::string_view text, std::string_view word) {
    if (word.empty()) return false;
    for (std::size_t at = text.find(word); at != std::string_view::npos;
         at = text.find(word, at + 1)) {
        bool before = at > 0 && isNameCharacter(text[at - 1]);
        std::size_t end = at + word.size();
        bool after = end < text.size() && isNameCharacter(text[end]);
        if (!before && !after) return true;
    }
    return false;
}

std::string formulaSource(const ResolvedTable& table, std::int32_t field, std::int32_t row) {
    ExpressionPointer formula = table.formulaOf(field, row);
    return formula.isNull() ? std::string() : std::string(formula->toSource()->view());
}

class Search {
  public:
    Search(ProgramResult& results, const CellPlace& place, const DependentBounds& bounds)
        : m_results(results), m_place(place), m_bounds(bounds) {
        TableResult& table = *results.getTable(place.table);
        m_words.emplace_back(table.name()->view());
        m_words.emplace_back(table.fieldName(place.field)->view());
        addFunctionNames();
    }

    std::vector<CellPlace> run() {
        for (std::int32_t index = 0; index < m_results.tableCount() && !done(); ++index) {
            const Pointer<TableResult>& table = m_results.getTable(index);
            if (table.isNull()) continue;
            for (std::int32_t field = 0; field < table->fieldCount() && !done(); ++field) {
                if (isCandidate(*table, field)) searchField(*table, field);
            }
        }
        return m_found;
    }

  private:
    bool done() const {
        return static_cast<std::int32_t>(m_found.size()) >= m_bounds.maxCells ||
               m_scanned >= m_bounds.maxScanned ||
               (m_bounds.stop != nullptr && m_bounds.stop->load(std::memory_order_relaxed));
    }

    // A user function whose body names the cell's table or field reads it
    // for whoever calls it, and so does a local table made of a table whose
    // formulas name them: their names are looked for too.
    void addFunctionNames() {
        std::size_t own = m_words.size();
        for (std::int32_t index = 0; index < m_results.tableCount(); ++index) {
            const Pointer<TableResult>& table = m_results.getTable(index);
            if (table.isNull()) continue;
            const ResolvedTable& resolved = *table->resolved();
            bool tableNamed = false;
            for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
                if (!mentionsAny(resolved, field, own)) continue;
                const Pointer<FunctionSignature>& signature = resolved.signatureOf(field);
                if (!signature.isNull() && !signature->name().isNull())
                    m_words.emplace_back(signature->name()->view());
                tableNamed = true;
            }
            if (tableNamed && index != m_place.table) m_words.emplace_back(table->name()->view());
        }
    }

    // Whether the field's formula or summary names one of the first `count` words.
    bool mentionsAny(const ResolvedTable& table, std::int32_t field, std::size_t count) const {
        for (std::int32_t row : {0, -1}) {
            std::string text = formulaSource(table, field, row);
            for (std::size_t word = 0; word < count; ++word) {
                if (mentions(text, m_words[word])) return true;
            }
        }
        return false;
    }

    bool isOwnField(const TableResult& table, std::int32_t field) const {
        return table.index() == m_place.table && field == m_place.field;
    }

    bool isCandidate(const TableResult& table, std::int32_t field) const {
        const ResolvedTable& resolved = *table.resolved();
        if (field == resolved.nameField() || !resolved.signatureOf(field).isNull()) return false;
        if (resolved.hasRowOverrides(field)) return true;
        // A summary without a formula totals its own column.
        if (isOwnField(table, field) && m_place.row > 0 && table.calculatorAt(field, -1).isNull())
            return true;
        if (isOwnField(table, field) && (mentions(formulaSource(resolved, field, 0), "prev") ||
                                         mentions(formulaSource(resolved, field, -1), "prev"))) {
            return true;
        }
        return mentionsAny(resolved, field, m_words.size());
    }

    void confirm(const CellPlace& candidate) {
        if (done()) return;
        ++m_scanned;
        if (readCells(m_results, candidate, 0, &m_place).watchedRead) m_found.push_back(candidate);
    }

    void searchField(TableResult& table, std::int32_t field) {
        for (std::int32_t row : {-1, 0}) {
            bool defaultSummary = row == -1 && isOwnField(table, field) && m_place.row > 0;
            if (!table.calculatorAt(field, row).isNull() || defaultSummary)
                confirm({table.index(), field, row});
        }
        Evaluator evaluator;
        bool varies = ShouldShowAllEvaluatable::decide(table, field, evaluator);
        bool overrides = table.resolved()->hasRowOverrides(field);
        if (!varies && !overrides) return;
        std::int32_t rows = table.rowCount() - 1;
        std::int32_t centre = table.index() == m_place.table && m_place.row > 0 ? m_place.row : 1;
        // Nearest first: the same row, the next, the one before, ...
        for (std::int32_t step = 0; step < 2 * rows && !done(); ++step) {
            std::int32_t offset = (step + 1) / 2;
            std::int32_t row = step % 2 == 1 ? centre + offset : centre - offset;
            if (row < 1 || row > rows) {
                if (centre - offset < 1 && centre + offset > rows) return;
                continue;
            }
            if (!varies && !table.resolved()->hasOwnCalculator(field, row)) continue;
            confirm({table.index(), field, row});
        }
    }

    ProgramResult& m_results;
    CellPlace m_place;
    DependentBounds m_bounds;
    std::vector<std::string> m_words;
    std::vector<CellPlace> m_found;
    std::int32_t m_scanned = 0;
};

}  // namespace

std::vector<CellPlace> findDependents(ProgramResult& results, const CellPlace& place,
                                      const DependentBounds& bounds) {
    return Search(results, place, bounds).run();
}

}  // namespace qv
