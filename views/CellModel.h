// The protocol of a grid cell, as the grid element asks it: what the cell
// shows, whether and how it is edited. A default cell is read-only and
// shows the empty text.
#pragma once

#include <optional>
#include <string>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

class ModelEditor;

class CellModel : public Object {
    QV_OBJECT(CellModel, Object, "CellModel")
  public:
    // What the grid draws.
    virtual StringPointer text() { return str(""); }
    // What the formula bar offers for editing; the shown text by default.
    virtual StringPointer editText() { return text(); }
    virtual bool isEditable() const { return false; }
    // Takes typed text, writing the model through `editor` only. A cell
    // that accepts no edit ignores it.
    virtual void setText(ModelEditor&, const StringPointer&) {}
    // Whether the cell is drawn as an error (an error value, a bad name).
    virtual bool isError() { return false; }
    // Whether the cell shows a special value that is no error ("(range)",
    // "..."), drawn quietly so that a sound model does not look broken.
    virtual bool isSpecial() { return false; }
    // The number the cell shows, so that a grid too narrow for its text can
    // round it rather than cut it; nullopt for anything else.
    virtual std::optional<double> number() { return std::nullopt; }
    // A cell holding one Boolean (toggled by a click) answers its value.
    virtual std::optional<bool> booleanValue() { return std::nullopt; }
    virtual void setBoolean(ModelEditor&, bool) {}
    // The table or field the cell belongs to, as a rename or a where-used
    // list names it ("Prices", "Prices.qty"); empty for a cell of neither.
    virtual std::string nameTarget() { return {}; }
    // Whether typing into the cell renames its nameTarget (a field's header
    // or name cell, a table's name in the list of tables).
    virtual bool holdsName() { return false; }
    // Whether clearing the name is offered to the application (a warning of
    // its uses) before the cell takes it; a name the cell can only rename
    // goes straight to the cell, which refuses it.
    virtual bool mayClearName() { return true; }
};

// A fixed caption.
class LabelCell final : public CellModel {
    QV_OBJECT(LabelCell, CellModel, "LabelCell")
  public:
    explicit LabelCell(StringPointer text) : m_text(std::move(text)) {}
    StringPointer text() override { return m_text; }

  private:
    StringPointer m_text;
};

// A header cell of the detailed view.
class CornerNameCell final : public CellModel {
    QV_OBJECT(CornerNameCell, CellModel, "CornerNameCell")
  public:
    explicit CornerNameCell(StringPointer caption) : m_caption(std::move(caption)) {}
    StringPointer text() override { return m_caption; }

  private:
    StringPointer m_caption;
};

}  // namespace qv
