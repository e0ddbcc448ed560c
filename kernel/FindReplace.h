// What a replace of find and replace changes, planned over the texts as they
// are now: the current match replaced, or every match in the formulas and
// text areas of a scope. Values and names are never replaced as text: a
// value follows from its formula, and a name is changed by renaming, which
// also changes every use of it. nameForRename tells when a replace all is a
// rename in disguise (a whole word that names something).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/FindSearch.h"

namespace qv {

// A formula (by table, definition index and row key) or a text area with
// its new text and the count of matches replaced in it.
struct PlannedText {
    FindPlace place;
    std::string text;
    std::int32_t count = 0;
};

// The current text of a formula or text area; nothing for a place that is
// neither or no longer there.
std::optional<std::string> currentText(Kernel& kernel, const std::vector<std::string>& textAreas,
                                       const FindPlace& place);

// The match of `hit` replaced, when its text still holds that same match
// there; nothing for values and names, or when the text changed.
std::optional<PlannedText> planReplace(Kernel& kernel, const std::vector<std::string>& textAreas,
                                       const TextMatcher& matcher, const FindHit& hit,
                                       std::string_view replacement);

// Every match in the formulas and text areas of the scope, one entry per
// text, in model order; `stop` ends it early with what was planned so far.
std::vector<PlannedText> planReplaceAll(Kernel& kernel, const std::vector<std::string>& textAreas,
                                        const TextMatcher& matcher, const FindScope& scope,
                                        std::string_view replacement,
                                        const std::atomic<bool>* stop = nullptr);

// What a whole-word plain query names: a table, a field of a table or a
// row of a table (field -1 for a table or row, row -1 for a table or field).
struct NamedPlace {
    FindKind kind = FindKind::TableName;
    std::int32_t table = -1;
    std::int32_t field = -1;
    std::int32_t row = -1;
    bool operator==(const NamedPlace&) const = default;
};
// The first table, field or row the query names when it is one identifier
// searched as a whole word: replacing it everywhere is a rename.
std::optional<NamedPlace> nameForRename(Kernel& kernel, const TextMatcher& matcher);

}  // namespace qv
