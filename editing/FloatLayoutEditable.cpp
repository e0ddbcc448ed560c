#include "editing/FloatLayoutEditable.h"

#include <algorithm>

#include "editing/DetachDropCommand.h"
#include "editing/EditableSupport.h"
#include "editing/MoveFrameCommand.h"
#include "editing/TitleDecorator.h"
#include "layout/FramePlacement.h"

namespace qv {

namespace {

bool isPress(toolkit::MouseKind kind) {
    using toolkit::MouseKind;
    return kind == MouseKind::Press || kind == MouseKind::DoubleClick ||
           kind == MouseKind::RightPress;
}

}  // namespace

FloatLayoutEditable::FloatLayoutEditable() : m_frames(make<TVector<AbstractEditable>>()) {}

FloatLayoutEditable::~FloatLayoutEditable() {
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        release(frame);
    release(m_formulaBar);
    release(m_dragged);
}

std::int32_t FloatLayoutEditable::indexOf(const AbstractEditable& frame) const {
    for (std::int32_t i = 0; i < m_frames->size(); ++i)
        if ((*m_frames)[i].object() == &frame) return i;
    return -1;
}

std::string FloatLayoutEditable::titlePart() const {
    std::string part;
    for (const Pointer<AbstractEditable>& frame : *m_frames) {
        auto titled = cast<TitleDecorator>(frame);
        if (titled.isNull() || titled->placement() != FramePlacement::Maximized) continue;
        part += "[" + titled->getTitle()->toStdString() + "]";
    }
    return part;
}

Pointer<FloatLayoutPosition> FloatLayoutEditable::positionOf(
    const Pointer<AbstractEditable>& frame) const {
    std::optional<FrameState> state;
    if (auto titled = cast<TitleDecorator>(frame); !titled.isNull()) state = titled->state();
    return make<FloatLayoutPosition>(self(), toolkit::Point{frame->bounds().x, frame->bounds().y},
                                     indexOf(*frame), state);
}

Pointer<AbstractEditable> FloatLayoutEditable::frameAt(toolkit::Point point) const {
    for (std::int32_t i = m_frames->size() - 1; i >= 0; --i) {
        const Pointer<AbstractEditable>& frame = (*m_frames)[i];
        if (frame->bounds().contains(point)) return frame;
    }
    return {};
}

bool FloatLayoutEditable::scrollWheel(std::int32_t steps, toolkit::Point point) {
    Pointer<AbstractEditable> target = hitTest(point.x, point.y, true);
    for (AbstractEditable* at = target.isNull() ? nullptr : target.get(); at != nullptr;
         at = at->parent()) {
        if (at->handleWheel(steps)) return true;
    }
    return false;
}

void FloatLayoutEditable::refresh() {
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        frame->refresh();
    if (!m_formulaBar.isNull()) m_formulaBar->refresh();
}

void FloatLayoutEditable::notify(const Pointer<Object>& message) {
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        frame->notify(message);
}

void FloatLayoutEditable::layoutWidth(std::int32_t widthHint) {
    std::int32_t height =
        support() == nullptr ? bounds().height : support()->window().size().height;
    setBounds({0, 0, widthHint, height});
    std::int32_t top = 0;
    if (!m_formulaBar.isNull()) {
        m_formulaBar->layoutWidth(widthHint);
        // The frames' area starts one pixel above the bar's lower edge, so
        // the bar's edge line doubles as the area's.
        top = std::max(0, m_formulaBar->bounds().bottom() - 1);
    }
    const toolkit::Rect full{0, top, widthHint, height - top};
    if (support() != nullptr) support()->setVisibleArea(full);
    const auto maximized = [](const Pointer<AbstractEditable>& frame) {
        auto titled = cast<TitleDecorator>(frame);
        return !titled.isNull() && titled->placement() == FramePlacement::Maximized;
    };
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        if (!maximized(frame)) place(frame, {frame->bounds().x, frame->bounds().y});
    // The bars are known once the other frames have their sizes; maximized
    // frames then fill what the bars leave.
    m_scroll.fit(full, reach());
    if (support() != nullptr) support()->setVisibleArea(m_scroll.area());
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        if (maximized(frame)) place(frame, {});
}

toolkit::Point FloatLayoutEditable::reach() const {
    toolkit::Point edge;
    for (const Pointer<AbstractEditable>& frame : *m_frames) {
        auto titled = cast<TitleDecorator>(frame);
        if (!titled.isNull() && titled->placement() == FramePlacement::Maximized) continue;
        edge.x = std::max(edge.x, frame->bounds().right());
        edge.y = std::max(edge.y, frame->bounds().bottom());
    }
    return edge;
}

void FloatLayoutEditable::scrollTo(toolkit::Point offset) {
    toolkit::Point before = m_scroll.offset();
    m_scroll.scrollTo(offset);
    // Maximized frames stay in sight.
    if (m_scroll.offset() != before) invalidateLayout();
    repaint();
}

bool FloatLayoutEditable::handleWheel(std::int32_t steps) {
    toolkit::Point before = m_scroll.offset();
    m_scroll.wheel(steps);
    if (m_scroll.offset() == before) return false;
    invalidateLayout();
    repaint();
    return true;
}

void FloatLayoutEditable::ensureVisible(const toolkit::Rect& area) {
    const toolkit::Rect& shown = m_scroll.area();
    toolkit::Point offset = m_scroll.offset();
    if (area.bottom() > shown.bottom() + offset.y) offset.y = area.bottom() - shown.bottom();
    if (area.y < shown.y + offset.y) offset.y = area.y - shown.y;
    if (area.right() > shown.right() + offset.x) offset.x = area.right() - shown.right();
    if (area.x < shown.x + offset.x) offset.x = area.x - shown.x;
    if (offset != m_scroll.offset()) scrollTo(offset);
}

bool FloatLayoutEditable::isFormulaBarPoint(toolkit::Point window) const {
    return !m_formulaBar.isNull() && m_formulaBar->bounds().contains(window);
}

MouseInfo FloatLayoutEditable::toWorkArea(toolkit::MouseKind kind, const MouseInfo& info) const {
    using toolkit::MouseKind;
    bool formulaBar = false;
    if (kind == MouseKind::Drag || kind == MouseKind::Release) {
        // A text of the formula bar holding the mouse keeps window points.
        const AbstractEditable* at = nullptr;
        if (support() != nullptr && !support()->mouseGrab().isNull())
            at = support()->mouseGrab().get();
        for (; at != nullptr && !m_dragging && !m_formulaBar.isNull(); at = at->parent())
            if (at == m_formulaBar.get()) formulaBar = true;
    } else {
        formulaBar = isFormulaBarPoint(info.point());
    }
    if (formulaBar) return info;
    return info.shifted(m_scroll.offset().x, m_scroll.offset().y);
}

void FloatLayoutEditable::place(const Pointer<AbstractEditable>& frame, toolkit::Point corner) {
    auto titled = cast<TitleDecorator>(frame);
    if (!titled.isNull() && titled->placement() == FramePlacement::Maximized) {
        toolkit::Rect area = support() == nullptr ? bounds() : support()->visibleArea();
        frame->layoutSize({area.width, area.height});
        toolkit::Point offset = m_scroll.offset();
        frame->moveBy({area.x + offset.x, area.y + offset.y});
        return;
    }
    frame->layoutWidth(kFrameWidthHint);
    // Never beyond where a document may place a frame, so what is saved
    // reads back where it was.
    frame->moveBy({limitFramePosition(corner.x), limitFramePosition(corner.y)});
}

void FloatLayoutEditable::moveBy(toolkit::Point delta) {
    AbstractEditable::moveBy(delta);
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        frame->moveBy(delta);
}

void FloatLayoutEditable::attach(EditableSupport* support) {
    AbstractEditable::attach(support);
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        frame->attach(support);
    if (!m_formulaBar.isNull()) m_formulaBar->attach(support);
    if (!m_dragged.isNull()) m_dragged->attach(support);
}

void FloatLayoutEditable::add(const Pointer<AbstractEditable>& editable) {
    if (editable.isNull()) return;
    m_frames->add(editable);
    adopt(editable);
    invalidateLayout();
}

void FloatLayoutEditable::setFormulaBar(const Pointer<AbstractEditable>& bar) {
    release(m_formulaBar);
    m_formulaBar = bar;
    adopt(bar);
    invalidateLayout();
}

void FloatLayoutEditable::raise(const Pointer<AbstractEditable>& frame) {
    std::int32_t index = indexOf(*frame);
    if (index < 0 || index == m_frames->size() - 1) return;
    Pointer<AbstractEditable> held = frame;
    m_frames->remove(index);
    m_frames->add(held);
}

// ---- mouse

bool FloatLayoutEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& window) {
    using toolkit::MouseKind;
    toolkit::Point offset = m_scroll.offset();
    if (!m_dragging && m_scroll.handleMouse(kind, window.point())) {
        if (m_scroll.offset() != offset) invalidateLayout();
        if (kind == MouseKind::Move && support() != nullptr)
            support()->window().setCursor(toolkit::CursorKind::Arrow);
        repaint();
        return true;
    }
    const MouseInfo info = toWorkArea(kind, window);
    if (isPress(kind)) {
        press(kind, info, isFormulaBarPoint(window.point()));
    } else if (kind == MouseKind::Drag) {
        drag(info);
    } else if (kind == MouseKind::Release) {
        releaseButton(info);
    } else {
        hover(info, isFormulaBarPoint(window.point()));
    }
    repaint();
    return true;
}

