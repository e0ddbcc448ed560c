// CommentCollector: hands the comments a StringStream skipped to the items
// of a document, in text order, each exactly once, as kept texts (see
// Comments.h). A reader walks the items and asks at each step:
//   - before an item, for every comment up to its first token (leading);
//   - inside an item, for those before each formula and before its end,
//     which join its leading text, and skips those inside formula texts,
//     which the formula keeps itself;
//   - after an item, for those on the line where it ended (trailing).
// The comments asked for must have been skipped already, so the reader
// peeks at the token after them first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "language/Comments.h"
#include "language/StringStream.h"

namespace qv {

class CommentCollector {
  public:
    // Starts at the first comment at or after `from`.
    CommentCollector(const Pointer<StringStream>& stream, std::int32_t from);

    // Every comment before `limit`: a leading text, or the null object. A
    // blank line between the last of them and `limit` is kept as a final
    // line feed.
    StringPointer takeLeading(std::int32_t limit);
    // The comments before `limit` that start on the line where an item
    // ended at `itemEnd`, with no line end before them.
    StringPointer takeTrailing(std::int32_t itemEnd, std::int32_t limit);
    // The comments of an item whose last token the stream has just handed
    // out: `leading`, then those inside it not taken yet, and the comments
    // on the line where it ends (the stream looks at the next token).
    ItemComments takeItem(const StringPointer& leading);
    // Where the first comment not taken yet starts, or `limit` when none
    // starts before it.
    std::int32_t untakenFrom(std::int32_t limit) const noexcept;
    // Passes over the comments before `limit`: a formula's text holds them.
    void skip(std::int32_t limit);
    // Comments at or after `offset` are left out (the end mark of a document).
    void ignoreFrom(std::int32_t offset) noexcept { m_ignoredFrom = offset; }

  private:
    bool hasCommentBefore(std::int32_t limit) const noexcept;
    std::int32_t lineEndsBetween(std::int32_t from, std::int32_t to, bool& blankOnly) const;
    std::string normalized(const CommentSpan& span) const;
    std::string separator(const CommentSpan& previous, const CommentSpan& next) const;

    Pointer<StringStream> m_stream;
    std::size_t m_next = 0;
    std::int32_t m_ignoredFrom = INT32_MAX;
};

}  // namespace qv
