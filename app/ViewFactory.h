// ViewFactory: what the document reader asks of whoever shows a document.
// The reader knows the grammar; the factory makes the views, frames and
// layout tables and places them. The desktop main panel makes windows;
// HeadlessViewFactory makes plain data. Views, frames, layout tables and
// the layout root are the factory's own objects, passed back to it as they
// came; the reader never looks inside them.
#pragma once

#include <cstdint>

#include "core/Assert.h"
#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"
#include "kernel/Kernel.h"
#include "language/Comments.h"
#include "layout/FramePlacement.h"

namespace qv {

class ViewFactory : public Object {
    QV_ABSTRACT_OBJECT(ViewFactory, Object)
  public:
    // The kernel the reading fills, told before any view is asked for, so
    // that views which evaluate their expression can keep it.
    virtual void useKernel(const Pointer<Kernel>&) {}

    // The layout root that receives the top-level frames of one reading.
    virtual Pointer<Object> makeLayoutRoot() = 0;

    virtual Pointer<Object> makeTextArea(const StringPointer& text) = 0;
    virtual Pointer<Object> makeResultView(const StringPointer& expression) = 0;
    virtual Pointer<Object> makePropertiesView() = 0;
    // A chart of the table result of that name; fails with "table not found"
    // when the kernel has no such table.
    virtual Pointer<Object> makeChart(const Pointer<Kernel>& kernel,
                                      const StringPointer& tableName) = 0;
    virtual Pointer<Object> makeProjectView(const Pointer<Kernel>& kernel,
                                            const StringPointer& expression) = 0;
    // A view that explains the selected cell of the kernel's results.
    virtual Pointer<Object> makeExplainView(const Pointer<Kernel>& kernel) = 0;
    // An empty layout table, 1 by 1.
    virtual Pointer<Object> makeLayoutTable() = 0;

    // A frame around a view made above, with the comments the document
    // holds before the view's directive and at the end of its line; a
    // frame that is saved writes them back around its directive.
    virtual Pointer<Object> makeFrame(const Pointer<Object>& view, FramePlacement placement,
                                      const ItemComments& comments) = 0;
    // Puts a frame at (row, column) of a layout table, growing its grid.
    virtual void putCell(const Pointer<Object>& layoutTable, std::int32_t row, std::int32_t column,
                         const Pointer<Object>& frame) = 0;
    // Adds a top-level frame on top of the root's frames, laid out afresh,
    // with its top-left corner at (x, y).
    virtual void placeFrame(const Pointer<Object>& root, const Pointer<Object>& frame,
                            std::int32_t x, std::int32_t y) = 0;
    // The comments at the end of the document, before its end mark (the
    // null object when there are none), for the root to write last.
    virtual void keepEndComments(const Pointer<Object>& root, const StringPointer& comments) = 0;

  protected:
    // The objects the reader hands back are the ones this factory made.
    template <class T>
    static Pointer<T> own(const Pointer<Object>& object) {
        Pointer<T> typed = cast<T>(object);
        QV_ASSERT(!typed.isNull());
        return typed;
    }
};

}  // namespace qv
