// The views of a document's layout as plain data, without windows: what the
// headless reader builds and what the document writer writes. Each element
// writes its own directive; a layout table writes its rows and cells.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"
#include "layout/LayoutWriter.h"

namespace qv {

// grep "ORDER ELEMENT KIND" for the table of keywords that follows this enum.
enum class ElementKind : std::int32_t {
    kTextArea,
    kResultView,
    kPropertiesView,
    kChart,
    kProjectView,
    kLayoutTable,
    kExplainView,
};

// The directive keyword of a kind ("text", "result", ...).
std::string_view elementKeyword(ElementKind kind) noexcept;

class LayoutElement : public Object {
    QV_ABSTRACT_OBJECT(LayoutElement, Object)
  public:
    virtual ElementKind kind() const noexcept = 0;
    // Appends the element's directive. The caller has placed the first line;
    // every further line the element writes itself starts with `indent`
    // blanks. Line feeds inside an expression text are not lines of the
    // layout and are never indented, so a text keeps its meaning however
    // deep its cell lies.
    virtual void writeSource(std::string& out, std::int32_t indent) const = 0;
    StringPointer toSource() const override;
    // The comments kept in the frames the element holds.
    virtual std::int32_t commentCount() const noexcept { return 0; }
};

// A text area (its text), result view (expression text), properties view,
// chart (table name), project view (expression text) or explain view.
class ViewElement final : public LayoutElement {
    QV_OBJECT(ViewElement, LayoutElement, "ViewElement")
  public:
    // `argument` is the text, expression text or table name; "" for a
    // properties or explain view.
    ViewElement(ElementKind kind, const StringPointer& argument);

    ElementKind kind() const noexcept override { return m_kind; }
    const StringPointer& argument() const noexcept { return m_argument; }

    void writeSource(std::string& out, std::int32_t indent) const override;
    StringPointer describe() const override;
    bool equals(const Object& other) const noexcept override;

  private:
    StringPointer m_argument;
    ElementKind m_kind;
};

}  // namespace qv
