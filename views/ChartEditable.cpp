#include "views/ChartEditable.h"

#include "charts/ChartBox.h"
#include "core/Assert.h"

namespace qv {

ChartEditable::ChartEditable(const Pointer<ChartModel>& model) : m_model(model) {
    QV_ASSERT(!model.isNull());
}

void ChartEditable::layoutWidth(std::int32_t widthHint) {
    toolkit::Size box = ChartBox::forWidth(widthHint);
    setBounds({0, 0, box.width, box.height});
}

void ChartEditable::layoutSize(toolkit::Size size) {
    toolkit::Size box = ChartBox::forSize(size);
    setBounds({0, 0, box.width, box.height});
}

void ChartEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    ChartBox::paint(graphics, m_plot, *m_model, bounds().translated(origin.x, origin.y));
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
