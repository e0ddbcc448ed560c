#include "app/LayoutElement.h"

#include "app/TextEscapes.h"
#include "core/Assert.h"
#include "language/StringStream.h"

namespace qv {

std::string_view elementKeyword(ElementKind kind) noexcept {
    // ORDER ELEMENT KIND
    switch (kind) {
        case ElementKind::kTextArea:
            return "text";
        case ElementKind::kResultView:
            return "result";
        case ElementKind::kPropertiesView:
            return "properties";
        case ElementKind::kChart:
            return "chart";
        case ElementKind::kProjectView:
            return "project";
        case ElementKind::kLayoutTable:
            return "ltable";
        case ElementKind::kExplainView:
            return "explain";
    }
    return "";
}

StringPointer LayoutElement::toSource() const {
    std::string out;
    writeSource(out, 0);
    return str(out);
}

namespace {

// A table name as a chart writes it: a lone identifier as it is, any other
// name in brackets, as table headers write it; without them a table named
// in brackets would give a chart that does not read back.
std::string chartName(const StringPointer& name) {
    try {
        auto stream = make<StringStream>(name);
        Pointer<Token> token = stream->next();
        if (token->code() == kIdentifier && token->text()->equals(name->view()) &&
            stream->next()->code() == kEnd) {
            return name->toStdString();
        }
    } catch (const StringPointer&) {
        // Not a token at all: bracketed below.
    }
    return "[" + name->toStdString() + "]";
}

}  // namespace

ViewElement::ViewElement(ElementKind kind, const StringPointer& argument)
    : m_argument(argument.isNull() ? str("") : argument), m_kind(kind) {
    QV_ASSERT(kind != ElementKind::kLayoutTable);
}

void ViewElement::writeSource(std::string& out, std::int32_t) const {
    out += elementKeyword(m_kind);
    out += '(';
    switch (m_kind) {
        case ElementKind::kTextArea:
            out += '"';
            out += escapeTextArea(m_argument->view());
            out += '"';
            break;
        case ElementKind::kChart:
            out += chartName(m_argument);
            break;
        case ElementKind::kPropertiesView:
        case ElementKind::kExplainView:
            break;
        default:
            out += m_argument->view();
            break;
    }
    out += ");\n";
}

StringPointer ViewElement::describe() const {
    return str(std::string(getClassName()) + "(" + std::string(elementKeyword(m_kind)) + "," +
               m_argument->toStdString() + ")");
}

bool ViewElement::equals(const Object& other) const noexcept {
    if (!is<ViewElement>(other)) return false;
    const auto& element = static_cast<const ViewElement&>(other);
    return element.m_kind == m_kind && element.m_argument->equals(*m_argument);
}

}  // namespace qv
