// TextMatcher: what find and replace look for in a text — a query, matched
// as plain text or as a regular expression (LinearRegex), with or without
// regard to case (ASCII and the Latin letters: "Ő" finds "ő"), anywhere or
// as a whole word — and the replacing of every
// match of a text. Matches are never empty and never overlap: each search
// goes on after the end of the match before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/LinearRegex.h"

namespace qv {

struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool regularExpression = false;
};

class TextMatcher {
  public:
    using Span = LinearRegex::Span;

    // Throws "nothing to find" for an empty query and the regular
    // expression's message for a pattern it cannot read.
    TextMatcher(std::string query, FindOptions options);

    const std::string& query() const noexcept { return m_query; }
    const FindOptions& options() const noexcept { return m_options; }

    // The matches of one text, one at a time; a regular expression may
    // pause within a long text when the budget is spent, and goes on where
    // it paused at the next call.
    class Matches {
      public:
        enum class State : std::uint8_t { Found, Done, Paused };
        Matches(const TextMatcher& matcher, std::string_view text);
        // The text it looks through may be its own folded copy.
        Matches(const Matches&) = delete;
        Matches& operator=(const Matches&) = delete;
        // Looks through another text, keeping the memory of this one.
        void reset(std::string_view text);
        // Takes the work it did (about one unit per byte looked at) off
        // `budget`.
        State next(std::int64_t& budget);
        Span span() const noexcept { return m_span; }

      private:
        const TextMatcher* m_matcher;
        std::string_view m_text;
        std::size_t m_from = 0;
        // The text folded, without regard to case, when it has letters to fold.
        std::string m_folded;
        Span m_span;
        std::optional<LinearRegex::Scan> m_scan;
    };

    // The first match at or after `from`.
    std::optional<Span> find(std::string_view text, std::size_t from = 0) const;
    // The text with every match replaced (the replacement as it is written:
    // no group references); `count` tells how many were replaced.
    std::string replaceAll(std::string_view text, std::string_view replacement,
                           std::int32_t& count) const;
    // False when no number as the grid writes it ("-1.25e-6", "inf") can
    // hold a match, so a search may skip formatting numbers.
    bool mayMatchNumbers() const noexcept { return m_mayMatchNumbers; }

  private:
    // In a text folded as the query is.
    std::optional<Span> findPlain(std::string_view text, std::size_t from) const;
    // The text to search: itself, or folded into `buffer` without regard to case.
    std::string_view searched(std::string_view text, std::string& buffer) const;

    std::string m_query;
    // The query folded to lower case (CaseFold), without regard to case.
    std::string m_folded;
    FindOptions m_options;
    // Without regard to case, a query with a letter or a byte beyond ASCII
    // is looked for in the folded text; any other is found alike in both.
    bool m_folds = false;
    std::optional<LinearRegex> m_regex;
    bool m_mayMatchNumbers = true;
};

}  // namespace qv
