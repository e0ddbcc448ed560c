// The paste of a block of text into the detailed view: tab moves down a
// field, line feed moves right a record.
#include <string>

#include "core/Errors.h"
#include "kernel/RowLimits.h"
#include "model/ModelEditor.h"
#include "views/EvalMultiModel.h"

namespace qv {

namespace {

// Calls `take(token, endsLine)` for every value of the text. A line ended
// by CR LF counts as one ended by LF, and the empty item after a line's last
// tab is no value: so a copied block pastes back as it was.
template <typename Take>
void forEachToken(std::string_view text, Take&& take) {
    std::size_t start = 0;
    bool afterTab = false;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != '\t' && text[at] != '\n') continue;
        std::string_view token = text.substr(start, at - start);
        bool endsLine = at == text.size() || text[at] == '\n';
        if (endsLine && !token.empty() && token.back() == '\r') token.remove_suffix(1);
        bool trailing = endsLine && token.empty() && afterTab;
        bool finalEmpty = at == text.size() && token.empty();
        if (!trailing && !finalEmpty) take(token, endsLine);
        if (trailing || finalEmpty) take(std::string_view(), true);
        afterTab = !endsLine;
        start = at + 1;
    }
}

}  // namespace

void EvalMultiModel::writeToken(ModelEditor& editor, ColumnKind startKind, std::int32_t column,
                                std::int32_t row, std::int32_t rows, std::string_view token) {
    std::int32_t field = row < rows ? fieldOf(row) : -1;
    if (field < 0) return;
    if (startKind == NameColumn) {
        editor.setFieldName(*m_table, field, str(token));
    } else {
        editor.setCellText(*m_table, field, recordOf(column), str(token));
    }
}

// The whole paste is one step of the editor: one undo takes it back.
void EvalMultiModel::paste(ModelEditor& editor, std::int32_t column, std::int32_t row,
                           std::string_view text) {
    if (row < headerRowCount() || column < 0) return;
    ColumnKind startKind = columnKind(column);
    // Field numbers, captions and the computed summary hold nothing to write.
    if (startKind != NameColumn && startKind != RecordColumn && startKind != NewRecordColumn)
        return;
    // Counted before anything is written, so a refused paste changes nothing.
    // A token without text that only ends a line is no value.
    std::int64_t cells = 0;
    std::int64_t lines = 0;
    bool open = false;
    forEachToken(text, [&](std::string_view token, bool endsLine) {
        bool value = token.data() != nullptr;
        cells += value ? 1 : 0;
        open = open || value;
        if (endsLine && open) {
            ++lines;
            open = false;
        }
    });
    if (cells == 0) return;
    if (cells > kMaxCells) {
        throwString(str("paste refused: " + std::to_string(cells) + " values pass the limit of " +
                        std::to_string(kMaxCells) + " cells"));
    }
    std::int64_t limit = rowLimit(m_table->fieldCount());
    std::int64_t lastRecord = startKind == NameColumn ? 0 : recordOf(column) + lines - 1;
    if (lastRecord > limit) throwString(tooManyRowsMessage(static_cast<double>(lastRecord), limit));

    editor.group("paste", [&] { writeTokens(editor, startKind, column, row, text); });
}

void EvalMultiModel::writeTokens(ModelEditor& editor, ColumnKind startKind, std::int32_t column,
                                 std::int32_t row, std::string_view text) {
    // The layout stays as it was at the start: records past the grid's end
    // are new records, not the trailing columns.
    std::int32_t rows = rowCount();
    std::int32_t current = row;
    std::int32_t line = 0;
    bool inLine = false;
    forEachToken(text, [&](std::string_view token, bool endsLine) {
        // From the name column only the first line renames.
        if (token.data() != nullptr && (startKind != NameColumn || line == 0))
            writeToken(editor, startKind, column + line, current, rows, token);
        inLine = inLine || token.data() != nullptr;
        if (endsLine && inLine) {
            current = row;
            ++line;
            inLine = false;
        } else if (!endsLine) {
            current += 1;
        }
    });
}

}  // namespace qv
