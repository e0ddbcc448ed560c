#include "desktop/DesktopViewFactory.h"

#include "app/LayoutElement.h"
#include "core/Assert.h"
#include "core/Errors.h"
#include "desktop/DirectiveEditable.h"
#include "desktop/KeptComments.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/LayoutTableEditable.h"
#include "editing/TextEditable.h"
#include "editing/TitleDecorator.h"

namespace qv {

namespace {

Pointer<AbstractEditable> directive(ElementKind kind, const StringPointer& argument) {
    return make<DirectiveEditable>(make<ViewElement>(kind, argument));
}

FramePlacement framePlacementOf(Placement placement) {
    switch (placement) {
        case Placement::kMaximized:
            return FramePlacement::Maximized;
        case Placement::kOptimized:
            return FramePlacement::Optimized;
        case Placement::kFloating:
            return FramePlacement::Floating;
        case Placement::kInTable:
            break;
    }
    return FramePlacement::InTable;
}

}  // namespace

Pointer<AbstractEditable> DesktopViewFactory::makeLayoutTableView() {
    return make<LayoutTableEditable>(kLayoutTableGap, kLayoutTableEmptyMargin);
}

Pointer<AbstractEditable> DesktopViewFactory::makeProjectElement(const StringPointer& expression) {
    return directive(ElementKind::kProjectView, expression);
}

Pointer<AbstractEditable> DesktopViewFactory::makePropertiesElement() {
    return directive(ElementKind::kPropertiesView, str(""));
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
    return directive(ElementKind::kResultView, expression);
}

Pointer<Object> DesktopViewFactory::makePropertiesView() {
    return makePropertiesElement();
}

Pointer<Object> DesktopViewFactory::makeChart(const Pointer<Kernel>& kernel,
                                              const StringPointer& tableName) {
    if (kernel->getTableIndex(tableName->view()) < 0) throwMessage("table not found");
    return directive(ElementKind::kChart, tableName);
}

Pointer<Object> DesktopViewFactory::makeProjectView(const Pointer<Kernel>&,
                                                    const StringPointer& expression) {
    return makeProjectElement(expression);
}

Pointer<Object> DesktopViewFactory::makeLayoutTable() {
    Pointer<AbstractEditable> table = makeLayoutTableView();
    table->attach(m_support);
    return table;
}

Pointer<Object> DesktopViewFactory::makeFrame(const Pointer<Object>& view, Placement placement,
                                              const ItemComments& comments) {
    auto frame = make<TitleDecorator>(own<AbstractEditable>(view));
    frame->setPlacement(framePlacementOf(placement));
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
