// The view factory of the desktop program: the document reader's second
// pass builds live editables with it. Frames are TitleDecorators that keep
// their placement and the comments around their directive, text areas are
// TextEditables, layout tables LayoutTableEditables and the layout root a
// FloatLayoutEditable. Result views evaluate their expression in the
// kernel being read; charts, project views and the properties view ask the
// host (the main panel) for what they need. Nothing is computed while
// reading: the views show their values from their first refresh on.
#pragma once

#include "app/ViewFactory.h"
#include "editing/EditableSupport.h"
#include "views/ViewHost.h"

namespace qv {

class DesktopViewFactory final : public ViewFactory {
    QV_OBJECT(DesktopViewFactory, ViewFactory, "DesktopViewFactory")
  public:
    // The layout gap and the margin of an empty table, in pixels.
    static constexpr std::int32_t kLayoutTableGap = 6;
    static constexpr std::int32_t kLayoutTableEmptyMargin = 20;

    // What it makes is attached to the window's support at once: frames
    // are laid out while they are read, with the window's fonts. The
    // support must outlive the factory.
    DesktopViewFactory(EditableSupport& support, ViewHost& host)
        : m_support(&support), m_host(&host) {}

    void useKernel(const Pointer<Kernel>& kernel) override { m_kernel = kernel; }
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

    // The comments after the document's last item, to be written after the
    // layout; the null object when there are none.
    const StringPointer& endComments() const noexcept { return m_endComments; }

    // The views the menus and dialogs add make the same elements as the
    // reader.
    static Pointer<AbstractEditable> makeLayoutTableView();
    static Pointer<AbstractEditable> makeResultElement(ViewHost& host,
                                                       const Pointer<Kernel>& kernel,
                                                       const StringPointer& expression);
    static Pointer<AbstractEditable> makeChartElement(const Pointer<Kernel>& kernel,
                                                      const StringPointer& tableName);
    static Pointer<AbstractEditable> makeProjectElement(ViewHost& host,
                                                        const Pointer<Kernel>& kernel,
                                                        const StringPointer& expression);
    static Pointer<AbstractEditable> makePropertiesElement(ViewHost& host);
    static Pointer<AbstractEditable> makeExplainElement(ViewHost& host);

  private:
    EditableSupport* m_support;
    ViewHost* m_host;
    Pointer<Kernel> m_kernel;
    StringPointer m_endComments;
};

}  // namespace qv
