// HeadlessViewFactory: the view factory without windows. It builds the
// layout as plain data (Layout, Frame, ViewElement, LayoutTable) and makes
// the same checks the desktop makes while reading, so a document that reads
// here reads there.
#pragma once

#include "app/Layout.h"
#include "app/LayoutTable.h"
#include "app/ViewFactory.h"

namespace qv {

class HeadlessViewFactory final : public ViewFactory {
    QV_OBJECT(HeadlessViewFactory, ViewFactory, "HeadlessViewFactory")
  public:
    Pointer<Object> makeLayoutRoot() override;
    Pointer<Object> makeTextArea(const StringPointer& text) override;
    Pointer<Object> makeResultView(const StringPointer& expression) override;
    Pointer<Object> makePropertiesView() override;
    Pointer<Object> makeExplainView(const Pointer<Kernel>& kernel) override;
    Pointer<Object> makeChart(const Pointer<Kernel>& kernel,
                              const StringPointer& tableName) override;
    Pointer<Object> makeProjectView(const Pointer<Kernel>& kernel,
                                    const StringPointer& expression) override;
    Pointer<Object> makeLayoutTable() override;
    Pointer<Object> makeFrame(const Pointer<Object>& view, FramePlacement placement,
                              const ItemComments& comments) override;
    void putCell(const Pointer<Object>& layoutTable, std::int32_t row, std::int32_t column,
                 const Pointer<Object>& frame) override;
    void placeFrame(const Pointer<Object>& root, const Pointer<Object>& frame, std::int32_t x,
                    std::int32_t y) override;
    void keepEndComments(const Pointer<Object>& root, const StringPointer& comments) override;
};

}  // namespace qv
