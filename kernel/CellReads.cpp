#include "kernel/CellReads.h"

#include <unordered_set>

#include "core/TextBudget.h"
#include "kernel/ProgramResult.h"
#include "kernel/ResultEvaluatable.h"
#include "kernel/ShowEvaluatables.h"

namespace qv {

namespace {

struct PlaceHash {
    std::size_t operator()(const CellPlace& place) const noexcept {
        std::size_t hash = static_cast<std::uint32_t>(place.table);
        hash = hash * 1000003u ^ static_cast<std::uint32_t>(place.field);
        return hash * 1000003u ^ static_cast<std::uint32_t>(place.row);
    }
};

// A cell's formula run again as the evaluator runs it, alternatives and
// all, with nothing cached: the cell keeps the value it has. The run is
// abandoned as soon as the recorder has enough; the evaluator is then put
// back as it was when the run began.
class Rerun final : public AbstractEvaluatable {
  public:
    explicit Rerun(ResultEvaluatable& cell) : m_cell(cell) {}
    Pointer<Object> cachedValue() const override { return {}; }
    void setCachedValue(const Pointer<Object>&) override {}
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) override {
        Evaluator::State before = evaluator.state();
        try {
            return m_cell.computeAlternative(evaluator, index);
        } catch (const ReadsEnough&) {
            evaluator.restore(before);
            // Not an error, so that no further alternative is tried.
            return evaluator.nullResult();
        }
    }
    std::int32_t alternativesOf() override { return m_cell.alternativesOf(); }

  private:
    ResultEvaluatable& m_cell;
};

// Notes the cells of the program's tables that the reader reads itself. A
// cell of a local table is computed on behalf of the reader, so what it
// reads counts as read; a program cell computes its own value, so what it
// reads does not. It has enough once the watched cell was read (when one
// is watched), once a cell past the limit was read (when none is), or when
// a stop is requested.
class ProgramCellRecorder final : public ReadRecorder {
  public:
    // A recorder that may not end the run only records.
    ProgramCellRecorder(ProgramResult& results, CellReads& reads, const ReadBounds& bounds,
                        bool mayEnd = true)
        : m_results(results), m_reads(reads), m_bounds(bounds), m_mayEnd(mayEnd) {}

    Note noteRead(AbstractEvaluatable& evaluatable) override {
        auto* cell = dynamic_cast<ResultEvaluatable*>(&evaluatable);
        // The run itself starts in any case: only it can catch its end.
        if (cell == nullptr && dynamic_cast<Rerun*>(&evaluatable) != nullptr) return Note::Reader;
        if (m_mayEnd && stopRequested()) {
            m_reads.stopped = true;
            return Note::Enough;
        }
        // A show decision or a base table reads no value; an expression
        // reads for the reader.
        if (cell == nullptr) return Note::Own;
        TableResult* table = cell->table();
        if (table == nullptr) return Note::Reader;
        std::int32_t index = table->index();
        if (index < 0 || index >= m_results.tableCount() ||
            m_results.getTable(index).object() != table) {
            return Note::Reader;
        }
        note({index, cell->field(), cell->row()});
        if (m_mayEnd && enough()) return Note::Enough;
        return Note::Own;
    }

    void note(const CellPlace& place) {
        ++m_reads.readCount;
        if (m_bounds.onRead) m_bounds.onRead(place);
        if (m_bounds.watch != nullptr && place == *m_bounds.watch) m_reads.watchedRead = true;
        if (m_seen.contains(place)) return;
        if (static_cast<std::int32_t>(m_reads.places.size()) >= m_bounds.limit) {
            m_reads.truncated = true;
            return;
        }
        m_seen.insert(place);
        m_reads.places.push_back(place);
    }

    bool enough() {
        if (m_reads.readCount >= m_bounds.maxReads) m_reads.exhausted = true;
        if (m_bounds.watch != nullptr) return m_reads.watchedRead || m_reads.exhausted;
        return m_reads.truncated || m_reads.exhausted;
    }

    bool stopRequested() const {
        return m_bounds.stop != nullptr && m_bounds.stop->load(std::memory_order_relaxed);
    }

  private:
    ProgramResult& m_results;
    CellReads& m_reads;
    const ReadBounds& m_bounds;
    bool m_mayEnd;
    std::unordered_set<CellPlace, PlaceHash> m_seen;
};

// The recorder is on for as long as this lives, whatever leaves it.
class RecordingScope {
  public:
    RecordingScope(Evaluator& evaluator, ReadRecorder& recorder) : m_evaluator(evaluator) {
        evaluator.setRecorder(&recorder);
    }
    ~RecordingScope() { m_evaluator.setRecorder(nullptr); }
    RecordingScope(const RecordingScope&) = delete;
    RecordingScope& operator=(const RecordingScope&) = delete;

  private:
    Evaluator& m_evaluator;
};

// A summary without a formula totals the data rows of its column.
// Past the limit the rest is not listed: it is the rest of the column.
void readColumn(TableResult& table, const CellPlace& place, ProgramCellRecorder& recorder,
                CellReads& reads) {
    for (std::int32_t row = 1; row < table.rowCount() && !recorder.enough(); ++row) {
        if (recorder.stopRequested()) {
            reads.stopped = true;
            return;
        }
        recorder.note({place.table, place.field, row});
    }
}

}  // namespace

CellReads readCells(ProgramResult& results, const CellPlace& place, const ReadBounds& bounds) {
    CellReads reads;
    TableResult& table = *results.getTable(place.table);
    // Computed as the kernel would, before anything is recorded.
    table.value(place.field, place.row);
    const ResolvedTable& resolved = *table.resolved();
    if (!resolved.field(place.field)->warning().isNull() || place.field == resolved.nameField() ||
        !table.functionDefinition(place.field, place.row).isNull()) {
        return reads;
    }
    ProgramCellRecorder recorder(results, reads, bounds);
    if (recorder.stopRequested()) {
        reads.stopped = true;
        return reads;
    }
    const CalculatorPointer& calculator = table.calculatorAt(place.field, place.row);
    if (calculator.isNull()) {
        if (place.row == -1) readColumn(table, place, recorder, reads);
        return reads;
    }
    TextBudgetScope texts(&results.textBudget());
    Evaluator evaluator;
    // A data row that repeats its formula row's value read what that row read.
    std::int32_t row = place.row;
    if (row > 0 && !resolved.hasOwnCalculator(place.field, row) &&
        !ShouldShowAllEvaluatable::decide(table, place.field, evaluator)) {
        row = 0;
    }
    ResultEvaluatable cell(results, &table, evaluator, place.field, row);
    Rerun formula(cell);
    RecordingScope recording(evaluator, recorder);
    evaluator.evaluateTop(formula);
    return reads;
}

CellReads readExpression(ProgramResult& results, const CalculatorPointer& calculator,
                         std::int32_t limit, Pointer<Object>& value) {
    CellReads reads;
    ReadBounds bounds;
    bounds.limit = limit;
    ProgramCellRecorder recorder(results, reads, bounds, false);
    TextBudgetScope texts(&results.textBudget());
    Evaluator evaluator;
    ResultEvaluatable top(results, evaluator, calculator);
    RecordingScope recording(evaluator, recorder);
    value = evaluator.evaluateTop(top);
    return reads;
}

}  // namespace qv
