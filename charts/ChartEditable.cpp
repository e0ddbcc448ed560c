#include "charts/ChartEditable.h"

#include <algorithm>

#include "core/Assert.h"
#include "editing/EditableSupport.h"

namespace qv {
namespace {

// Height to width of a chart laid out by width alone.
std::int32_t heightFor(std::int32_t width) {
    return width * 3 / 4;
}

}  // namespace

ChartEditable::ChartEditable(const Pointer<ChartModel>& model) : m_model(model) {
    QV_ASSERT(!model.isNull());
}

void ChartEditable::layoutWidth(std::int32_t widthHint) {
    std::int32_t width = std::clamp(widthHint, kNarrowest, kWidest);
    setBounds({0, 0, width, heightFor(width)});
}

void ChartEditable::layoutSize(toolkit::Size size) {
    setBounds(
        {0, 0, std::max(size.width, kNarrowest), std::max(size.height, heightFor(kNarrowest))});
}

void ChartEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty()) return;
    toolkit::GraphicsScope scope(graphics, area);
    graphics.setColor(EditableSupport::kViewColor);
    graphics.fillRect(area);
    m_plot.paint(graphics, *m_model, area);
}

StringPointer ChartEditable::getTitle() const {
    return str(m_model->title()->toStdString() + " chart view");
}

void ChartEditable::writeSource(std::string& out, std::int32_t) const {
    out += "chart(";
    out += m_model->textForm()->view();
    out += ");\n";
}

}  // namespace qv