void FloatLayoutEditable::press(toolkit::MouseKind kind, const MouseInfo& info, bool onFormulaBar) {
    m_armed = false;
    if (support() == nullptr) return;
    support()->releaseMouse();
    Pointer<AbstractEditable> target;
    if (onFormulaBar) {
        target = m_formulaBar;
    } else {
        target = frameAt(info.point());
        if (!target.isNull()) raise(target);
    }
    if (target.isNull()) {
        support()->select({});
        return;
    }
    support()->select(target);
    target->handleMouse(kind, info);
    // The frame may have passed the selection on to a frame inside it (a
    // cell of a layout table): the drag belongs to whichever is selected.
    const Pointer<AbstractEditable>& selected = support()->selected();
    if (selected.isNull()) return;
    toolkit::Point local = selected->layoutPoint(info.point());
    auto titled = cast<TitleDecorator>(selected);
    m_armed = !titled.isNull() && titled->isInTitleBar(local.x, local.y);
}

bool FloatLayoutEditable::canDrag(const Pointer<AbstractEditable>& frame) const {
    if (frame.isNull()) return false;
    // A frame in a layout table is dragged out of it by its title bar.
    auto titled = cast<TitleDecorator>(frame);
    if (titled.isNull()) return false;
    if (titled->isMovable()) return true;
    return titled->placement() == FramePlacement::InTable && titled->parent() != nullptr;
}

