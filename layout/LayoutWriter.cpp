#include "layout/LayoutWriter.h"

#include <algorithm>

namespace qv {

void appendIndent(std::string& out, std::int32_t count) {
    if (count > 0) out.append(static_cast<std::size_t>(count), ' ');
}

std::string_view placementKeyword(FramePlacement placement) noexcept {
    switch (placement) {
        case FramePlacement::Maximized:
            return "maximized";
        case FramePlacement::Optimized:
            return "optimized";
        case FramePlacement::Floating:
            return "floating";
        case FramePlacement::InTable:
            break;
    }
    return "";
}

std::string placementPrefix(FramePlacement placement, std::int32_t x, std::int32_t y) {
    std::string prefix(placementKeyword(placement));
    switch (placement) {
        case FramePlacement::Maximized:
            return prefix + " ";
        case FramePlacement::Optimized:
        case FramePlacement::Floating:
            return prefix + "(" + std::to_string(std::max(x, 0)) + "," +
                   std::to_string(std::max(y, 0)) + ") ";
        case FramePlacement::InTable:
            break;
    }
    return "";
}

void writeFrame(std::string& out, std::int32_t indent, std::string_view prefix,
                const Pointer<FrameNotes>& notes, const DirectiveWriter& writeElement) {
    if (!notes.isNull()) notes->writeBefore(out, indent);
    out += prefix;
    writeElement(out, indent);
    // Every directive ends with a line end; the notes of its line go before it.
    if (!notes.isNull() && !out.empty() && out.back() == '\n') {
        out.pop_back();
        notes->writeAtLineEnd(out);
        out += '\n';
    }
}

void writeLayoutTable(std::string& out, std::int32_t indent, std::int32_t rows,
                      std::int32_t columns, const CellWriter& writeCell) {
    const std::int32_t rowIndent = indent + kLayoutIndentStep;
    const std::int32_t cellIndent = rowIndent + kLayoutIndentStep;
    out += "ltable{\n";
    for (std::int32_t row = 0; row < rows; ++row) {
        appendIndent(out, rowIndent);
        out += "lrow{\n";
        for (std::int32_t column = 0; column < columns; ++column) {
            appendIndent(out, cellIndent);
            if (!writeCell(out, row, column, cellIndent)) out += ";\n";
        }
        appendIndent(out, rowIndent);
        out += "}\n";
    }
    appendIndent(out, indent);
    out += "}\n";
}

}  // namespace qv
