#include "desktop/WorkAreaZoom.h"

#include <algorithm>
#include <array>
#include <limits>

namespace qv {

namespace {

constexpr std::array<std::int32_t, 12> kSteps = {50,  67,  75,  90,  100, 110,
                                                 125, 150, 175, 200, 250, 300};

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Division that rounds toward minus infinity, for negative positions too.
std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    if (value % divisor != 0 && value < 0) --quotient;
    return quotient;
}

std::int64_t ceilDivide(std::int64_t value, std::int64_t divisor) {
    return -floorDivide(-value, divisor);
}

}  // namespace

std::span<const std::int32_t> WorkAreaZoom::steps() {
    return kSteps;
}

void WorkAreaZoom::setPercent(std::int32_t percent) {
    m_percent = std::clamp(percent, kMinPercent, kMaxPercent);
}

bool WorkAreaZoom::zoomIn() {
    auto next = std::upper_bound(kSteps.begin(), kSteps.end(), m_percent);
    if (next == kSteps.end()) return false;
    m_percent = *next;
    return true;
}

bool WorkAreaZoom::zoomOut() {
    auto next = std::lower_bound(kSteps.begin(), kSteps.end(), m_percent);
    if (next == kSteps.begin()) return false;
    m_percent = *(next - 1);
    return true;
}

std::int32_t WorkAreaZoom::toWindow(std::int32_t logical) const noexcept {
    return clampToInt32(floorDivide(std::int64_t{logical} * m_percent + 50, 100));
}

toolkit::Point WorkAreaZoom::toWindow(toolkit::Point logical) const noexcept {
    return {toWindow(logical.x), toWindow(logical.y)};
}

toolkit::Rect WorkAreaZoom::toWindow(const toolkit::Rect& logical) const noexcept {
    std::int32_t left = toWindow(logical.x);
    std::int32_t top = toWindow(logical.y);
    std::int32_t right = toWindow(logical.right());
    std::int32_t bottom = toWindow(logical.bottom());
    return {left, top, clampToInt32(std::int64_t{right} - left),
            clampToInt32(std::int64_t{bottom} - top)};
}

std::int32_t WorkAreaZoom::toWorkArea(std::int32_t physical) const noexcept {
    return clampToInt32(floorDivide(std::int64_t{physical} * 100, m_percent));
}

toolkit::Point WorkAreaZoom::toWorkArea(toolkit::Point physical) const noexcept {
    return {toWorkArea(physical.x), toWorkArea(physical.y)};
}

toolkit::Rect WorkAreaZoom::toWorkArea(const toolkit::Rect& physical) const noexcept {
    std::int64_t left = floorDivide(std::int64_t{physical.x} * 100, m_percent);
    std::int64_t top = floorDivide(std::int64_t{physical.y} * 100, m_percent);
    std::int64_t right = ceilDivide(std::int64_t{physical.right()} * 100, m_percent);
    std::int64_t bottom = ceilDivide(std::int64_t{physical.bottom()} * 100, m_percent);
    return {clampToInt32(left), clampToInt32(top), clampToInt32(right - left),
            clampToInt32(bottom - top)};
}

toolkit::Size WorkAreaZoom::toWorkArea(toolkit::Size physical) const noexcept {
    // The part of a pixel left over at the edge still shows a little.
    return {clampToInt32(ceilDivide(std::int64_t{physical.width} * 100, m_percent)),
            clampToInt32(ceilDivide(std::int64_t{physical.height} * 100, m_percent))};
}

}  // namespace qv
