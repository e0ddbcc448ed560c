// Why a cell holds an error: the origin its warning points at, the loop of
// its cycle or the place its computation stopped, read from what the error
// values carry. Only a loop of one cell, which its readers do not record,
// is found by running formulas again (never computing a value anew).
#include <optional>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/LargeStack.h"
#include "core/Number.h"
#include "core/ValueConversions.h"
#include "core/Values.h"
#include "core/Warning.h"
#include "kernel/CellReads.h"
#include "kernel/ErrorOrigin.h"
#include "kernel/Explanation.h"
#include "kernel/Kernel.h"
#include "kernel/ProgramResult.h"
#include "kernel/ResolvedProgram.h"
#include "kernel/ValueKinds.h"

namespace qv {

namespace {

// The cell where a cell's value was computed: a data row that repeats its
// formula row's value (no formula of its own, a field whose value cannot
// differ by row) is that row's value, so an error or a loop it holds is
// named by the formula row, whichever row was asked or read.
CellPlace computedAt(ProgramResult& results, const CellPlace& place) {
    if (place.row <= 0) return place;
    const Pointer<TableResult>& table = results.getTable(place.table);
    const Object* varies = table->cachedVariesByRow(place.field);
    bool repeats = !table->resolved()->hasOwnCalculator(place.field, place.row) &&
                   varies->isInstanceOf(Boolean::typeId()) &&
                   !static_cast<const Boolean*>(varies)->value();
    return repeats ? CellPlace{place.table, place.field, 0} : place;
}

// An origin: a cell where an error began, named where it was computed.
CellFacts originFacts(ProgramResult& results, const CellPlace& place) {
    return cellFacts(results, computedAt(results, place));
}

// A cell of a what-if local table, which is no cell of the results: named by
// the call that made it, with its field's formula and the error met there.
CellFacts localFacts(ProgramResult& results, const LocalCellOrigin& origin) {
    CellFacts facts;
    facts.name =
        localCellName(results, origin.call(), origin.table(), origin.field(), origin.row());
    ExpressionPointer formula =
        results.linked()->table(origin.table())->cellFormula(origin.field(), origin.row());
    facts.formula = formula.isNull() ? str("") : formula->toSource();
    facts.value = origin.error();
    return facts;
}

// The asked cell (or expression) itself as the origin, with its own value.
CellFacts selfFacts(ProgramResult& results, const CellPlace& place, const Pointer<Object>& value) {
    if (!place.isCell()) return {place, str(""), str(""), value};
    CellFacts facts = originFacts(results, place);
    facts.value = value;
    return facts;
}

StringPointer causedBy(const CellFacts& origin) {
    std::string text = "caused by ";
    text += origin.name->length() > 0 ? origin.name->view() : std::string_view("the expression");
    text += ": ";
    text += toText(origin.value)->view();
    return str(text);
}

Cause originCause(Cause::Kind kind, CellFacts origin) {
    Cause cause;
    cause.kind = kind;
    cause.text = causedBy(origin);
    cause.origin = std::move(origin);
    return cause;
}

// "cycle: A -> B -> A": the loop with its first cell again at the end, as
// far as it ran through cells of the program's tables (a local table's
// cells are none). A loop that ran through none of them is named by the cell
// that shows it.
Cause cycleCause(ProgramResult& results, std::vector<CellPlace> loop, const CellPlace& place) {
    Cause cause;
    cause.kind = Cause::Kind::Cycle;
    std::erase_if(loop, [](const CellPlace& cell) { return !cell.isCell(); });
    if (loop.empty() && place.isCell()) loop.push_back(place);
    if (loop.size() == 1) loop.front() = computedAt(results, loop.front());
    std::string text = "cycle:";
    for (const CellPlace& cell : loop) {
        cause.cycle.push_back(cellFacts(results, cell));
        text += ' ';
        text += cause.cycle.back().name->view();
        text += " ->";
    }
    if (!loop.empty()) text += ' ' + cause.cycle.front().name->toStdString();
    cause.text = str(text);
    return cause;
}

// Cells followed from a cell holding the shared "(circular)" towards the
// cell that reads itself, and what each may read on the way. A longer
// chain (a running total over a loop in its first row) ends at the cell
// reached, named as the origin: asking there goes on.
constexpr std::int32_t kMaxLoopSteps = 10000;
constexpr std::int32_t kMaxLoopReadsKept = 1000;
constexpr std::int64_t kMaxLoopReads = 100000;

bool isCircular(const Pointer<Object>& value) {
    return is<StringSpecialValue>(value) &&
           cast<StringSpecialValue>(value)->text()->equals(kCircularText);
}

// A cell holding the shared "(circular)" either reads itself (a loop of one)
// or took it from the first cell it read that holds a cycle; its formula
// run again tells which, and the search goes on from that cell. Nothing is
// recorded while computing, so that a loop in every row and the cells
// reading each cost no memory.
Cause followLoopOfOne(ProgramResult& results, CellPlace place, const CellPlace& asked) {
    Cause cause;
    runOnLargeStack([&] {
        for (std::int32_t step = 0; step < kMaxLoopSteps; ++step) {
            CellReads reads =
                readCells(results, place, {kMaxLoopReadsKept, nullptr, kMaxLoopReads, nullptr, {}});
            std::optional<CellPlace> next;
            for (const CellPlace& read : reads.places) {
                if (read == place) break;
                Pointer<Object> value = results.getTable(read.table)->value(read.field, read.row);
                if (!isCircular(value)) continue;
                const Pointer<Object>& recorded = cast<StringSpecialValue>(value)->cause();
                if (is<CycleOrigin>(recorded)) {
                    cause = cycleCause(results, cast<CycleOrigin>(recorded)->loop(), asked);
                    return;
                }
                next = is<OneCellLoop>(recorded) ? cast<OneCellLoop>(recorded)->cell() : read;
                break;
            }
            if (!next) {
                cause = cycleCause(results, {place}, asked);
                return;
            }
            place = *next;
        }
        cause = originCause(Cause::Kind::Origin, originFacts(results, place));
    });
    return cause;
}

Cause noCause() {
    Cause cause;
    cause.text = str("");
    return cause;
}

}  // namespace

Cause Explanation::cause(const CellPlace& place) {
    const Pointer<ProgramResult>& results = m_kernel.getResults();
    if (!place.isCell()) throwString(str("no such cell"));
    cellName(*results, place);  // throws "no such cell" for a place outside the results
    const Pointer<TableResult>& table = results->getTable(place.table);
    return causeOfValue(table->value(place.field, place.row), place);
}

Cause Explanation::causeOfValue(const Pointer<Object>& value, const CellPlace& place) {
    ProgramResult& results = *m_kernel.getResults();
    if (is<Warning>(value)) {
        const Pointer<Object>& origin = cast<Warning>(value)->origin();
        if (is<ErrorOrigin>(origin)) {
            return originCause(Cause::Kind::Origin,
                               originFacts(results, cast<ErrorOrigin>(origin)->place()));
        }
        if (is<LocalCellOrigin>(origin)) {
            return originCause(Cause::Kind::Origin,
                               localFacts(results, *cast<LocalCellOrigin>(origin)));
        }
        return originCause(Cause::Kind::Origin, selfFacts(results, place, value));
    }
    if (!is<SpecialValue>(value)) return noCause();
    Pointer<Object> recorded;
    if (is<StringSpecialValue>(value)) recorded = cast<StringSpecialValue>(value)->cause();
    if (is<CycleOrigin>(recorded))
        return cycleCause(results, cast<CycleOrigin>(recorded)->loop(), place);
    if (is<OneCellLoop>(recorded))
        return followLoopOfOne(results, cast<OneCellLoop>(recorded)->cell(), place);
    // A stop records where it stopped; any other special value the cell it
    // was read from.
    if (is<ErrorOrigin>(recorded)) {
        const CellPlace& at = cast<ErrorOrigin>(recorded)->place();
        CellFacts origin = at.isCell() ? originFacts(results, at) : selfFacts(results, at, value);
        bool stopped = toText(value)->equals(kStoppedText);
        return originCause(stopped ? Cause::Kind::Stopped : Cause::Kind::Origin, std::move(origin));
    }
    if (toText(value)->equals(kCircularText)) {
        return place.isCell() ? followLoopOfOne(results, place, place)
                              : cycleCause(results, {}, place);
    }
    return originCause(Cause::Kind::Origin, selfFacts(results, place, value));
}

}  // namespace qv
