#include "views/WhereUsedEditable.h"

#include <iterator>

#include "views/TableEditable.h"

namespace qv {

Pointer<CellModel> WhereUsedModel::createCell(std::int32_t column, std::int32_t row) {
    static constexpr const char* kCaptions[] = {"", "Place", "Use", "Formula"};
    if (row == 0) return make<LabelCell>(str(kCaptions[column]));
    const std::size_t index = static_cast<std::size_t>(row - 1);
    if (m_entries.empty() || index >= m_entries.size())
        return make<LabelCell>(str(column == 1 && row == 1 ? "(not used)" : ""));
    const WhereUsedEntry& entry = m_entries[index];
    switch (column) {
        case 0:
            return make<LabelCell>(str(std::to_string(row)));
        case 1:
            return make<LabelCell>(str(entry.place));
        case 2:
            return make<LabelCell>(str(entry.use));
        default:
            return make<LabelCell>(str(entry.formula));
    }
}

std::int32_t WhereUsedModel::columnWidth(std::int32_t column) {
    static constexpr std::int32_t kWidths[] = {30, 130, 80, 300};
    if (column < 0 || column >= static_cast<std::int32_t>(std::size(kWidths))) return 70;
    return kWidths[column];
}

// A list of nothing still says so on a line of its own.
std::int32_t WhereUsedModel::rowCount() {
    return 1 + std::max<std::int32_t>(1, static_cast<std::int32_t>(m_entries.size()));
}

StringPointer WhereUsedModel::title() {
    std::size_t count = m_entries.size();
    return str("where used: " + m_target + " (" + std::to_string(count) +
               (count == 1 ? " place)" : " places)"));
}

bool WhereUsedController::lineActivated(TableEditable&, std::int32_t row) {
    const std::vector<WhereUsedEntry>& entries = m_model->entries();
    if (row < 1 || row > static_cast<std::int32_t>(entries.size())) return false;
    const WhereUsedEntry& entry = entries[static_cast<std::size_t>(row - 1)];
    if (entry.go) entry.go();
    return true;
}

WhereUsedEditable::WhereUsedEditable(std::string target, std::vector<WhereUsedEntry> entries)
    : m_model(make<WhereUsedModel>(std::move(target), std::move(entries))) {
    auto grid = make<TableEditable>(m_model);
    grid->setController(make<WhereUsedController>(m_model));
    setInnerView(grid);
}

StringPointer WhereUsedEditable::getTitle() const {
    return m_model->title();
}

}  // namespace qv
