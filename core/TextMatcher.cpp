#include "core/TextMatcher.h"

#include <limits>
#include <utility>

#include "core/Errors.h"

namespace qv {

namespace {

char lowerByte(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool isWordByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

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
    m_folded = m_query;
    if (!m_options.matchCase) {
        for (char& ch : m_folded)
            ch = lowerByte(ch);
    }
    for (char ch : m_folded) {
        if (!isNumberByte(ch)) m_mayMatchNumbers = false;
    }
}

std::optional<TextMatcher::Span> TextMatcher::findPlain(std::string_view text,
                                                        std::size_t from) const {
    const std::size_t length = m_folded.size();
    while (from + length <= text.size()) {
        std::size_t start = std::string_view::npos;
        if (m_options.matchCase) {
            start = text.find(m_folded, from);
        } else {
            // The first byte in either case, then the rest folded.
            char first = m_folded.front();
            for (std::size_t at = from; at + length <= text.size(); ++at) {
                if (lowerByte(text[at]) != first) continue;
                std::size_t i = 1;
                while (i < length && lowerByte(text[at + i]) == m_folded[i])
                    ++i;
                if (i == length) {
                    start = at;
                    break;
                }
            }
        }
        if (start == std::string_view::npos) return std::nullopt;
        std::size_t end = start + length;
        bool whole = (start == 0 || !isWordByte(text[start - 1]) || !isWordByte(text[start])) &&
                     (end == text.size() || !isWordByte(text[end]) || !isWordByte(text[end - 1]));
        if (!m_options.wholeWord || whole) return Span{start, end};
        from = start + 1;
    }
    return std::nullopt;
}

std::optional<TextMatcher::Span> TextMatcher::find(std::string_view text, std::size_t from) const {
    if (m_regex) return m_regex->find(text, from);
    return findPlain(text, from);
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
    : m_matcher(&matcher), m_text(text) {
    if (matcher.m_regex) m_scan.emplace(*matcher.m_regex, text, 0);
}

void TextMatcher::Matches::reset(std::string_view text) {
    m_text = text;
    m_from = 0;
    m_tested = false;
    if (m_scan) m_scan->reset(text, 0);
}

TextMatcher::Matches::State TextMatcher::Matches::next(std::int64_t& budget) {
    if (m_scan) {
        if (!m_tested) {
            // Once per text: a text without a byte every match needs is passed over.
            m_tested = true;
            if (!m_matcher->m_regex->mayMatch(m_text)) {
                budget -= static_cast<std::int64_t>(m_text.size() / 8) + 1;
                return State::Done;
            }
        }
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
