// The where-used list: every place that uses a table or a field (a
// formula, a base-table clause, a view of the layout), one line each, and
// a double click or Enter on a line goes there. The list is made when it
// is asked for and serves the session only: the document does not keep it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "views/GridController.h"
#include "views/GridModel.h"
#include "views/InnerViewEditable.h"

namespace qv {

struct WhereUsedEntry {
    std::string place;    // "Books.gross[3]", "result(Books)"
    std::string use;      // "formula", "base table", "view"
    std::string formula;  // the text that uses the name
    std::function<void()> go;
};

class WhereUsedModel final : public GridModel {
    QV_OBJECT(WhereUsedModel, GridModel, "WhereUsedModel")
  public:
    WhereUsedModel(std::string target, std::vector<WhereUsedEntry> entries)
        : m_target(std::move(target)), m_entries(std::move(entries)) {}

    const std::string& target() const noexcept { return m_target; }
    const std::vector<WhereUsedEntry>& entries() const noexcept { return m_entries; }

    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override;
    std::int32_t columnWidth(std::int32_t column) override;
    std::int32_t columnCount() override { return 4; }
    std::int32_t rowCount() override;
    StringPointer title() override;

  private:
    std::string m_target;
    std::vector<WhereUsedEntry> m_entries;
};

// Activating a line goes to its place.
class WhereUsedController final : public GridController {
    QV_OBJECT(WhereUsedController, GridController, "WhereUsedController")
  public:
    explicit WhereUsedController(Pointer<WhereUsedModel> model) : m_model(std::move(model)) {}
    bool lineActivated(TableEditable& grid, std::int32_t row) override;
    // The list holds nothing to edit: a double click anywhere goes.
    bool activatesEveryColumn() const override { return true; }

  private:
    Pointer<WhereUsedModel> m_model;
};

class WhereUsedEditable final : public InnerViewEditable {
    QV_OBJECT(WhereUsedEditable, InnerViewEditable, "WhereUsedEditable")
  public:
    WhereUsedEditable(std::string target, std::vector<WhereUsedEntry> entries);

    const Pointer<WhereUsedModel>& model() const noexcept { return m_model; }
    StringPointer getTitle() const override;
    bool isKeptInDocument() const override { return false; }

  private:
    Pointer<WhereUsedModel> m_model;
};

}  // namespace qv
