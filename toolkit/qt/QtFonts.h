// Fonts of the toolkit as Qt fonts, and their metrics. Sizes are pixel
// sizes in logical pixels, so a high-DPI screen scales them like
// everything else drawn.
#pragma once

#include <QFont>
#include <QFontMetrics>

#include "toolkit/Font.h"

namespace qv::toolkit {

// How texts are shaped. Pages of a long PDF carry many thousands of texts,
// and shaping each one (kerning) takes half the time of writing them;
// digits and names read the same without it. The screen keeps full shaping.
enum class TextShaping { Full, Simple };

// The Qt font for a toolkit font; "arial" finds a metric-compatible
// substitute when Arial itself is not installed (see installFontSubstitutes).
QFont toQFont(const Font& font, TextShaping shaping = TextShaping::Full);

// Registers substitutes for the families the program asks for by name and
// a system may lack. Called once the application object exists.
void installFontSubstitutes();

class QtFontMetrics final : public FontMetrics {
  public:
    explicit QtFontMetrics(const Font& font, TextShaping shaping = TextShaping::Full)
        : m_metrics(toQFont(font, shaping)) {}
    std::int32_t ascent() const override { return m_metrics.ascent(); }
    std::int32_t descent() const override { return m_metrics.descent(); }
    std::int32_t textWidth(std::string_view utf8) const override;

  private:
    QFontMetrics m_metrics;
};

}  // namespace qv::toolkit
