#include "charts/ChartPicture.h"

namespace qv {

ChartPicture::ChartPicture(const Pointer<ChartModel>& model, toolkit::Size size)
    : m_chart(make<ChartEditable>(model)) {
    m_chart->layoutSize(size);
}

toolkit::Size ChartPicture::size() const noexcept {
    return {m_chart->bounds().width, m_chart->bounds().height};
}

void ChartPicture::paint(toolkit::Graphics& graphics) const {
    m_chart->paint(graphics, {0, 0});
}

}  // namespace qv
