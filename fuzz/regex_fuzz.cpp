// Compiles the first line of the input as a find pattern, in both cases,
// and matches it against the rest. A pattern either compiles or is refused
// with a message; the matches of a compiled one lie within the text, are
// never empty and move forward; the quick test never hides a match, and
// every match holds the literal run the quick test looks for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "core/CaseFold.h"
#include "core/String.h"
#include "core/TextMatcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t feed = input.find('\n');
    std::string_view pattern = input.substr(0, feed);
    std::string_view text = feed == std::string_view::npos ? "" : input.substr(feed + 1);
    for (bool matchCase : {false, true}) {
        try {
            LinearRegex regex(
                pattern, matchCase ? LinearRegex::Case::Sensitive : LinearRegex::Case::Insensitive);
            LinearRegex::Scan scan(regex, text, 0);
            std::int64_t budget = std::numeric_limits<std::int64_t>::max();
            std::size_t last = 0;
            while (scan.run(budget) == LinearRegex::Scan::State::Found) {
                LinearRegex::Span span = scan.match();
                if (span.start < last || span.end <= span.start || span.end > text.size() ||
                    !regex.mayMatch(text))
                    std::abort();
                std::string_view matched = text.substr(span.start, span.end - span.start);
                std::string folded = matchCase ? std::string(matched) : foldedCase(matched);
                if (folded.find(regex.requiredLiteral()) == std::string::npos) std::abort();
                last = span.end;
            }
        } catch (const StringPointer&) {
        }
    }
    return 0;
}
