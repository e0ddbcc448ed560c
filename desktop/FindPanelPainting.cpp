// The find panel's geometry and drawing: rows of controls over the list of
// results, only the lines in sight drawn.
#include <algorithm>
#include <memory>

#include "core/Utf8.h"
#include "desktop/ControlPainting.h"
#include "desktop/FindPanel.h"
#include "editing/EditableSupport.h"

namespace qv {

namespace {

constexpr std::int32_t kLabelWidth = 60;
constexpr std::int32_t kFieldWidth = 250;
constexpr std::int32_t kButtonWidth = 90;
constexpr std::int32_t kControlHeight = 22;
constexpr std::int32_t kGap = 8;
constexpr std::int32_t kBoxSide = 11;
constexpr std::int32_t kCloseSide = 18;
constexpr std::int32_t kPlaceWidth = 170;
constexpr std::int32_t kKindWidth = 76;
// Between a field's edge and its text.
constexpr std::int32_t kFieldPadding = 4;

// The text cut to `width` pixels, with "..." when cut.
std::string fitted(std::string text, std::int32_t width, const toolkit::FontMetrics& metrics) {
    if (metrics.textWidth(text) <= width) return text;
    while (!text.empty() && metrics.textWidth(text + "...") > width)
        text.pop_back();
    return text + "...";
}

}  // namespace

const toolkit::Font FindPanel::kFont{"arial", 13, false};

toolkit::Rect FindPanel::bounds() const {
    if (!m_open) return {};
    std::int32_t rows = m_replacing ? 4 : 3;
    std::int32_t height = kMargin * 2 + rows * kRowHeight + kListLines * kLineHeight + 4;
    std::int32_t width = std::min(kWidth, m_window.size().width);
    return {std::max(0, m_window.size().width - width - kMargin), m_host.workAreaTop() + 4, width,
            height};
}

// Rows: the query with Find all; the replacement with Replace and Replace
// all (when replacing); the options and the scope; the status with Stop.
toolkit::Rect FindPanel::controlRect(Control control) const {
    toolkit::Rect box = bounds();
    std::int32_t left = box.x + kMargin;
    std::int32_t fieldLeft = left + kLabelWidth;
    std::int32_t buttonLeft = fieldLeft + kFieldWidth + kGap;
    auto rowTop = [&](std::int32_t row) {
        return box.y + kMargin + row * kRowHeight + (kRowHeight - kControlHeight) / 2;
    };
    std::int32_t optionsRow = m_replacing ? 2 : 1;
    switch (control) {
        case Control::Query:
            return {fieldLeft, rowTop(0), kFieldWidth, kControlHeight};
        case Control::FindAll:
            return {buttonLeft, rowTop(0), kButtonWidth, kControlHeight};
        case Control::Close:
            return {box.right() - kMargin - kCloseSide, box.y + kMargin, kCloseSide, kCloseSide};
        case Control::Replacement:
            if (!m_replacing) return {};
            return {fieldLeft, rowTop(1), kFieldWidth, kControlHeight};
        case Control::Replace:
            if (!m_replacing) return {};
            return {buttonLeft, rowTop(1), kButtonWidth, kControlHeight};
        case Control::ReplaceAll:
            if (!m_replacing) return {};
            return {buttonLeft + kButtonWidth + kGap, rowTop(1), kButtonWidth, kControlHeight};
        case Control::MatchCase:
            return {left, rowTop(optionsRow), 100, kControlHeight};
        case Control::WholeWord:
            return {left + 104, rowTop(optionsRow), 100, kControlHeight};
        case Control::RegularExpression:
            return {left + 208, rowTop(optionsRow), 140, kControlHeight};
        case Control::Scope:
            return {box.right() - kMargin - 130, rowTop(optionsRow), 130, kControlHeight};
        case Control::Stop:
            if (!isSearching()) return {};
            return {box.right() - kMargin - 70, rowTop(optionsRow + 1), 70, kControlHeight};
        case Control::List: {
            std::int32_t top = box.y + kMargin + (optionsRow + 2) * kRowHeight;
            return {left, top, box.width - 2 * kMargin, kListLines * kLineHeight};
        }
        case Control::None:
            break;
    }
    return {};
}

toolkit::Rect FindPanel::resultRect(std::int32_t index) const {
    if (!m_search || index < m_firstLine || index >= m_firstLine + kListLines ||
        index >= static_cast<std::int32_t>(m_search->hits().size()))
        return {};
    toolkit::Rect list = controlRect(Control::List);
    return {list.x, list.y + (index - m_firstLine) * kLineHeight, list.width, kLineHeight};
}

FindPanel::Control FindPanel::controlAt(toolkit::Point point) const {
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(Control::None); ++i) {
        auto control = static_cast<Control>(i);
        if (controlRect(control).contains(point)) return control;
    }
    return Control::None;
}

