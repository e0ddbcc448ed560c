#include "app/HeadlessViewFactory.h"

#include "core/Assert.h"
#include "core/Errors.h"

namespace qv {

namespace {

Pointer<Object> view(ElementKind kind, const StringPointer& argument) {
    return make<ViewElement>(kind, argument);
}

}  // namespace

Pointer<Object> HeadlessViewFactory::makeLayoutRoot() {
    return make<Layout>();
}

Pointer<Object> HeadlessViewFactory::makeTextArea(const StringPointer& text) {
    return view(ElementKind::kTextArea, text);
}

Pointer<Object> HeadlessViewFactory::makeResultView(const StringPointer& expression) {
    return view(ElementKind::kResultView, expression);
}

Pointer<Object> HeadlessViewFactory::makePropertiesView() {
    return view(ElementKind::kPropertiesView, str(""));
}

Pointer<Object> HeadlessViewFactory::makeExplainView(const Pointer<Kernel>&) {
    return view(ElementKind::kExplainView, str(""));
}

// The desktop asks the kernel for the computed table result; the name is
// resolved by the same linked program here, without computing every table
// of a document nobody looks at.
Pointer<Object> HeadlessViewFactory::makeChart(const Pointer<Kernel>& kernel,
                                               const StringPointer& tableName) {
    if (kernel->getTableIndex(tableName->view()) < 0) throwMessage("table not found");
    return view(ElementKind::kChart, tableName);
}

Pointer<Object> HeadlessViewFactory::makeProjectView(const Pointer<Kernel>&,
                                                     const StringPointer& expression) {
    return view(ElementKind::kProjectView, expression);
}

Pointer<Object> HeadlessViewFactory::makeLayoutTable() {
    return make<LayoutTable>();
}

Pointer<Object> HeadlessViewFactory::makeFrame(const Pointer<Object>& view,
                                               FramePlacement placement,
                                               const ItemComments& comments) {
    auto frame = make<Frame>(own<LayoutElement>(view), placement);
    frame->setComments(comments);
    return frame;
}

void HeadlessViewFactory::putCell(const Pointer<Object>& layoutTable, std::int32_t row,
                                  std::int32_t column, const Pointer<Object>& frame) {
    own<LayoutTable>(layoutTable)->put(row, column, own<Frame>(frame));
}

void HeadlessViewFactory::placeFrame(const Pointer<Object>& root, const Pointer<Object>& frame,
                                     std::int32_t x, std::int32_t y) {
    Pointer<Frame> placed = own<Frame>(frame);
    placed->moveTo(x, y);
    own<Layout>(root)->add(placed);
}

void HeadlessViewFactory::keepEndComments(const Pointer<Object>& root,
                                          const StringPointer& comments) {
    own<Layout>(root)->setEndComments(comments);
}

}  // namespace qv
