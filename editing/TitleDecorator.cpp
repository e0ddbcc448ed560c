#include "editing/TitleDecorator.h"

#include <algorithm>

#include "editing/DetachDropCommand.h"
#include "editing/EditableSupport.h"
#include "editing/Positions.h"
#include "editing/TitleBarPainter.h"
#include "layout/LayoutWriter.h"

namespace qv {

namespace {

constexpr std::int32_t kButtonGap = 2;
constexpr std::int32_t kTitleLeft = 6;
// The most of a title a frame widens itself for.
constexpr std::int32_t kWidestTitle = 200;

}  // namespace

TitleDecorator::TitleDecorator(const Pointer<AbstractEditable>& view)
    : m_scroller(make<ScrollDecorator>(view)) {
    adopt(m_scroller);
}

TitleDecorator::~TitleDecorator() {
    release(m_scroller);
}

void TitleDecorator::setPlacement(FramePlacement placement) {
    m_state.placement = placement;
    invalidateLayout();
}

void TitleDecorator::applyState(const FrameState& state) {
    m_state = state;
    invalidateLayout();
}

std::int32_t TitleDecorator::titleBarHeight() const {
    if (placement() == FramePlacement::InTable && isPanelView(*view())) return kPanelBarHeight;
    return support() == nullptr ? 20 : support()->boldMetrics().height() + 4;
}

toolkit::Rect TitleDecorator::titleBarRect() const {
    return {bounds().x, bounds().y, bounds().width, titleBarHeight()};
}

toolkit::Rect TitleDecorator::contentRect() const {
    std::int32_t bar = titleBarHeight();
    return {bounds().x, bounds().y + bar, bounds().width, std::max(0, bounds().height - bar)};
}

std::vector<TitleButton> TitleDecorator::buttons() const {
    if (placement() != FramePlacement::InTable) {
        return {TitleButton::Float, TitleButton::Optimize, TitleButton::Maximize,
                TitleButton::Close};
    }
    if (isPanelView(*view())) return {};
    return {TitleButton::Close};
}

toolkit::Rect TitleDecorator::buttonRect(TitleButton button) const {
    std::vector<TitleButton> shown = buttons();
    auto found = std::find(shown.begin(), shown.end(), button);
    if (found == shown.end()) return {};
    std::int32_t side = titleBarHeight() - 4;
    auto fromRight = static_cast<std::int32_t>(shown.end() - found);
    std::int32_t x = bounds().right() - fromRight * (side + kButtonGap);
    return {x, bounds().y + 2, side, side};
}

std::optional<TitleButton> TitleDecorator::buttonAt(toolkit::Point point) const {
    for (TitleButton button : buttons())
        if (buttonRect(button).contains(point)) return button;
    return std::nullopt;
}

// Room for the buttons and the title beside them (a long title is cut).
std::int32_t TitleDecorator::chromeWidth() const {
    auto count = static_cast<std::int32_t>(buttons().size());
    if (count == 0) return 0;
    std::int32_t buttonsWidth = count * (titleBarHeight() - 4 + kButtonGap) + kButtonGap;
    std::int32_t title =
        support() == nullptr
            ? 0
            : std::min(support()->boldMetrics().textWidth(getTitle()->view()), kWidestTitle);
    std::int32_t width = buttonsWidth + kTitleLeft + title + 4;
    return placement() == FramePlacement::InTable ? width : std::max(width, kMinimumWidth);
}

std::int32_t TitleDecorator::minimumWidth() const {
    return std::max(m_scroller->minimumWidth(), chromeWidth());
}

std::int32_t TitleDecorator::maximumWidth() const {
    return std::max(m_scroller->maximumWidth(), minimumWidth());
}

std::string TitleDecorator::prefix() const {
    return placementPrefix(placement(), bounds().x, bounds().y);
}

void TitleDecorator::layoutSize(toolkit::Size size) {
    if (placement() != FramePlacement::Maximized) {
        layoutWidth(size.width);
        return;
    }
    std::int32_t bar = titleBarHeight();
    std::int32_t width = std::max(size.width, kMinimumWidth);
    std::int32_t height = std::max(size.height, kMinimumHeight);
    m_scroller->layoutSize({width, height - bar});
    m_scroller->moveBy({0, bar});
    setBounds({0, 0, width, height});
}

void TitleDecorator::layoutWidth(std::int32_t widthHint) {
    std::int32_t bar = titleBarHeight();
    switch (placement()) {
        case FramePlacement::Maximized:
            layoutSize({widthHint, bounds().height});
            return;
        case FramePlacement::Floating: {
            toolkit::Size box = kFloatingBox;
            if (floatingBounds().width > 0) {
                box = {floatingBounds().width, floatingBounds().height - bar};
            }
            box.width = std::max(box.width, kMinimumWidth);
            box.height = std::max(box.height, kMinimumHeight - bar);
            m_scroller->layoutSize(box);
            setBounds({0, 0, box.width, box.height + bar});
            break;
        }
        case FramePlacement::Optimized:
        case FramePlacement::InTable: {
            m_scroller->layoutWidth(widthHint);
            std::int32_t width = std::max(m_scroller->bounds().width, chromeWidth());
            // A cell spans its whole column.
            if (placement() == FramePlacement::InTable) width = std::max(width, widthHint);
            setBounds({0, 0, width, m_scroller->bounds().height + bar});
            break;
        }
    }
    m_scroller->moveBy({0, bar});
}

void TitleDecorator::moveBy(toolkit::Point delta) {
    AbstractEditable::moveBy(delta);
    m_scroller->moveBy(delta);
}

void TitleDecorator::attach(EditableSupport* support) {
    AbstractEditable::attach(support);
    m_scroller->attach(support);
}

bool TitleDecorator::holdsSelection() const {
    if (support() == nullptr) return false;
    const Pointer<AbstractEditable>& selected = support()->selected();
    for (const AbstractEditable* at = selected.isNull() ? nullptr : selected.get(); at != nullptr;
         at = at->parent()) {
        if (at == this) return true;
    }
    return false;
}

bool TitleDecorator::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    toolkit::Point at = info.point();
    bool press =
        kind == MouseKind::Press || kind == MouseKind::DoubleClick || kind == MouseKind::RightPress;
    if (press) {
        if (titleBarRect().contains(at)) {
            std::optional<TitleButton> button = buttonAt(at);
            if (button && kind == MouseKind::Press) {
                buttonPressed(static_cast<std::int32_t>(*button));
            } else if (support() != nullptr) {
                support()->select(self());
            }
            return true;
        }
        // A view that takes no selection of its own leaves it with its frame.
        if (support() != nullptr) support()->select(self());
        m_scroller->handleMouse(kind, info);
        return true;
    }
    if (kind == MouseKind::Move && !contentRect().contains(at)) {
        if (support() != nullptr) support()->window().setCursor(toolkit::CursorKind::Arrow);
        return true;
    }
    return m_scroller->handleMouse(kind, info);
}