void FloatLayoutEditable::drag(const MouseInfo& info) {
    if (m_dragging) {
        m_dragged->moveBy({info.dx, info.dy});
        trackDropTarget(info.point());
        return;
    }
    if (m_armed && support() != nullptr && canDrag(support()->selected())) {
        startDrag(support()->selected());
        if (m_dragging) {
            m_dragged->moveBy({info.dx, info.dy});
            trackDropTarget(info.point());
        }
        return;
    }
    deliverToGrab(toolkit::MouseKind::Drag, info);
}

void FloatLayoutEditable::startDrag(const Pointer<AbstractEditable>& frame) {
    // Where the frame shows now, in work-area coordinates: a frame in a
    // scrolled view stands elsewhere than its layout says.
    toolkit::Point shift = frame->layoutPoint({0, 0});
    toolkit::Point corner{frame->bounds().x - shift.x, frame->bounds().y - shift.y};
    bool nested = indexOf(*frame) < 0;
    Pointer<AbstractPosition> from = detach(frame);
    if (from.isNull()) {
        m_armed = false;
        return;
    }
    m_detachPosition = from;
    m_dragged = frame;
    adopt(frame);
    if (nested) {
        if (auto titled = cast<TitleDecorator>(frame); !titled.isNull()) titled->setTopLevel(true);
        place(frame, corner);
    }
    m_dragging = true;
    invalidateLayout();
}

