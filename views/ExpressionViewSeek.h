// Passed down the work area: the views whose directive holds an expression
// (result and project views), which a rename rewrites and a where-used
// list shows. Views inside them (the list of tables of a project view) are
// no directive of their own and are not collected.
#pragma once

#include <vector>

#include "editing/AbstractEditable.h"

namespace qv {

class ExpressionViewSeek final : public Object {
    QV_OBJECT(ExpressionViewSeek, Object, "ExpressionViewSeek")
  public:
    const std::vector<Pointer<AbstractEditable>>& views() const noexcept { return m_views; }
    void add(Pointer<AbstractEditable> view) { m_views.push_back(std::move(view)); }

  private:
    std::vector<Pointer<AbstractEditable>> m_views;
};

}  // namespace qv
