// A grid model turned on its side: the inner model's rows are its columns
// and its columns its rows, header rows becoming leading columns and the
// other way round. Printing shows a detailed view this way, a record a line
// under a header line of field names, because records go across on screen
// and a long table would otherwise take a page for every few records. It
// only shows: nothing is edited through it.
#pragma once

#include <cstdint>
#include <string>

#include "views/GridModel.h"

namespace qv {

// Inner lines left out (-1: none): the empty line a detailed view offers
// for a new record or a new field means nothing on paper.
struct SkippedLines {
    std::int32_t column = -1;
    std::int32_t row = -1;
};

class TransposedGridModel final : public GridModel {
    QV_OBJECT(TransposedGridModel, GridModel, "TransposedGridModel")
  public:
    // Where the inner model has no column to take a width from.
    static constexpr std::int32_t kDefaultWidth = 80;

    explicit TransposedGridModel(Pointer<GridModel> inner, SkippedLines skipped = {})
        : m_inner(std::move(inner)), m_skipped(skipped) {}

    const Pointer<GridModel>& inner() const noexcept { return m_inner; }

    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override {
        return m_inner->createCell(past(m_skipped.column, row), past(m_skipped.row, column));
    }
    std::string cellName(std::int32_t column, std::int32_t row) override {
        return m_inner->cellName(past(m_skipped.column, row), past(m_skipped.row, column));
    }
    // Every column as wide as the inner model's first scrolled column (a
    // record's width); the leading ones too, which the grid widens to fit.
    std::int32_t columnWidth(std::int32_t column) override;
    std::int32_t columnCount() override { return less(m_skipped.row, m_inner->rowCount()); }
    std::int32_t rowCount() override { return less(m_skipped.column, m_inner->columnCount()); }
    StringPointer title() override { return m_inner->title(); }
    std::int32_t leadingColumnCount() override { return m_inner->headerRowCount(); }
    std::int32_t headerRowCount() override { return m_inner->leadingColumnCount(); }

  private:
    // An index counted without the skipped line, as an inner index.
    static std::int32_t past(std::int32_t skipped, std::int32_t index) {
        return skipped >= 0 && index >= skipped ? index + 1 : index;
    }
    // A count without the skipped line, when it lies inside.
    static std::int32_t less(std::int32_t skipped, std::int32_t count) {
        return skipped >= 0 && skipped < count ? count - 1 : count;
    }

    Pointer<GridModel> m_inner;
    SkippedLines m_skipped;
};

}  // namespace qv
