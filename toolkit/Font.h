// Fonts by family, pixel size and weight, and their metrics. Texts are
// UTF-8; widths are measured for whole texts, because a character's width
// alone does not give a text's width in every font (kerning).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::toolkit {

struct Font {
    std::string family = "arial";
    std::int32_t pixelSize = 16;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

class FontMetrics {
  public:
    virtual ~FontMetrics() = default;
    virtual std::int32_t ascent() const = 0;
    virtual std::int32_t descent() const = 0;
    std::int32_t height() const { return ascent() + descent(); }
    virtual std::int32_t textWidth(std::string_view utf8) const = 0;
};

}  // namespace qv::toolkit
