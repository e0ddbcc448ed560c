// The tree of a program's tables for the project view, as the list of its
// lines now shown: a line per table, and under an expanded table a line per
// field and per data row (the rows bounded, with a last line that counts
// the rest). Lines are built by rebuild, on the way to the screen, never
// while painting.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "kernel/Kernel.h"

namespace qv {

struct TreeNode {
    enum class Kind : std::int32_t { Table, Field, Row, MoreRows };
    Kind kind = Kind::Table;
    std::int32_t table = 0;
    // The field index, the row key, or the count of rows not listed.
    std::int32_t item = 0;
    std::int32_t depth = 0;
    std::string text;
    bool expandable = false;
    bool expanded = false;
};

class TablesTreeModel final : public Object {
    QV_OBJECT(TablesTreeModel, Object, "TablesTreeModel")
  public:
    // The rows listed under a table; a million-row table lists these.
    static constexpr std::int32_t kMostRows = 100;

    explicit TablesTreeModel(const Pointer<Kernel>& kernel) : m_kernel(kernel) {}

    const Pointer<Kernel>& kernel() const noexcept { return m_kernel; }
    // Reads the program's tables again (they are computed first when the
    // program has changed).
    void rebuild();
    const std::vector<TreeNode>& lines() const noexcept { return m_lines; }
    std::int32_t lineCount() const noexcept { return static_cast<std::int32_t>(m_lines.size()); }

    // Expands or collapses the table of a table line; lines rebuilt.
    void setExpanded(std::int32_t line, bool expanded);
    // The line of a table, -1 when it is not shown.
    std::int32_t lineOfTable(std::int32_t table) const;
    std::int32_t lineOfTable(std::string_view name) const;
    // The line of the node's table.
    std::int32_t parentLine(std::int32_t line) const;
    // The node's table result; the null object when it is gone.
    Pointer<TableResult> tableOf(const TreeNode& node) const;
    // What a line names, as a rename or a where-used list takes it:
    // "Prices" on a table's line, "Prices.qty" on a field's; empty on any
    // other line and for a table or field without a name.
    std::string nameTarget(std::int32_t line) const;
    // The name a line shows for renaming (the table's or the field's).
    std::string currentName(std::int32_t line) const;

  private:
    void addTable(std::int32_t index, const Pointer<TableResult>& table);

    Pointer<Kernel> m_kernel;
    std::set<std::string> m_expanded;
    std::vector<TreeNode> m_lines;
};

}  // namespace qv
