// The work area's accessible nodes in Qt's accessibility framework, which
// hands them to the platform's (AT-SPI on Linux): an interface for the work
// area widget, installed as a factory, and one interface per node a reader
// asked for, registered under the node's key so the same cell is the same
// object however often it is asked. Nodes are made on request; so are
// these, and a grid's cells only when a reader reaches them.
#pragma once

#include <QAccessible>
#include <QPointer>
#include <memory>
#include <unordered_map>

#include "toolkit/Accessible.h"
#include "toolkit/qt/QtAccessibleNode.h"

class QWidget;

namespace qv::toolkit {

// One per work area widget, which Qt then asks it for.
class QtAccessibility final : public QtAccessibleRegistry {
  public:
    explicit QtAccessibility(QWidget& area);
    ~QtAccessibility();
    QtAccessibility(const QtAccessibility&) = delete;
    QtAccessibility& operator=(const QtAccessibility&) = delete;

    // Makes Qt ask us for the work area's interface (once per program).
    static void installFactory();

    const std::shared_ptr<AccessibleNode>& root() const noexcept { return m_root; }
    // Forgets every interface made for the old root.
    void setRoot(std::shared_ptr<AccessibleNode> root);
    // Passed on to the platform when a reader listens.
    void changed(AccessibleChange change, const std::shared_ptr<AccessibleNode>& node);

    // The interface for a node: the work area's own for the root, else the
    // one registered for its key (made now if there is none). Null for null.
    QAccessibleInterface* interfaceFor(const std::shared_ptr<AccessibleNode>& node) override;
    QWidget& widget() const override { return m_area; }
    // The one of a work area widget; null for any other object.
    static QtAccessibility* of(const QObject* object);

  private:
    void forgetAll();
    void forgetGone();

    QWidget& m_area;
    std::shared_ptr<AccessibleNode> m_root;
    std::unordered_map<AccessibleKey, QAccessible::Id, AccessibleKeyHash> m_ids;
};

}  // namespace qv::toolkit
