#include "desktop/DesktopViewFactory.h"

#include "app/KeptComments.h"
#include "app/LayoutElement.h"
#include "core/Assert.h"
#include "core/Errors.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/LayoutTableEditable.h"
#include "editing/TextEditable.h"
#include "editing/TitleDecorator.h"
#include "views/ExplainEditable.h"
#include "views/ProjectEditable.h"
#include "views/PropertiesEditable.h"
#include "views/ResultEditable.h"
#include "views/TableChartView.h"
#include "views/TableControllers.h"

namespace qv {

Pointer<AbstractEditable> DesktopViewFactory::makeLayoutTableView() {
    return make<LayoutTableEditable>(kLayoutTableGap, kLayoutTableEmptyMargin);
}

Pointer<AbstractEditable> DesktopViewFactory::makeResultElement(ViewHost& host,
                                                                const Pointer<Kernel>& kernel,
                                                                const StringPointer& expression) {
    return make<ResultEditable>(kernel, expression, host.viewSettings(),
                                make<IconSelectTableController>(host));
}

Pointer<AbstractEditable> DesktopViewFactory::makeChartElement(const Pointer<Kernel>& kernel,
                                                               const StringPointer& tableName) {
    if (kernel->getTableIndex(tableName->view()) < 0) throwMessage("table not found");
    return make<TableChartView>(kernel, tableName);
}

Pointer<AbstractEditable> DesktopViewFactory::makeProjectElement(ViewHost& host,
                                                                 const Pointer<Kernel>& kernel,
                                                                 const StringPointer& expression) {
    return make<ProjectEditable>(host, kernel, expression);
}

Pointer<AbstractEditable> DesktopViewFactory::makePropertiesElement(ViewHost& host) {
    return make<PropertiesEditable>(host);
}

Pointer<AbstractEditable> DesktopViewFactory::makeExplainElement(ViewHost& host) {
    return make<ExplainEditable>(host);
}

Pointer<Object> DesktopViewFactory::makeLayoutRoot() {
    auto root = make<FloatLayoutEditable>();
    root->attach(m_support);
    return root;
}

Pointer<Object> DesktopViewFactory::makeTextArea(const StringPointer& text) {
    return make<TextEditable>(text->view());
}

Pointer<Object> DesktopViewFactory::makeResultView(const StringPointer& expression) {
    QV_ASSERT(!m_kernel.isNull());
    return makeResultElement(*m_host, m_kernel, expression);
}

Pointer<Object> DesktopViewFactory::makePropertiesView() {
    return makePropertiesElement(*m_host);
}

// The view explains the kernel its host holds once the document is read.
Pointer<Object> DesktopViewFactory::makeExplainView(const Pointer<Kernel>&) {
    return makeExplainElement(*m_host);
}

Pointer<Object> DesktopViewFactory::makeChart(const Pointer<Kernel>& kernel,
                                              const StringPointer& tableName) {
    return makeChartElement(kernel, tableName);
}

Pointer<Object> DesktopViewFactory::makeProjectView(const Pointer<Kernel>& kernel,
                                                    const StringPointer& expression) {
    return makeProjectElement(*m_host, kernel, expression);
}

Pointer<Object> DesktopViewFactory::makeLayoutTable() {
    Pointer<AbstractEditable> table = makeLayoutTableView();
    table->attach(m_support);
    return table;
}

Pointer<Object> DesktopViewFactory::makeFrame(const Pointer<Object>& view, FramePlacement placement,
                                              const ItemComments& comments) {
    auto frame = make<TitleDecorator>(own<AbstractEditable>(view));
    frame->setPlacement(placement);
    if (!comments.isEmpty()) frame->setNotes(make<KeptComments>(comments));
    frame->attach(m_support);
    return frame;
}

void DesktopViewFactory::putCell(const Pointer<Object>& layoutTable, std::int32_t row,
                                 std::int32_t column, const Pointer<Object>& frame) {
    own<LayoutTableEditable>(layoutTable)->put(own<AbstractEditable>(frame), row, column);
}

void DesktopViewFactory::placeFrame(const Pointer<Object>& root, const Pointer<Object>& frame,
                                    std::int32_t x, std::int32_t y) {
    Pointer<AbstractEditable> placed = own<AbstractEditable>(frame);
    own<FloatLayoutEditable>(root)->add(placed);
    placed->layoutWidth(FloatLayoutEditable::kFrameWidthHint);
    placed->moveBy({x, y});
}

void DesktopViewFactory::keepEndComments(const Pointer<Object>&, const StringPointer& comments) {
    m_endComments = comments;
}

}  // namespace qv