// ---- drawing

void FindPanel::paint(toolkit::Graphics& graphics) const {
    if (!m_open) return;
    toolkit::Rect box = bounds();
    graphics.setColor(colors().shade(1));
    graphics.fillRect(box);
    graphics.setColor(colors().accent);
    graphics.drawRect({box.x, box.y, box.width - 1, box.height - 1});
    graphics.setFont(kFont);
    const toolkit::FontMetrics& metrics = graphics.metrics();

    paintField(graphics, Control::Query, "Find", m_query);
    paintButton(graphics, Control::FindAll, "Find all");
    if (m_replacing) {
        paintField(graphics, Control::Replacement, "Replace", m_replacement);
        paintButton(graphics, Control::Replace, "Replace");
        paintButton(graphics, Control::ReplaceAll, "Replace all");
    }
    paintCheckBox(graphics, Control::MatchCase, "Match case", m_options.matchCase);
    paintCheckBox(graphics, Control::WholeWord, "Whole word", m_options.wholeWord);
    paintCheckBox(graphics, Control::RegularExpression, "Regular expression",
                  m_options.regularExpression);
    paintButton(graphics, Control::Scope, scopeCaption(m_scope));

    // The close box: a cross.
    toolkit::Rect close = controlRect(Control::Close);
    graphics.setColor(colors().text);
    graphics.drawLine({close.x + 4, close.y + 4}, {close.right() - 5, close.bottom() - 5});
    graphics.drawLine({close.right() - 5, close.y + 4}, {close.x + 4, close.bottom() - 5});

    toolkit::Rect list = controlRect(Control::List);
    toolkit::Rect status{list.x, list.y - kRowHeight, list.width, kRowHeight};
    graphics.setColor(m_message.empty() ? colors().text : colors().accent);
    graphics.drawText({status.x, centredBaseline(status, metrics)},
                      fitted(statusText(), status.width - 80, metrics));
    if (isSearching()) paintButton(graphics, Control::Stop, "Stop");

    graphics.setColor(colors().view);
    graphics.fillRect(list);
    graphics.setColor(colors().edge);
    graphics.drawRect({list.x, list.y, list.width - 1, list.height - 1});
    graphics.clipTo(list);
    for (std::int32_t line = 0; line < kListLines; ++line)
        paintResult(graphics, m_firstLine + line);
    graphics.restoreClip();
}

std::int32_t FindPanel::fieldIndexAt(Control control, toolkit::Point point) const {
    const FindField& field = control == Control::Replacement ? m_replacement : m_query;
    toolkit::Rect area = controlRect(control);
    std::unique_ptr<toolkit::FontMetrics> metrics = m_window.metrics(kFont);
    return field.indexAt(point.x - area.x - kFieldPadding, area.width - 2 * kFieldPadding,
                         *metrics);
}

