// The comments a document holds around a view's directive, kept with the
// view's frame so that saving writes them back where they were: those on
// the lines before the directive, and those after it on its last line.
#pragma once

#include "language/Comments.h"
#include "layout/FrameNotes.h"

namespace qv {

class KeptComments final : public FrameNotes {
    QV_OBJECT(KeptComments, FrameNotes, "KeptComments")
  public:
    explicit KeptComments(const ItemComments& comments) : m_comments(comments) {}

    const ItemComments& comments() const noexcept { return m_comments; }

    void writeBefore(std::string& out, std::int32_t indent) const override;
    void writeAtLineEnd(std::string& out) const override;

  private:
    ItemComments m_comments;
};

}  // namespace qv