void TitleDecorator::buttonPressed(std::int32_t button) {
    if (button == static_cast<std::int32_t>(TitleButton::Close)) {
        close();
    } else if (button >= 0 && button <= static_cast<std::int32_t>(TitleButton::Float)) {
        changePlacement(static_cast<TitleButton>(button));
    }
}

// Leaves the work area as one undoable step; the frame lives on in the
// command until the step is forgotten.
void TitleDecorator::close() {
    if (support() == nullptr) return;
    Pointer<AbstractEditable> root = support()->layoutRoot();
    if (root.isNull()) return;
    Pointer<AbstractPosition> position = detachFrom(*root, self());
    if (position.isNull()) return;
    support()->commands().execute(
        make<DetachDropCommand>(root, self(), position, Pointer<AbstractPosition>()), false);
    support()->select({});
    support()->invalidateLayout();
    support()->repaint();
}

// A placement change is a move from the frame's place to the same place
// with the new placement, so that undo restores the old one.
void TitleDecorator::changePlacement(TitleButton button) {
    if (support() == nullptr) return;
    Pointer<AbstractEditable> root = support()->layoutRoot();
    // The null object of an empty support is no place for frames either.
    auto* places = dynamic_cast<const FramePlaces*>(root.object());
    if (places == nullptr || parent() != root.object()) return;
    Pointer<FloatLayoutPosition> before = places->positionOf(self());
    FrameState next = m_state;
    toolkit::Point place{bounds().x, bounds().y};
    switch (button) {
        case TitleButton::Float:
            if (next.floatingBounds.width == 0) {
                next.floatingBounds = {bounds().x, bounds().y,
                                       static_cast<std::int32_t>(bounds().width * 1.1),
                                       static_cast<std::int32_t>(bounds().height * 1.1)};
            }
            next.placement = FramePlacement::Floating;
            place = {next.floatingBounds.x, next.floatingBounds.y};
            break;
        case TitleButton::Optimize:
            // Back from filling the work area to where the frame stood before.
            if (next.placement == FramePlacement::Maximized && next.floatingBounds.width > 0) {
                place = {next.floatingBounds.x, next.floatingBounds.y};
            }
            next.placement = FramePlacement::Optimized;
            break;
        case TitleButton::Maximize:
            if (next.placement == FramePlacement::Maximized) return;
            next.floatingBounds = bounds();
            next.placement = FramePlacement::Maximized;
            break;
        case TitleButton::Close:
            return;
    }
    if (next == m_state && place == toolkit::Point{bounds().x, bounds().y}) return;
    auto after = make<FloatLayoutPosition>(root, place, before->stackIndex(), next);
    support()->commands().execute(make<DetachDropCommand>(root, self(), before, after), true);
}

