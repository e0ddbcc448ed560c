// NameSplice: replacing names inside a formula's text. A name starts at an
// offset the parser recorded; it is a word, or a bracketed name up to its
// closing bracket. The rest of the text is copied as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "language/AbstractExpression.h"

namespace qv {

struct NameSplice {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::string replacement;
};

// The length of the name written at `offset`, or -1 when none starts there.
std::int32_t nameLengthAt(std::string_view text, std::int32_t offset);
// True when the name written at `offset` reads as `name`.
bool nameReadsAt(std::string_view text, std::int32_t offset, std::string_view name);
// The text with each splice done; the splices are in ascending order and
// do not overlap.
std::string spliceText(std::string_view text, const std::vector<NameSplice>& splices);
// Where a character at `offset` of the original text lies after the splices.
std::int32_t offsetAfter(const std::vector<NameSplice>& splices, std::int32_t offset);

// The text a formula keeps (an ExpressionSource's), or the null object.
StringPointer formulaText(const ExpressionPointer& formula);
// A formula like `formula` (typed or hash text) holding `text` instead;
// the null object when the text does not parse.
ExpressionPointer reformulated(const ExpressionPointer& formula, const StringPointer& text);

}  // namespace qv
