#include "charts/ChartPicture.h"

#include "charts/ChartBox.h"
#include "core/Assert.h"

namespace qv {

ChartPicture::ChartPicture(const Pointer<ChartModel>& model, toolkit::Size size)
    : m_model(model), m_size(ChartBox::forSize(size)) {
    QV_ASSERT(!model.isNull());
}

toolkit::Size ChartPicture::size() const noexcept {
    return m_size;
}

void ChartPicture::paint(toolkit::Graphics& graphics) const {
    ChartBox::paint(graphics, m_plot, *m_model, {0, 0, m_size.width, m_size.height});
}

}  // namespace qv
