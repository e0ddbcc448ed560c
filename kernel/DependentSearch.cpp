#include "kernel/DependentSearch.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <tuple>

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

    FoundDependents run() {
        collectCandidates();
        for (const Candidate& candidate : m_candidates)
            searchFormulaRows(candidate);
        searchDataRows();
        std::sort(m_found.begin(), m_found.end(), [](const CellPlace& a, const CellPlace& b) {
            return std::tie(a.table, a.field, a.row) < std::tie(b.table, b.field, b.row);
        });
        return {std::move(m_found), m_complete};
    }

  private:
    bool done() const {
        return static_cast<std::int32_t>(m_found.size()) >= m_bounds.maxCells ||
               m_scanned >= m_bounds.maxScanned || m_reads >= m_bounds.maxReads ||
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
        if (isOwnField(table, field) && (mentions(formulaSource(resolved, field, 0), "prev") ||
                                         mentions(formulaSource(resolved, field, -1), "prev"))) {
            return true;
        }
        return mentionsAny(resolved, field, m_words.size());
    }

    // A candidate left unconfirmed makes the search incomplete, and so does
    // a run ended by the budget or a stop before it read the cell.
    void confirm(const CellPlace& candidate) {
        if (done()) {
            m_complete = false;
            return;
        }
        ++m_scanned;
        CellReads reads = readCells(m_results, candidate,
                                    {0, &m_place, m_bounds.maxReads - m_reads, m_bounds.stop, {}});
        m_reads += reads.readCount;
        if (reads.watchedRead) {
            m_found.push_back(candidate);
        } else if (reads.exhausted || reads.stopped) {
            m_complete = false;
        }
    }

    struct Candidate {
        TableResult* table;
        std::int32_t field;
        // Only its summary, which totals the column the cell belongs to.
        bool summaryOnly;
        bool varies = false;
        bool overrides = false;
        std::int32_t centre = 1;
    };

    void collectCandidates() {
        Evaluator evaluator;
        for (std::int32_t index = 0; index < m_results.tableCount(); ++index) {
            const Pointer<TableResult>& table = m_results.getTable(index);
            if (table.isNull()) continue;
            for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
                bool candidate = isCandidate(*table, field);
                bool summary = isOwnField(*table, field) && m_place.row > 0 &&
                               table->calculatorAt(field, -1).isNull();
                if (!candidate && !summary) continue;
                Candidate found{table.get(), field, !candidate};
                if (candidate) {
                    found.varies = ShouldShowAllEvaluatable::decide(*table, field, evaluator);
                    found.overrides = table->resolved()->hasRowOverrides(field);
                    found.centre = index == m_place.table && m_place.row > 0 ? m_place.row : 1;
                }
                m_candidates.push_back(found);
            }
        }
    }

    void searchFormulaRows(const Candidate& candidate) {
        TableResult& table = *candidate.table;
        bool defaultSummary = isOwnField(table, candidate.field) && m_place.row > 0 &&
                              table.calculatorAt(candidate.field, -1).isNull();
        if (defaultSummary) {
            if (done()) {
                m_complete = false;
            } else {
                ++m_scanned;
                m_found.push_back({table.index(), candidate.field, -1});
            }
        } else if (!table.calculatorAt(candidate.field, -1).isNull()) {
            confirm({table.index(), candidate.field, -1});
        }
        if (!candidate.summaryOnly && !table.calculatorAt(candidate.field, 0).isNull())
            confirm({table.index(), candidate.field, 0});
    }

    // The data rows of all candidates together, nearest first (the same
    // row, the next, the one before, ...), so that no long field takes the
    // whole budget from the others. The search ends at the first row left
    // to confirm once it is done, so that it knows whether any was left.
    void searchDataRows() {
        bool more = true;
        for (std::int32_t step = 0; more; ++step) {
            more = false;
            for (const Candidate& candidate : m_candidates) {
                if (candidate.summaryOnly || (!candidate.varies && !candidate.overrides)) continue;
                std::int32_t rows = candidate.table->rowCount() - 1;
                std::int32_t offset = (step + 1) / 2;
                if (candidate.centre - offset >= 1 || candidate.centre + offset <= rows)
                    more = true;
                std::int32_t row =
                    step % 2 == 1 ? candidate.centre + offset : candidate.centre - offset;
                if (row < 1 || row > rows) continue;
                if (!candidate.varies &&
                    !candidate.table->resolved()->hasOwnCalculator(candidate.field, row))
                    continue;
                confirm({candidate.table->index(), candidate.field, row});
                if (!m_complete) return;
            }
        }
    }

    ProgramResult& m_results;
    CellPlace m_place;
    DependentBounds m_bounds;
    std::vector<std::string> m_words;
    std::vector<Candidate> m_candidates;
    std::vector<CellPlace> m_found;
    std::int32_t m_scanned = 0;
    std::int64_t m_reads = 0;
    bool m_complete = true;
};

}  // namespace

FoundDependents findDependents(ProgramResult& results, const CellPlace& place,
                               const DependentBounds& bounds) {
    return Search(results, place, bounds).run();
}

}  // namespace qv
