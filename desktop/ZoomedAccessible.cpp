#include "desktop/ZoomedAccessible.h"

#include <string>

namespace qv {

namespace {

using toolkit::AccessibleNode;
using NodePointer = std::shared_ptr<AccessibleNode>;

class ZoomedNode final : public AccessibleNode {
  public:
    ZoomedNode(NodePointer inner, std::shared_ptr<const WorkAreaZoom> zoom)
        : m_inner(std::move(inner)), m_zoom(std::move(zoom)) {}

    toolkit::AccessibleKey key() const override { return m_inner->key(); }
    toolkit::AccessibleRole role() const override { return m_inner->role(); }
    std::string name() const override { return m_inner->name(); }
    std::string value() const override { return m_inner->value(); }
    std::string description() const override { return m_inner->description(); }
    toolkit::Rect bounds() const override { return m_zoom->toWindow(m_inner->bounds()); }
    bool isAlive() const override { return m_inner->isAlive(); }
    bool isFocused() const override { return m_inner->isFocused(); }
    bool isError() const override { return m_inner->isError(); }
    NodePointer parent() const override { return wrap(m_inner->parent()); }
    std::int32_t childCount() const override { return m_inner->childCount(); }
    NodePointer child(std::int32_t index) const override { return wrap(m_inner->child(index)); }
    std::int32_t rowCount() const override { return m_inner->rowCount(); }
    std::int32_t columnCount() const override { return m_inner->columnCount(); }
    NodePointer cell(std::int32_t row, std::int32_t column) const override {
        return wrap(m_inner->cell(row, column));
    }
    std::string columnHeader(std::int32_t column) const override {
        return m_inner->columnHeader(column);
    }
    std::string rowHeader(std::int32_t row) const override { return m_inner->rowHeader(row); }
    NodePointer focusedChild() const override { return wrap(m_inner->focusedChild()); }
    std::int32_t row() const override { return m_inner->row(); }
    std::int32_t column() const override { return m_inner->column(); }
    std::int32_t caret() const override { return m_inner->caret(); }
    bool isEditable() const override { return m_inner->isEditable(); }

  private:
    NodePointer wrap(NodePointer node) const { return zoomedNode(std::move(node), m_zoom); }

    NodePointer m_inner;
    std::shared_ptr<const WorkAreaZoom> m_zoom;
};

}  // namespace

NodePointer zoomedNode(NodePointer node, std::shared_ptr<const WorkAreaZoom> zoom) {
    if (!node) return node;
    return std::make_shared<ZoomedNode>(std::move(node), std::move(zoom));
}

}  // namespace qv
