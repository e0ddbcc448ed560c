#include "views/TablesTreeModel.h"

#include <algorithm>

#include "kernel/NameTarget.h"
#include "kernel/TableResult.h"

namespace qv {

void TablesTreeModel::rebuild() {
    m_lines.clear();
    for (std::int32_t index = 0; index < m_kernel->getTableCount(); ++index) {
        Pointer<TableResult> table = m_kernel->getTable(index);
        if (!table.isNull()) addTable(index, table);
    }
}

void TablesTreeModel::addTable(std::int32_t index, const Pointer<TableResult>& table) {
    std::string name = table->name()->toStdString();
    bool expanded = m_expanded.count(name) > 0;
    bool hasChildren = table->fieldCount() > 0 || table->rowCount() > 1;
    m_lines.push_back({TreeNode::Kind::Table, index, 0, 0, name, hasChildren, expanded});
    if (!expanded) return;
    for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
        StringPointer fieldName = table->fieldName(field);
        std::string text = fieldName.isNull() || fieldName->view().empty()
                               ? "(" + std::to_string(field) + ")"
                               : fieldName->toStdString();
        m_lines.push_back({TreeNode::Kind::Field, index, field, 1, text, false, false});
    }
    // Row keys 1 ... rowCount - 1 are the data rows.
    std::int32_t rows = std::max(0, table->rowCount() - 1);
    std::int32_t listed = std::min(rows, kMostRows);
    for (std::int32_t row = 1; row <= listed; ++row) {
        m_lines.push_back(
            {TreeNode::Kind::Row, index, row, 1, "[" + std::to_string(row) + "]", false, false});
    }
    if (rows > listed) {
        std::int32_t rest = rows - listed;
        m_lines.push_back({TreeNode::Kind::MoreRows, index, rest, 1,
                           "... " + std::to_string(rest) + " more rows", false, false});
    }
}

void TablesTreeModel::setExpanded(std::int32_t line, bool expanded) {
    if (line < 0 || line >= lineCount()) return;
    const TreeNode& node = m_lines[static_cast<std::size_t>(line)];
    if (node.kind != TreeNode::Kind::Table || !node.expandable) return;
    if (expanded) {
        m_expanded.insert(node.text);
    } else {
        m_expanded.erase(node.text);
    }
    rebuild();
}

std::int32_t TablesTreeModel::lineOfTable(std::int32_t table) const {
    for (std::int32_t line = 0; line < lineCount(); ++line) {
        const TreeNode& node = m_lines[static_cast<std::size_t>(line)];
        if (node.kind == TreeNode::Kind::Table && node.table == table) return line;
    }
    return -1;
}

std::int32_t TablesTreeModel::lineOfTable(std::string_view name) const {
    for (std::int32_t line = 0; line < lineCount(); ++line) {
        const TreeNode& node = m_lines[static_cast<std::size_t>(line)];
        if (node.kind == TreeNode::Kind::Table && node.text == name) return line;
    }
    return -1;
}

std::int32_t TablesTreeModel::parentLine(std::int32_t line) const {
    if (line < 0 || line >= lineCount()) return -1;
    return lineOfTable(m_lines[static_cast<std::size_t>(line)].table);
}

Pointer<TableResult> TablesTreeModel::tableOf(const TreeNode& node) const {
    if (node.table < 0 || node.table >= m_kernel->getTableCount()) return {};
    return m_kernel->getTable(node.table);
}

std::string TablesTreeModel::nameTarget(std::int32_t line) const {
    if (line < 0 || line >= lineCount()) return {};
    const TreeNode& node = m_lines[static_cast<std::size_t>(line)];
    if (node.kind != TreeNode::Kind::Table && node.kind != TreeNode::Kind::Field) return {};
    Pointer<TableResult> table = tableOf(node);
    if (table.isNull() || table->name().isNull() || table->name()->length() == 0) return {};
    NameTarget target;
    target.table = table->name()->toStdString();
    if (node.kind == TreeNode::Kind::Field) {
        if (node.item < 0 || node.item >= table->fieldCount()) return {};
        StringPointer field = table->fieldName(node.item);
        if (field.isNull() || field->length() == 0) return {};
        target.kind = NameTarget::Kind::kField;
        target.name = field->toStdString();
    }
    return target.label();
}

std::string TablesTreeModel::currentName(std::int32_t line) const {
    if (nameTarget(line).empty()) return {};
    const TreeNode& node = m_lines[static_cast<std::size_t>(line)];
    Pointer<TableResult> table = tableOf(node);
    StringPointer name =
        node.kind == TreeNode::Kind::Field ? table->fieldName(node.item) : table->name();
    return name->toStdString();
}

}  // namespace qv
