// FindSearch: find in a whole model — table, field and row names, formulas
// (row overrides and summary formulas too), the values as the grids show
// them, error messages and the texts of text areas — within the model, one
// table or a rectangle of one table's cells.
//
// A search reads the program model and the results that were current when
// it began (it holds them, so an edit meanwhile cannot pull them away) and
// walks them in model order: per table its name, its fields' names, their
// formulas, then its cells row by row; the text areas last. It keeps the
// first kMaxHits matches and counts all of them. It works in slices, so a
// window can paint and take a Stop between two (advance), or all at once
// with a stop flag (run); per cell it formats a number into a buffer it
// reuses, and skips numbers when the query cannot match one.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/TextMatcher.h"
#include "kernel/Kernel.h"

namespace qv {

// ORDER FIND KIND: the kinds of place a search looks in.
enum class FindKind : std::uint8_t {
    TableName,
    FieldName,
    RowName,
    Formula,
    Value,
    Error,
    TextArea,
};
inline constexpr std::int32_t kFindKindCount = 7;
inline constexpr std::uint32_t kAllFindKinds = (1u << kFindKindCount) - 1;
constexpr std::uint32_t findKindBit(FindKind kind) {
    return 1u << static_cast<std::uint32_t>(kind);
}
// "table name", "field name", "row name", "formula", "value", "error", "text area".
const char* findKindName(FindKind kind);

struct FindScope {
    enum class Kind : std::uint8_t { Model, Table, Selection };
    Kind kind = Kind::Model;
    // Table and Selection: the table's index in the program.
    std::int32_t table = -1;
    // Selection: the fields (as the table's result numbers them) and the
    // row keys (-1 the summary row) of the rectangle, both ends included.
    std::int32_t firstField = 0;
    std::int32_t lastField = -1;
    std::int32_t firstRow = 0;
    std::int32_t lastRow = -1;
};

// Where a match is. Names and formulas are found in the table that defines
// them; a formula of row key 0 is the field's own, -1 its summary formula.
struct FindPlace {
    FindKind kind = FindKind::Value;
    std::int32_t table = -1;
    // The field as the table's result numbers it; -1 when the table has none.
    std::int32_t field = -1;
    // Field names and formulas: the field's index in its table definition.
    std::int32_t definition = -1;
    std::int32_t row = 0;
    std::int32_t textArea = -1;
    bool operator==(const FindPlace&) const = default;
};

struct FindHit {
    FindPlace place;
    // The match in the whole text of the place.
    TextMatcher::Span span;
    // The line of the text around the match (shortened when long), and
    // where the match lies in it.
    std::string excerpt;
    TextMatcher::Span excerptSpan;
};

class FindSearch {
  public:
    static constexpr std::size_t kMaxHits = 10000;
    // The longest excerpt kept on each side of a match.
    static constexpr std::size_t kExcerptContext = 60;

    enum class State : std::uint8_t { Running, Done, Stopped };

    // `textAreas`: the texts of the work area's text areas, in their order.
    // Reads the kernel's current results (computing them if needed).
    FindSearch(Kernel& kernel, TextMatcher matcher, FindScope scope,
               std::uint32_t kinds = kAllFindKinds, std::vector<std::string> textAreas = {},
               std::size_t maxHits = kMaxHits);
    FindSearch(const FindSearch&) = delete;
    FindSearch& operator=(const FindSearch&) = delete;

    // Searches on for about `budget` units of work (a cell is one, a byte
    // looked at another); Running while there is more.
    State advance(std::int64_t budget);
    // Searches to the end, or until `stop` is set; `progress` hears the
    // part done (0 to 1) after each slice.
    State run(const std::atomic<bool>* stop = nullptr,
              const std::function<void(double)>& progress = {});
    void stop() noexcept { m_state = m_state == State::Running ? State::Stopped : m_state; }

    State state() const noexcept { return m_state; }
    const TextMatcher& matcher() const noexcept { return m_matcher; }
    const FindScope& scope() const noexcept { return m_scope; }
    // The first maxHits matches, in model order.
    const std::vector<FindHit>& hits() const noexcept { return m_hits; }
    // Every match found so far, those past the bound too.
    std::int64_t total() const noexcept { return m_total; }
    // The part of the search done, 0 to 1.
    double progress() const;
    // The place as the result list shows it: "Fruit", "Fruit.gross",
    // "Fruit[3]", "Fruit[3].gross", "Fruit[sum].gross", "Text area 2". From
    // the model the search began with, so drawing a list never relinks.
    std::string placeName(const FindPlace& place) const;
    // The program's change count the search was made for.
    std::int32_t changeCount() const noexcept { return m_changeCount; }

  private:
    enum class Phase : std::uint8_t { Names, Formulas, Values, TextAreas, Finished };

    bool wants(FindKind kind) const { return (m_kinds & findKindBit(kind)) != 0; }
    bool inTable(std::int32_t table) const;
    bool fieldInScope(std::int32_t field) const;
    bool rowInScope(std::int32_t row) const;
    bool formulaInScope(std::int32_t field, std::int32_t row) const;

    // Looks through one text at `place`; false when the budget ran out in
    // the middle of it (the text is kept and the next slice goes on).
    bool examine(const FindPlace& place, std::string_view text, std::int64_t& budget);
    bool drain(std::int64_t& budget);
    void record(const TextMatcher::Span& span);

    void enterTable();
    void nextTable();
    bool stepNames(std::int64_t& budget);
    bool stepFormulas(std::int64_t& budget);
    bool stepValues(std::int64_t& budget);
    bool stepTextAreas(std::int64_t& budget);
    // The text a value shows; false for a cell that shows nothing to match.
    bool valueText(const Object& value, FindKind& kind);

    Pointer<ProgramDef> m_program;
    Pointer<ResolvedProgram> m_linked;
    Pointer<ProgramResult> m_results;
    TextMatcher m_matcher;
    FindScope m_scope;
    std::uint32_t m_kinds;
    std::vector<std::string> m_textAreas;
    std::size_t m_maxHits;
    std::int32_t m_changeCount;

    State m_state = State::Running;
    std::vector<FindHit> m_hits;
    std::int64_t m_total = 0;
    std::int64_t m_workDone = 0;
    std::int64_t m_workExpected = 1;

    // Where the walk is.
    Phase m_phase = Phase::Names;
    std::int32_t m_table = -1;
    std::int32_t m_item = 0;
    std::int32_t m_subItem = 0;
    // This table: its result fields by definition index, the row keys of
    // the field whose formulas are walked, the rows and fields of cells.
    std::vector<std::int32_t> m_resultFields;
    std::vector<std::int32_t> m_formulaKeys;
    std::vector<std::int32_t> m_rows;
    std::vector<std::int32_t> m_fields;

    // The text being looked through and its matches, while a slice paused in it.
    FindPlace m_place;
    std::string m_text;
    // Kept from text to text for its memory; m_inText while it has a text.
    std::optional<TextMatcher::Matches> m_matches;
    bool m_inText = false;
    // The number formatted last, written straight into m_text and reused
    // while a column repeats it and m_text still holds it.
    double m_lastNumber = 0;
    bool m_textHoldsLastNumber = false;
};

}  // namespace qv