void FloatLayoutEditable::hideDropTargets() {
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        hideDropTargetIn(*frame);
}

void FloatLayoutEditable::trackDropTarget(toolkit::Point point) {
    hideDropTargets();
    Pointer<AbstractEditable> target = frameAt(point);
    if (!target.isNull()) showDropTargetIn(*target, point.x, point.y, *m_dragged);
}

void FloatLayoutEditable::releaseButton(const MouseInfo& info) {
    m_armed = false;
    if (!m_dragging) {
        deliverToGrab(toolkit::MouseKind::Release, info);
        if (support() != nullptr) support()->releaseMouse();
        return;
    }
    Pointer<AbstractEditable> frame = m_dragged;
    Pointer<AbstractPosition> from = m_detachPosition;
    m_dragging = false;
    m_dragged = {};
    m_detachPosition = {};
    hideDropTargets();
    Pointer<AbstractPosition> to = dropPositionAt(info.x, info.y, frame);
    if (support() != nullptr) recordDrop(frame, from, to);
    invalidateLayout();
}

// A move within the work area changes only the frame's corner (the press
// has already raised it); anything else moved it between containers. A
// drag that ends where it began is no change.
void FloatLayoutEditable::recordDrop(const Pointer<AbstractEditable>& frame,
                                     const Pointer<AbstractPosition>& from,
                                     const Pointer<AbstractPosition>& to) {
    auto fromCorner = cast<FloatLayoutPosition>(from);
    auto toCorner = cast<FloatLayoutPosition>(to);
    CommandManager& commands = support()->commands();
    if (fromCorner.isNull() || toCorner.isNull()) {
        commands.execute(make<DetachDropCommand>(self(), frame, from, to), false);
    } else if (fromCorner->point() != toCorner->point()) {
        commands.execute(make<MoveFrameCommand>(frame, fromCorner->point(), toCorner->point()),
                         false);
    }
}

void FloatLayoutEditable::hover(const MouseInfo& info, bool onFormulaBar) {
    Pointer<AbstractEditable> target;
    if (onFormulaBar) {
        target = m_formulaBar;
    } else {
        target = frameAt(info.point());
    }
    if (!target.isNull()) target->handleMouse(toolkit::MouseKind::Move, info);
    if (support() == nullptr) return;
    toolkit::Window& window = support()->window();
    if (window.cursorChanges() == m_lastCursorChanges) window.setCursor(toolkit::CursorKind::Arrow);
    m_lastCursorChanges = window.cursorChanges();
}

void FloatLayoutEditable::deliverToGrab(toolkit::MouseKind kind, const MouseInfo& info) {
    if (support() == nullptr) return;
    Pointer<AbstractEditable> grab = support()->mouseGrab();
    if (grab.isNull()) return;
    toolkit::Point local = grab->layoutPoint(info.point());
    grab->handleMouse(kind, info.shifted(local.x - info.x, local.y - info.y));
}

// ---- keys

void FloatLayoutEditable::handleKey(std::int32_t code, std::string_view text,
                                    std::uint32_t modifiers) {
    namespace key = toolkit::key;
    if (support() == nullptr) return;
    switch (code) {
        case key::kDelete:
            deleteSelected(code, text, modifiers);
            break;
        case key::kUndo:
            support()->commands().undo();
            break;
        case key::kRedo:
            support()->commands().redo();
            break;
        default:
            if (!support()->selected().isNull()) {
                Pointer<AbstractEditable> selected = support()->selected();
                selected->handleKey(code, text, modifiers);
            }
    }
    repaint();
}

void FloatLayoutEditable::deleteSelected(std::int32_t code, std::string_view text,
                                         std::uint32_t modifiers) {
    Pointer<AbstractEditable> selected = support()->selected();
    if (selected.isNull()) {
        support()->commands().undo();
        return;
    }
    Pointer<AbstractPosition> position = detach(selected);
    if (position.isNull()) {
        selected->handleKey(code, text, modifiers);
        return;
    }
    support()->commands().execute(
        make<DetachDropCommand>(self(), selected, position, Pointer<AbstractPosition>()), false);
    support()->select({});
    invalidateLayout();
}

