#include "language/FieldDef.h"

#include "core/StringBuffer.h"
#include "language/ExpressionParser.h"

namespace qv {

namespace {

// True when the expression parser reads the text back as exactly this name.
// One identifier token is not enough: "select", "range" and "datarange" open
// other constructs, so a row block naming such a field would not read back.
bool readsAsPlainName(const StringPointer& text) {
    Pointer<ParseResult> parsed = make<ExpressionParser>()->parseFieldName(text);
    return !parsed->failed() && is<String>(parsed->value()) &&
           cast<String>(parsed->value())->equals(text->view());
}

std::string_view textOf(const Pointer<Object>& object, StringPointer& holder) {
    holder = object.isNull() ? str("NullObject") : object->toString();
    return holder->view();
}

}  // namespace

std::string indentLines(std::string_view text, int width) {
    std::string out;
    std::string pad(static_cast<std::size_t>(width), ' ');
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        out += pad;
        if (end == std::string_view::npos) {
            out += text;
            break;
        }
        out += text.substr(0, end + 1);
        text.remove_prefix(end + 1);
    }
    return out;
}

FieldDef::FieldDef(TableDef* owner) : m_expr(make<VirtualVector>()), m_owner(owner) {}

FieldDef::FieldDef(const FieldDef& other, TableDef* owner, Formulas formulas)
    : Object(),
      m_name(other.m_name.isNull() ? other.m_name : other.m_name->clone()),
      m_warning(other.m_warning),
      m_expr(formulas == Formulas::Shared ? other.m_expr->sharingCopy()
                                          : cast<VirtualVector>(other.m_expr->clone())),
      m_comments(other.m_comments),
      m_owner(owner),
      m_isVisible(other.m_isVisible),
      m_dontOverride(other.m_dontOverride) {}

StringPointer FieldDef::nameText() const {
    if (m_name.isNull()) return str("");
    return m_name->toString()->trim();
}

StringPointer FieldDef::writeHeader() const {
    if (m_name.isNull()) return str("");
    StringPointer text = nameText();
    if (text->length() == 0) return text;
    if (!m_warning.isNull()) text = str("#") + text + "#";
    if (readsAsPlainName(text)) return text + ":=";
    return str("[") + text + "]:= ";
}

StringPointer FieldDef::describe() const {
    StringPointer holder;
    std::string block;
    block += "name=";
    block += textOf(m_name, holder);
    block += ";\nwarning=";
    block += textOf(m_warning, holder);
    block += ";\nis_visible=" + std::to_string(m_isVisible);
    block += ";\ndont_ovrride=";
    block += m_dontOverride ? "true" : "false";
    block += ";\nexpr=";
    block += m_expr->describe()->view();
    block += "\n";
    return str("\nFieldDef{\n" + indentLines(block, 4) + "}\n");
}

}  // namespace qv
