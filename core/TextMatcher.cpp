#include "core/TextMatcher.h"

#include <limits>
#include <utility>

#include "core/CaseFold.h"
#include "core/Errors.h"

namespace qv {

namespace {

// The bytes of the engineering number format, "nan" and "inf" included.
bool isNumberByte(char ch) {
    return std::string_view("0123456789.-+enaif").find(ch) != std::string_view::npos;
}

}  // namespace

TextMatcher::TextMatcher(std::string query, FindOptions options)
    : m_query(std::move(query)), m_options(options) {
    if (m_query.empty()) throwMessage("nothing to find");
    if (m_options.regularExpression) {
        m_regex.emplace(
            m_query,
            m_options.matchCase ? LinearRegex::Case::Sensitive : LinearRegex::Case::Insensitive,
            m_options.wholeWord ? LinearRegex::Bounds::WholeWord : LinearRegex::Bounds::Anywhere);
        return;
    }
    m_folded = m_options.matchCase ? m_query : foldedCase(m_query);
    for (char ch : m_folded) {
        auto byte = static_cast<unsigned char>(ch);
        if (!m_options.matchCase && ((byte >= 'a' && byte <= 'z') || byte >= 0x80)) m_folds = true;
    }
    for (char ch : m_folded) {
        if (!isNumberByte(ch)) m_mayMatchNumbers = false;
    }
}

std::optional<TextMatcher::Span> TextMatcher::findPlain(std::string_view text,
                                                        std::size_t from) const {
    const std::size_t length = m_folded.size();
    while (from + length <= text.size()) {
        std::size_t start = text.find(m_folded, from);
        if (start == std::string_view::npos) return std::nullopt;
        std::size_t end = start + length;
        // A byte of a Latin letter is a word's too (CaseFold).
        const auto word = [text](std::size_t at) { return isWordByteAt(text, at); };
        bool whole = (start == 0 || !word(start - 1) || !word(start)) &&
                     (end == text.size() || !word(end) || !word(end - 1));
        if (!m_options.wholeWord || whole) return Span{start, end};
        from = start + 1;
    }
    return std::nullopt;
}

std::string_view TextMatcher::searched(std::string_view text, std::string& buffer) const {
    if (m_folds && foldCase(text, buffer)) return buffer;
    return text;
}

std::optional<TextMatcher::Span> TextMatcher::find(std::string_view text, std::size_t from) const {
    if (m_regex) return m_regex->find(text, from);
    std::string buffer;
    return findPlain(searched(text, buffer), from);
}

std::string TextMatcher::replaceAll(std::string_view text, std::string_view replacement,
                                    std::int32_t& count) const {
    std::string out;
    count = 0;
    std::size_t copied = 0;
    Matches matches(*this, text);
    std::int64_t budget = std::numeric_limits<std::int64_t>::max();
    while (matches.next(budget) == Matches::State::Found) {
        out.append(text.substr(copied, matches.span().start - copied));
        out.append(replacement);
        copied = matches.span().end;
        ++count;
    }
    out.append(text.substr(copied));
    return out;
}

TextMatcher::Matches::Matches(const TextMatcher& matcher, std::string_view text)
    : m_matcher(&matcher) {
    if (matcher.m_regex) m_scan.emplace(*matcher.m_regex, text, 0);
    reset(text);
}

// A regular expression's scan folds the text itself; the plain search
// looks through the folded text, where every match lies where it lies in
// the text.
void TextMatcher::Matches::reset(std::string_view text) {
    m_from = 0;
    if (m_scan) {
        m_text = text;
        m_scan->reset(text, 0);
        return;
    }
    m_text = m_matcher->searched(text, m_folded);
}

TextMatcher::Matches::State TextMatcher::Matches::next(std::int64_t& budget) {
    if (m_scan) {
        // The scan tests the text once for what every match holds.
        switch (m_scan->run(budget)) {
            case LinearRegex::Scan::State::Found:
                m_span = m_scan->match();
                return State::Found;
            case LinearRegex::Scan::State::Paused:
                return State::Paused;
            case LinearRegex::Scan::State::NotFound:
                return State::Done;
        }
    }
    if (m_from > m_text.size()) return State::Done;
    std::optional<Span> found = m_matcher->findPlain(m_text, m_from);
    budget -= static_cast<std::int64_t>((found ? found->end : m_text.size()) - m_from) + 1;
    if (!found) {
        m_from = m_text.size() + 1;
        return State::Done;
    }
    m_span = *found;
    m_from = found->end;
    return State::Found;
}

}  // namespace qv
