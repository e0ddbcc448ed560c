// Points, sizes, rectangles and colours in integer pixels: the vocabulary
// of everything that draws, shared by the toolkit's backends and the
// editables. Plain values, no platform types.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qv::toolkit {

// A sum of coordinates that stops at the ends of the integer range instead
// of wrapping: a view far out at the edge of the range stays there.
constexpr std::int32_t saturatingAdd(std::int32_t a, std::int32_t b) noexcept {
    std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The widest or tallest anything is laid out: a hundred million pixels.
// Frames stand within a million pixels of the work area's corner, so a
// position plus a score of sizes and offsets stays inside the int32 range.
inline constexpr std::int32_t kMaxExtent = 100'000'000;

// A size computed in 64 bits, limited to 0 ... kMaxExtent.
constexpr std::int32_t limitExtent(std::int64_t size) noexcept {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(size, 0, kMaxExtent));
}

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::int32_t right() const noexcept { return saturatingAdd(x, width); }
    std::int32_t bottom() const noexcept { return saturatingAdd(y, height); }
    bool isEmpty() const noexcept { return width <= 0 || height <= 0; }
    bool contains(Point p) const noexcept {
        return p.x >= x && p.x < right() && p.y >= y && p.y < bottom();
    }
    Rect translated(std::int32_t dx, std::int32_t dy) const noexcept {
        return {saturatingAdd(x, dx), saturatingAdd(y, dy), width, height};
    }
    // The common part; empty (zero size) when they do not meet.
    Rect intersected(const Rect& other) const noexcept {
        std::int32_t left = std::max(x, other.x);
        std::int32_t top = std::max(y, other.y);
        std::int32_t r = std::min(right(), other.right());
        std::int32_t b = std::min(bottom(), other.bottom());
        if (r <= left || b <= top) return {left, top, 0, 0};
        // Both edges lie within one rectangle, whose size is an int32.
        return {left, top, static_cast<std::int32_t>(std::int64_t{r} - left),
                static_cast<std::int32_t>(std::int64_t{b} - top)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;

    static constexpr Color grey(std::uint8_t level) { return {level, level, level}; }
};

}  // namespace qv::toolkit
