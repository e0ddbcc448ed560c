// The project view: a splitter with the tree of the program's tables on
// the left and the result view of "tables" (the list of tables) on the
// right. Its expression text is kept as the document wrote it; when it
// names a table, the tree starts on that table.
#pragma once

#include "views/InnerViewEditable.h"
#include "views/ResultEditable.h"
#include "views/SpliterEditable.h"
#include "views/TreeEditable.h"
#include "views/ViewHost.h"

namespace qv {

class ProjectEditable final : public InnerViewEditable {
    QV_OBJECT(ProjectEditable, InnerViewEditable, "ProjectEditable")
  public:
    // `host` must outlive the view (the main panel does).
    ProjectEditable(ViewHost& host, const Pointer<Kernel>& kernel, const StringPointer& expression);

    const StringPointer& expression() const noexcept { return m_expression; }
    // A rename rewrites the names in it.
    void setExpression(const StringPointer& expression) { m_expression = expression; }
    const Pointer<TreeEditable>& tree() const noexcept { return m_tree; }
    const Pointer<ResultEditable>& tables() const noexcept { return m_tables; }
    const Pointer<SpliterEditable>& splitter() const noexcept { return m_splitter; }

    void refresh() override;
    StringPointer getTitle() const override;
    void writeSource(std::string& out, std::int32_t indent) const override;
    void notify(const Pointer<Object>& message) override;

  private:
    StringPointer m_expression;
    Pointer<TreeEditable> m_tree;
    Pointer<ResultEditable> m_tables;
    Pointer<SpliterEditable> m_splitter;
    bool m_placed = false;
};

}  // namespace qv