// ---- the tree

Pointer<AbstractPosition> FloatLayoutEditable::detach(const Pointer<AbstractEditable>& editable) {
    if (editable.isNull()) return {};
    std::int32_t index = indexOf(*editable);
    if (index >= 0) {
        Pointer<AbstractPosition> position = positionOf(editable);
        m_frames->remove(index);
        release(editable);
        invalidateLayout();
        return position;
    }
    for (std::int32_t i = m_frames->size() - 1; i >= 0; --i) {
        Pointer<AbstractEditable> frame = (*m_frames)[i];
        Pointer<AbstractPosition> position = detachFrom(*frame, editable);
        if (!position.isNull()) {
            invalidateLayout();
            return position;
        }
    }
    return {};
}

bool FloatLayoutEditable::drop(const Pointer<AbstractEditable>& editable,
                               const Pointer<AbstractPosition>& position) {
    auto where = cast<FloatLayoutPosition>(position);
    if (editable.isNull() || where.isNull() || where->container().object() != this) return false;
    if (indexOf(*editable) >= 0) return false;
    std::int32_t index = where->stackIndex();
    if (index < 0 || index > m_frames->size()) index = m_frames->size();
    m_frames->insert(index, editable);
    adopt(editable);
    auto titled = cast<TitleDecorator>(editable);
    if (!titled.isNull() && where->state()) {
        titled->applyState(*where->state());
    } else if (!titled.isNull()) {
        titled->setTopLevel(true);
    }
    place(editable, where->point());
    invalidateLayout();
    return true;
}

Pointer<AbstractPosition> FloatLayoutEditable::dropPositionAt(
    std::int32_t x, std::int32_t y, const Pointer<AbstractEditable>& editable) {
    Pointer<AbstractEditable> target = frameAt({x, y});
    if (!target.isNull() && !(target == editable)) {
        Pointer<AbstractPosition> offered = dropPositionIn(*target, x, y, editable);
        if (!offered.isNull()) {
            invalidateLayout();
            return offered;
        }
    }
    if (auto titled = cast<TitleDecorator>(editable); !titled.isNull()) titled->setTopLevel(true);
    if (indexOf(*editable) < 0) {
        m_frames->add(editable);
        adopt(editable);
    }
    invalidateLayout();
    return positionOf(editable);
}

Pointer<AbstractEditable> FloatLayoutEditable::hitTest(std::int32_t x, std::int32_t y, bool deep) {
    if (isFormulaBarPoint({x, y})) return m_formulaBar->hitTest(x, y, deep);
    if (!m_scroll.isOnBars({x, y})) {
        toolkit::Point at{x + m_scroll.offset().x, y + m_scroll.offset().y};
        Pointer<AbstractEditable> frame = frameAt(at);
        if (!frame.isNull()) return deep ? frame->hitTest(at.x, at.y, true) : frame;
    }
    return bounds().contains({x, y}) ? self() : Pointer<AbstractEditable>();
}

void FloatLayoutEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = support() == nullptr ? bounds() : support()->visibleArea();
    area = area.translated(origin.x, origin.y);
    graphics.setColor(colors().workArea);
    graphics.fillRect(area.intersected(graphics.clip()));
    {
        toolkit::GraphicsScope scope(graphics, area);
        const toolkit::Point shown{origin.x - m_scroll.offset().x, origin.y - m_scroll.offset().y};
        for (const Pointer<AbstractEditable>& frame : *m_frames)
            frame->paint(graphics, shown);
        if (m_dragging) m_dragged->paint(graphics, shown);
    }
    m_scroll.paint(graphics, colors(), origin);
    if (!m_formulaBar.isNull()) m_formulaBar->paint(graphics, origin);
}

void FloatLayoutEditable::writeSource(std::string& out, std::int32_t indent) const {
    for (const Pointer<AbstractEditable>& frame : *m_frames)
        frame->writeSource(out, indent);
}

}  // namespace qv
