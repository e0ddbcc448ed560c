#include "views/ProjectEditable.h"

#include "views/ExpressionViewSeek.h"
#include "views/TableControllers.h"

namespace qv {

ProjectEditable::ProjectEditable(ViewHost& host, const Pointer<Kernel>& kernel,
                                 const StringPointer& expression)
    : m_expression(expression),
      m_tree(make<TreeEditable>(make<TablesTreeModel>(kernel))),
      m_tables(make<ResultEditable>(kernel, str("tables"), host.viewSettings(),
                                    make<IconSelectTableController>(host))),
      m_splitter(make<SpliterEditable>(m_tree, m_tables)) {
    m_tree->setController(make<SelectTableTreeController>(host));
    setInnerView(m_splitter);
}

void ProjectEditable::refresh() {
    m_splitter->refresh();
    if (m_placed) return;
    m_placed = true;
    std::int32_t line = m_tree->model()->lineOfTable(m_expression->trim()->view());
    if (line >= 0) m_tree->selectLine(line);
}

StringPointer ProjectEditable::getTitle() const {
    return str("project  - " + m_expression->toStdString());
}

void ProjectEditable::writeSource(std::string& out, std::int32_t) const {
    out += "project(";
    out += m_expression->view();
    out += ");\n";
}

void ProjectEditable::notify(const Pointer<Object>& message) {
    if (auto seek = cast<ExpressionViewSeek>(message); !seek.isNull()) {
        seek->add(Pointer<AbstractEditable>(this));
        return;
    }
    InnerViewEditable::notify(message);
}

}  // namespace qv