void TitleDecorator::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty()) return;
    toolkit::Rect content = contentRect().translated(origin.x, origin.y);
    graphics.setColor(colors().view);
    graphics.fillRect(content);
    {
        toolkit::GraphicsScope scope(graphics, content);
        m_scroller->paint(graphics, origin);
    }
    paintTitleBar(graphics, area);
    graphics.setColor(holdsSelection() ? colors().accent : colors().edge);
    graphics.drawRect({area.x, area.y, area.width - 1, area.height - 1});
}

void TitleDecorator::paintTitleBar(toolkit::Graphics& graphics, const toolkit::Rect& area) const {
    const bool active = holdsSelection();
    const std::int32_t bar = titleBarHeight();
    graphics.setColor(active ? colors().accent : colors().shade(1));
    graphics.fillRect({area.x, area.y, area.width, bar});
    if (support() == nullptr || bar == kPanelBarHeight) return;
    const toolkit::Point shift{area.x - bounds().x, area.y - bounds().y};
    std::int32_t titleRight = area.right() - 2;
    for (TitleButton button : buttons()) {
        toolkit::Rect square = buttonRect(button).translated(shift.x, shift.y);
        titleRight = std::min(titleRight, square.x - 2);
        bool current =
            (button == TitleButton::Maximize && placement() == FramePlacement::Maximized) ||
            (button == TitleButton::Optimize && placement() == FramePlacement::Optimized) ||
            (button == TitleButton::Float && placement() == FramePlacement::Floating);
        paintTitleButton(graphics, colors(), button, square, current);
    }
    // The title never runs under the buttons.
    const toolkit::FontMetrics& bold = support()->boldMetrics();
    toolkit::GraphicsScope scope(graphics, {area.x + 1, area.y, titleRight - area.x - 1, bar});
    graphics.setFont(support()->boldFont());
    graphics.setColor(active ? colors().view : colors().text);
    graphics.drawText({area.x + kTitleLeft, area.y + (bar - bold.height()) / 2 + bold.ascent()},
                      getTitle()->view());
}

Pointer<AbstractPosition> TitleDecorator::detach(const Pointer<AbstractEditable>& editable) {
    return m_scroller->detach(editable);
}

bool TitleDecorator::drop(const Pointer<AbstractEditable>& editable,
                          const Pointer<AbstractPosition>& position) {
    return m_scroller->drop(editable, position);
}

void TitleDecorator::setTopLevel(bool topLevel) {
    if (!topLevel) {
        setPlacement(FramePlacement::InTable);
    } else if (placement() == FramePlacement::InTable) {
        setPlacement(FramePlacement::Optimized);
    }
}

bool TitleDecorator::isMovable() const {
    return placement() == FramePlacement::Optimized || placement() == FramePlacement::Floating;
}

bool TitleDecorator::isInTitleBar(std::int32_t x, std::int32_t y) const {
    return titleBarRect().contains({x, y}) && !buttonAt({x, y});
}

Pointer<AbstractPosition> TitleDecorator::dropPositionAt(
    std::int32_t x, std::int32_t y, const Pointer<AbstractEditable>& editable) {
    if (!contentRect().contains({x, y})) return {};
    return m_scroller->dropPositionAt(x, y, editable);
}

bool TitleDecorator::showDropTarget(std::int32_t x, std::int32_t y,
                                    const AbstractEditable& dragged) {
    if (!contentRect().contains({x, y})) return false;
    return m_scroller->showDropTarget(x, y, dragged);
}

Pointer<AbstractEditable> TitleDecorator::hitTest(std::int32_t x, std::int32_t y, bool deep) {
    if (!bounds().contains({x, y})) return {};
    if (deep && contentRect().contains({x, y})) {
        Pointer<AbstractEditable> inner = m_scroller->hitTest(x, y, true);
        if (!inner.isNull()) return inner;
    }
    return self();
}

void TitleDecorator::writeSource(std::string& out, std::int32_t indent) const {
    if (!view()->isKeptInDocument()) return;
    writeFrame(out, indent, prefix(), m_notes,
               [this](std::string& text, std::int32_t at) { view()->writeSource(text, at); });
}

StringPointer TitleDecorator::describe() const {
    return str(
        "TitleDecorator(placement=" + std::to_string(static_cast<std::int32_t>(placement())) +
        ",x=" + std::to_string(bounds().x) + ",y=" + std::to_string(bounds().y) +
        ",title=" + getTitle()->toStdString() + ")");
}

bool isWithinView(const AbstractEditable& view, const AbstractEditable& editable) {
    if (is<TitleDecorator>(editable) &&
        static_cast<const TitleDecorator&>(editable).view().object() == &view) {
        return true;
    }
    for (const AbstractEditable* at = &editable; at != nullptr; at = at->parent()) {
        if (at == &view) return true;
    }
    return false;
}

}  // namespace qv
