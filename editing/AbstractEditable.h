// The protocol of everything drawn in the work area: a light element with
// its own layout, painting, hit testing, keyboard and mouse handling and its
// text in the document. Editables form a tree (the layout root, frames,
// views, layout tables with further frames) and share one EditableSupport.
//
// Coordinates: `bounds` are pixels in the work area as laid out. A
// scrolling container shows its child shifted by its scroll offset and
// shifts the events it passes on by the same amount, so every editable sees
// events in the coordinates of its own bounds.
//
// Editables are made with make<T>() like every object: answers such as
// hitTest hand out counted references to the editable itself.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"
#include "editing/EditableHost.h"
#include "editing/MouseInfo.h"
#include "toolkit/Accessible.h"
#include "toolkit/Events.h"
#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"
#include "toolkit/Palette.h"

namespace qv {

class EditableSupport;

class AbstractEditable : public Object {
    QV_ABSTRACT_OBJECT(AbstractEditable, Object)
  public:
    AbstractEditable() = default;
    ~AbstractEditable() override = default;

    // The containing editable, or nullptr. Not counted: the container holds
    // the child, and clears this link when it lets the child go or dies.
    AbstractEditable* parent() const noexcept { return m_parent; }
    void setParent(AbstractEditable* parent) noexcept { m_parent = parent; }
    // Set by attach; nullptr until the editable enters a window's tree.
    EditableSupport* support() const noexcept { return m_support; }
    // The window's palette; the light one before the editable is attached.
    const toolkit::Palette& colors() const noexcept;
    const toolkit::Rect& bounds() const noexcept { return m_bounds; }
    toolkit::Point anchorPoint() const noexcept { return m_anchor; }
    void setAnchorPoint(toolkit::Point point) noexcept { m_anchor = point; }

    // ORDER EDITABLE OPERATIONS: the operations every editable offers, with
    // their defaults.
    virtual void refresh() {}
    virtual void layoutSize(toolkit::Size size);
    // A square side of widthHint limited to the minimum and maximum width,
    // at (0, 0); containers move their children into place afterwards.
    virtual void layoutWidth(std::int32_t widthHint);
    virtual void moveBy(toolkit::Point delta);
    virtual std::int32_t minimumWidth() const { return 30; }
    virtual std::int32_t maximumWidth() const { return 30; }
    // A notification passed down the tree; frames and the root forward it.
    virtual void notify(const Pointer<Object>&) {}
    virtual bool handleMouse(toolkit::MouseKind, const MouseInfo&) { return false; }
    // `text` is a typed character's UTF-8 text for key::kCharacter.
    virtual void handleKey(std::int32_t, std::string_view, std::uint32_t) {}
    // Draws at the bounds offset by `origin`.
    virtual void paint(toolkit::Graphics& graphics, toolkit::Point origin);
    // Itself when (x, y) lies in the bounds; with `deep` the innermost
    // editable there.
    virtual Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep);
    virtual bool acceptsEditCommand(std::int32_t) const { return false; }
    virtual Pointer<Object> getObject() const;
    virtual StringPointer getTitle() const;
    virtual void attach(EditableSupport* support);
    bool isSelected() const;

    // What the work area needs beyond those.
    //
    // Wheel notches over this editable; true when it scrolled.
    virtual bool handleWheel(std::int32_t) { return false; }
    // Laid out by width, a view taller than this asks its scrolling box
    // for this height only and is scrolled in it; 0: the box is as tall as
    // the view.
    virtual std::int32_t tallestUnscrolled() const { return 0; }
    // After laying this editable out, its scrolling box asks once for an
    // area (in this editable's coordinates) to bring into sight in the box
    // alone: the containers above stay where they are. None by default.
    virtual std::optional<toolkit::Rect> takeAreaToShow() { return std::nullopt; }
    // A key a child did not handle; it travels up to the root.
    virtual void childKey(std::int32_t code, std::string_view text, std::uint32_t modifiers);
    // Asks the scrolling containers above to bring an area (in this
    // editable's coordinates) into sight.
    virtual void ensureVisible(const toolkit::Rect& area);
    // Appends the element's document text. The caller has placed the first
    // line; every further line starts with `indent` blanks.
    virtual void writeSource(std::string& out, std::int32_t indent) const;
    // False for a view that only serves the session (a where-used list):
    // its frame writes nothing and the document reads back as before.
    virtual bool isKeptInDocument() const { return true; }
    // False when this editable or one of its containers is not kept.
    bool isWithinKeptView() const;
    StringPointer toSource() const override;

    // How a screen reader sees this editable, held by `parent`: by default
    // a group named by its title. A container that only wraps one child (a
    // scrolling box) answers its child's node, so readers see through it.
    virtual std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const;

    // Selected itself, or through the containers that stand in for it.
    bool isFocused() const;
    // A point of the work area in this editable's coordinates.
    toolkit::Point layoutPoint(toolkit::Point workArea) const;
    // Relays to the support when attached.
    void repaint() const;
    void invalidateLayout() const;

  protected:
    // Sizes are kept within 0 ... toolkit::kMaxExtent, so that no sum of
    // positions and sizes overflows.
    void setBounds(const toolkit::Rect& bounds) noexcept {
        m_bounds = {bounds.x, bounds.y, toolkit::limitExtent(bounds.width),
                    toolkit::limitExtent(bounds.height)};
    }
    void setSize(toolkit::Size size) noexcept {
        m_bounds.width = toolkit::limitExtent(size.width);
        m_bounds.height = toolkit::limitExtent(size.height);
    }
    // A counted reference to this editable, for answers such as hitTest.
    Pointer<AbstractEditable> self() const {
        return Pointer<AbstractEditable>(const_cast<AbstractEditable*>(this));
    }
    // Makes `child` one of this editable's children: parent link and support.
    void adopt(const Pointer<AbstractEditable>& child);
    // Lets a child go: it no longer names this editable as its parent.
    void release(const Pointer<AbstractEditable>& child) const;

  private:
    AbstractEditable* m_parent = nullptr;
    EditableSupport* m_support = nullptr;
    EditableHost* m_host = nullptr;
    toolkit::Rect m_bounds;
    toolkit::Point m_anchor;
};

}  // namespace qv
