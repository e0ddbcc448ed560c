// A tree of the program's tables in the work area: one line per node of a
// TablesTreeModel, with a box that expands or collapses a table. A click
// on the box or Space toggles; Right expands, Left collapses (or goes to
// the table's line); Up, Down, Home and End move; a double click, a right
// click or Enter is the node's action, which the controller answers. F2 on
// a table's or a field's line renames it: the name is edited in the
// formula bar, as a grid cell's text is, and shown as typed over the line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editing/AbstractEditable.h"
#include "views/GridTyping.h"
#include "views/TablesTreeModel.h"

namespace qv {

class TreeEditable;

// What the owner of a tree does with a node's action; `at` is a point of
// the work area beside the node.
class TreeController : public Object {
    QV_ABSTRACT_OBJECT(TreeController, Object)
  public:
    virtual void nodeAction(TreeEditable& tree, std::int32_t line, toolkit::Point at) = 0;
};

class TreeEditable final : public AbstractEditable {
    QV_OBJECT(TreeEditable, AbstractEditable, "TreeEditable")
  public:
    static constexpr std::int32_t kPadding = 4;
    static constexpr std::int32_t kIndent = 16;
    static constexpr std::int32_t kBoxSide = 9;
    static constexpr std::int32_t kNarrowest = 120;
    static constexpr std::int32_t kWidest = 400;

    explicit TreeEditable(const Pointer<TablesTreeModel>& model);

    const Pointer<TablesTreeModel>& model() const noexcept { return m_model; }
    void setController(const Pointer<TreeController>& controller) { m_controller = controller; }
    std::int32_t currentLine() const noexcept { return m_current; }
    void selectLine(std::int32_t line);
    void toggle(std::int32_t line);
    // Moves the current line to a table's line.
    void navigateTo(std::int32_t table);
    // The node's action, as a double click on the current line gives it.
    void act(std::int32_t line);

    // Starts renaming the current line's table or field; nothing happens
    // on any other line or without a formula bar.
    void startRenaming();
    // The line being renamed, or -1; the text typed for it so far.
    std::int32_t renamedLine() const noexcept { return m_typing.isEditing() ? m_renamed : -1; }
    const std::optional<std::string>& typing() const noexcept { return m_typing.text(); }

    // The line under a point of this editable's coordinates, or -1.
    std::int32_t lineAt(toolkit::Point point) const;
    toolkit::Rect lineRect(std::int32_t line) const;
    toolkit::Rect boxRect(std::int32_t line) const;

    void refresh() override;
    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    std::int32_t minimumWidth() const override { return kNarrowest; }
    std::int32_t maximumWidth() const override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    // A tree named by its title.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;
    StringPointer getTitle() const override { return str("Tables"); }

  private:
    friend class TreeEditedName;

    std::int32_t lineHeight() const;
    std::int32_t preferredHeight() const;
    void paintLine(toolkit::Graphics& graphics, std::int32_t line, toolkit::Point origin) const;
    // The typed name over the text of the line being renamed.
    void paintTyping(toolkit::Graphics& graphics, const toolkit::Rect& row,
                     std::int32_t textLeft) const;
    // Hands the new name of `target` (now called `name`) to the
    // application: a rename of every use.
    void commitRename(const std::string& target, const std::string& name, std::string_view text);

    Pointer<TablesTreeModel> m_model;
    Pointer<TreeController> m_controller;
    std::int32_t m_current = 0;
    std::int32_t m_renamed = -1;
    GridTyping m_typing;
};

}  // namespace qv
