// A grid model turned on its side: the inner model's rows are its columns
// and its columns its rows, header rows becoming leading columns and the
// other way round. Printing shows a detailed view this way, a record a line
// under a header line of field names, because records go across on screen
// and a long table would otherwise take a page for every few records. It
// only shows: nothing is edited through it.
#pragma once

#include <cstdint>

#include "views/GridModel.h"

namespace qv {

class TransposedGridModel final : public GridModel {
    QV_OBJECT(TransposedGridModel, GridModel, "TransposedGridModel")
  public:
    // Where the inner model has no column to take a width from.
    static constexpr std::int32_t kDefaultWidth = 80;

    // `skippedColumn` is an inner column left out (the empty line a
    // detailed view offers for a new record means nothing on paper), or -1.
    explicit TransposedGridModel(Pointer<GridModel> inner, std::int32_t skippedColumn = -1)
        : m_inner(std::move(inner)), m_skipped(skippedColumn) {}

    const Pointer<GridModel>& inner() const noexcept { return m_inner; }

    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override {
        return m_inner->createCell(innerColumn(row), column);
    }
    // Every column as wide as the inner model's first scrolled column (a
    // record's width); the leading ones too, which the grid widens to fit.
    std::int32_t columnWidth(std::int32_t column) override;
    std::int32_t columnCount() override { return m_inner->rowCount(); }
    std::int32_t rowCount() override;
    StringPointer title() override { return m_inner->title(); }
    std::int32_t leadingColumnCount() override { return m_inner->headerRowCount(); }
    std::int32_t headerRowCount() override { return m_inner->leadingColumnCount(); }

  private:
    std::int32_t innerColumn(std::int32_t row) const {
        return m_skipped >= 0 && row >= m_skipped ? row + 1 : row;
    }

    Pointer<GridModel> m_inner;
    std::int32_t m_skipped;
};

}  // namespace qv
