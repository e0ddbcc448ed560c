// What the program offers assistive technology (screen readers) about the
// work area, which the backend paints as one surface: a tree of nodes for
// the work area, its frames, their views, a grid's cells and the texts.
//
// Nodes are made on request and hold no copies: each answers from the
// elements it stands for whenever it is asked, so a node stays true for as
// long as its element lives. A table does not keep a node per row; a cell's
// node is made when a reader asks for that cell, so a grid of a million rows
// costs what a small one does. Every node has a key that names the element
// (and, for a cell, its place): nodes made twice for the same thing have the
// same key, by which the backend keeps one interface per thing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/Geometry.h"

namespace qv::toolkit {

enum class AccessibleRole {
    WorkArea,      // the root: all the frames and the formula line
    Frame,         // a view with its title bar
    Table,         // a grid of cells with rows and columns
    Cell,          // one cell of a table
    EditableText,  // a text the user types into
    Text,          // a text that is only read
    Tree,          // a tree of items (the project view)
    Group,         // any other view (a chart, a layout of frames)
};

struct AccessibleKey {
    const void* element = nullptr;
    std::int64_t row = -1;
    std::int64_t column = -1;
    friend bool operator==(const AccessibleKey&, const AccessibleKey&) = default;
};

struct AccessibleKeyHash {
    std::size_t operator()(const AccessibleKey& key) const noexcept {
        std::size_t hash = std::hash<const void*>()(key.element);
        hash ^= std::hash<std::int64_t>()(key.row) + 0x9e3779b97f4a7c15ULL + (hash << 6);
        hash ^= std::hash<std::int64_t>()(key.column) + 0x9e3779b97f4a7c15ULL + (hash << 6);
        return hash;
    }
};

class AccessibleNode {
  public:
    virtual ~AccessibleNode() = default;

    virtual AccessibleKey key() const = 0;
    virtual AccessibleRole role() const = 0;
    virtual std::string name() const = 0;
    // What a cell shows, a text's content.
    virtual std::string value() const { return {}; }
    // More about the value: an error cell's message.
    virtual std::string description() const { return {}; }
    // In pixels of the window's work area (what the user sees there).
    virtual Rect bounds() const = 0;
    // False once the element is gone (closed, its document replaced).
    virtual bool isAlive() const { return true; }
    virtual bool isFocused() const { return false; }
    virtual bool isError() const { return false; }

    // The node that holds this one; null for the root.
    virtual std::shared_ptr<AccessibleNode> parent() const = 0;
    virtual std::int32_t childCount() const { return 0; }
    // Null outside 0 ... childCount() - 1. A table's children are its
    // cells row by row.
    virtual std::shared_ptr<AccessibleNode> child(std::int32_t) const { return {}; }

    // Tables.
    virtual std::int32_t rowCount() const { return 0; }
    virtual std::int32_t columnCount() const { return 0; }
    // Null outside the table.
    virtual std::shared_ptr<AccessibleNode> cell(std::int32_t, std::int32_t) const { return {}; }
    // The caption above a column (the record numbers of a detailed view).
    virtual std::string columnHeader(std::int32_t) const { return {}; }
    virtual std::string rowHeader(std::int32_t) const { return {}; }
    // The cell that has the keyboard's focus inside this node, if any.
    virtual std::shared_ptr<AccessibleNode> focusedChild() const { return {}; }

    // Cells: the place in their table.
    virtual std::int32_t row() const { return -1; }
    virtual std::int32_t column() const { return -1; }

    // Texts: the caret as a byte offset into value() (UTF-8), and whether
    // the user may type into it.
    virtual std::int32_t caret() const { return -1; }
    virtual bool isEditable() const { return false; }
};

// What changed, as the program tells the window (see Window).
enum class AccessibleChange {
    Focus,      // the node now has the keyboard's focus
    Value,      // the node's value (a cell's, a text's) changed
    Structure,  // the tree below the node changed (frames came or went)
};

}  // namespace qv::toolkit
