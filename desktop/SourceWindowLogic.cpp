#include "desktop/SourceWindowLogic.h"

#include <algorithm>

#include "core/Warning.h"
#include "language/ExpressionParser.h"
#include "language/SourceExpressions.h"

namespace qv {

toolkit::Rect SourceWindowLayout::sourceField(toolkit::Size window) {
    return {10, 10, std::max(0, window.width - 20), std::max(0, window.height - 110)};
}

toolkit::Rect SourceWindowLayout::messageField(toolkit::Size window) {
    return {10, window.height - 85, std::max(0, window.width - 20), 40};
}

void SourceWindowLogic::fill() {
    m_fields.setSourceText(m_host.documentSource()->view());
}

void SourceWindowLogic::sourceAction(std::string_view text) {
    std::optional<LoadFailure> failure = m_host.reloadDocument(str(text));
    // The place goes on the same line: the message line is one line high.
    m_fields.setMessageText(failure ? failure->describeOnOneLine() : std::string(kReloaded));
}

void SourceWindowLogic::messageAction(std::string_view text) {
    StringPointer formula = str(text);
    // An empty line prints as nothing; it must not wipe the document's text.
    if (formula->trim()->length() == 0) return;
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(formula);
    // A text that does not parse would come back unchanged and replace the
    // document's text; the message line says what is wrong instead.
    if (is<ErrorExpression>(parsed)) {
        m_fields.setMessageText(cast<ErrorExpression>(parsed)->error()->message()->view());
        return;
    }
    Pointer<Kernel> kernel = m_host.currentKernel();
    StringPointer printed = kernel.isNull() ? make<Kernel>()->formatExpression(formula)
                                            : kernel->formatExpression(formula);
    m_fields.setSourceText(printed->view());
}

}  // namespace qv
