#include "app/KeptComments.h"

#include "layout/LayoutWriter.h"

namespace qv {

void KeptComments::writeBefore(std::string& out, std::int32_t indent) const {
    if (m_comments.leading.isNull()) return;
    appendLeadingComments(out, m_comments.leading->view(), indent);
    appendIndent(out, indent);
}

void KeptComments::writeAtLineEnd(std::string& out) const {
    if (!m_comments.trailing.isNull()) appendTrailingComments(out, m_comments.trailing->view());
}

}  // namespace qv