// The selection on its colour behind the text; a long text shows its end,
// or as far left as the caret is.
void FindPanel::paintField(toolkit::Graphics& graphics, Control control, const char* label,
                           const FindField& field) const {
    toolkit::Rect area = controlRect(control);
    const toolkit::FontMetrics& metrics = graphics.metrics();
    std::int32_t baseline = centredBaseline(area, metrics);
    graphics.setColor(colors().text);
    graphics.drawText({area.x - kLabelWidth, baseline}, label);
    graphics.setColor(colors().view);
    graphics.fillRect(area);
    bool focused = hasKeyboard() && m_focus == control;
    graphics.setColor(focused ? colors().accent : colors().edge);
    graphics.drawRect({area.x, area.y, area.width - 1, area.height - 1});
    std::string_view text = field.text();
    const std::int32_t first = field.firstShown(area.width - 2 * kFieldPadding, metrics);
    const std::int32_t left = area.x + kFieldPadding;
    // The x of a byte index at or after the first shown one.
    auto xOf = [&](std::int32_t index) {
        index = std::max(index, first);
        return left + metrics.textWidth(text.substr(static_cast<std::size_t>(first),
                                                    static_cast<std::size_t>(index - first)));
    };
    graphics.clipTo(area);
    if (auto [begin, end] = field.selection(); begin < end && end > first) {
        graphics.setColor(focused ? colors().selection : colors().shade(2));
        graphics.fillRect({xOf(begin), area.y + 3, xOf(end) - xOf(begin), area.height - 6});
    }
    graphics.setColor(colors().text);
    graphics.drawText({left, baseline}, text.substr(static_cast<std::size_t>(first)));
    if (focused) graphics.fillRect({xOf(field.caret()), area.y + 3, 1, area.height - 6});
    graphics.restoreClip();
}

void FindPanel::paintButton(toolkit::Graphics& graphics, Control control,
                            const char* caption) const {
    paintPushButton(graphics, colors(), controlRect(control), caption, colors().edge);
}

void FindPanel::paintCheckBox(toolkit::Graphics& graphics, Control control, const char* caption,
                              bool checked) const {
    toolkit::Rect area = controlRect(control);
    toolkit::Rect box{area.x, area.y + (area.height - kBoxSide) / 2, kBoxSide, kBoxSide};
    paintCheckSquare(graphics, colors(), box, checked);
    graphics.setColor(colors().text);
    graphics.drawText({box.right() + 5, centredBaseline(area, graphics.metrics())}, caption);
}

// The place, the kind of place, then the text with the match on the
// selection colour; the current result on a darker grey.
void FindPanel::paintResult(toolkit::Graphics& graphics, std::int32_t index) const {
    toolkit::Rect row = resultRect(index);
    if (row.width == 0) return;
    const toolkit::FontMetrics& metrics = graphics.metrics();
    const FindHit& hit = m_search->hits()[static_cast<std::size_t>(index)];
    bool current = index == m_current;
    if (current) {
        graphics.setColor(colors().shade(2));
        graphics.fillRect(row);
    }
    std::int32_t baseline = centredBaseline(row, metrics);
    graphics.setColor(colors().accent);
    graphics.drawText({row.x + 4, baseline},
                      fitted(m_search->placeName(hit.place), kPlaceWidth - 8, metrics));
    graphics.setColor(colors().edge);
    graphics.drawText({row.x + kPlaceWidth, baseline},
                      fitted(findKindName(hit.place.kind), kKindWidth - 6, metrics));

    std::string text = lineText(index);
    std::int32_t left = row.x + kPlaceWidth + kKindWidth;
    std::int32_t room = row.right() - left - 4;
    auto start = static_cast<std::size_t>(hit.excerptSpan.start);
    auto end = static_cast<std::size_t>(hit.excerptSpan.end);
    // Text before a match far to the right is cut so that the match shows.
    std::size_t from = 0;
    while (from < start &&
           metrics.textWidth(std::string_view(text).substr(from, end - from)) > room - 20)
        from = static_cast<std::size_t>(utf8::next(text, static_cast<std::int32_t>(from)));
    from = std::min(from, start);
    std::string_view before = std::string_view(text).substr(from, start - from);
    std::string_view match = std::string_view(text).substr(start, end - start);
    std::string_view after = std::string_view(text).substr(end);
    std::int32_t x = left;
    graphics.setColor(colors().text);
    graphics.drawText({x, baseline}, before);
    x += metrics.textWidth(before);
    std::int32_t matchWidth = metrics.textWidth(match);
    graphics.setColor(colors().selection);
    graphics.fillRect({x, row.y + 1, matchWidth, row.height - 2});
    graphics.setColor(colors().text);
    graphics.drawText({x, baseline}, match);
    graphics.drawText({x + matchWidth, baseline}, after);
}

}  // namespace qv
