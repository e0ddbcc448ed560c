// LinearRegex: the regular expressions of find and replace, matched in time
// linear in the text (a Thompson NFA run as a Pike machine: every thread
// advances one byte at a time, and two threads at the same instruction are
// one). A backtracking matcher (std::regex) takes exponential time on a
// pattern like "(a*)*b" and recurses once per character, so a user's
// pattern could hang the program or overflow its stack; here neither the
// compiler nor the matcher recurses without a bound.
//
// Syntax: literal bytes; "." (any byte but a line feed); classes "[a-z]",
// "[^...]"; the escapes \d \D \w \W \s \S \t \n and a backslash before any
// punctuation; groups "(...)" and "(?:...)"; alternation "|"; the
// quantifiers * + ? {n} {n,} {n,m}, each lazy with a trailing "?"; the
// anchors ^ and $ (at the ends of the text and of each line) and \b \B.
// Matching is leftmost-first, as in Perl. Bytes are matched one by one;
// without regard to case the pattern and the text are folded first
// (CaseFold: ASCII and the Latin letters), which keeps every position.
//
// Before a text is scanned it is tested for what every match holds: the
// bytes, and the longest run of literal bytes ("5e6" in "\d+5e6"). Most
// texts of a search hold no match, and a memchr or a find turns them away
// without a thread started.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class LinearRegex {
  public:
    // Bounds on what a pattern may ask: the compiled program grows with
    // counted repeats ("(a{100}){100}"), and the parser nests per group.
    static constexpr std::size_t kMaxPatternBytes = 1000;
    static constexpr std::size_t kMaxInstructions = 20000;
    static constexpr std::int32_t kMaxNesting = 100;
    static constexpr std::int32_t kMaxRepeat = 1000;

    enum class Case : std::uint8_t { Sensitive, Insensitive };

    struct Span {
        std::size_t start = 0;
        std::size_t end = 0;
        bool operator==(const Span&) const = default;
    };

    // WholeWord: a match neither begins nor ends inside a word: where its
    // first byte is a word byte (letter, digit, underscore) none comes just
    // before it, and where its last one is, none comes just after it.
    enum class Bounds : std::uint8_t { Anywhere, WholeWord };

    // Throws the message "invalid regular expression: " with the reason and
    // the position for a pattern it cannot read.
    LinearRegex(std::string_view pattern, Case caseMode, Bounds bounds = Bounds::Anywhere);

    // The leftmost match starting at or after `from`, with its extent as a
    // leftmost-first matcher chooses it. A match is never empty: an empty
    // match marks nothing to show or replace, and skipping it inside the
    // matcher keeps a search of all matches linear.
    std::optional<Span> find(std::string_view text, std::size_t from = 0) const;
    std::size_t instructionCount() const noexcept { return m_program.size(); }
    // False when the text lacks a byte every match holds ("5" and "e" for
    // "\\d+5e") or the literal run every match holds ("5e"): a quick test
    // before a scan of the text.
    bool mayMatch(std::string_view text) const;
    const std::string& requiredLiteral() const noexcept { return m_requiredLiteral; }

    // One search that can pause: each call of run() does at most `budget`
    // steps (a thread moved over a byte is one), so a caller can share its
    // time with a window and stop in the middle of a long text. The text
    // must stay as it is while the scan lives.
    class Scan {
      public:
        enum class State : std::uint8_t { Found, NotFound, Paused };
        Scan(const LinearRegex& regex, std::string_view text, std::size_t from);
        // The text it scans may be its own folded copy.
        Scan(const Scan&) = delete;
        Scan& operator=(const Scan&) = delete;
        // Searches another text, keeping the memory of this one.
        void reset(std::string_view text, std::size_t from);
        // Takes the steps it did off `budget`.
        State run(std::int64_t& budget);
        // After Found: the match; run() again finds the next one after it.
        Span match() const noexcept { return m_match; }

      private:
        struct Thread {
            std::int32_t pc;
            std::size_t start;
        };
        void add(std::vector<Thread>& list, std::int32_t pc, std::size_t start, std::size_t at);
        void restart(std::size_t from);
        // The text to scan (folded without regard to case) and its quick test.
        void useText(std::string_view text);

        const LinearRegex* m_regex;
        std::string_view m_text;
        // The folded copy of a text that has letters to fold.
        std::string m_folded;
        // The quick test turned the text away.
        bool m_ruledOut = false;
        // The quick test's work, taken off the budget of the next run.
        std::int64_t m_testCost = 0;
        std::vector<Thread> m_current;
        std::vector<Thread> m_next;
        std::vector<std::uint32_t> m_marks;
        std::vector<std::int32_t> m_stack;
        std::uint32_t m_generation = 0;
        std::size_t m_at = 0;
        bool m_matched = false;
        bool m_done = false;
        Span m_match;
    };

    // ORDER REGEX OP: what one instruction does.
    enum class Op : std::uint8_t {
        Byte,       // the byte `arg`
        Any,        // any byte but a line feed
        Class,      // a byte of class `arg`
        Split,      // go on at `arg` first, then at `alt`
        Jump,       // go on at `arg`
        LineStart,  // at the start of the text or after a line feed
        LineEnd,    // at the end of the text or before a line feed
        WordEdge,   // between a word byte and another
        NotWordEdge,
        NotInWord,  // not between two word bytes (whole word)
        Match,
    };
    struct Instruction {
        Op op;
        std::int32_t arg = 0;
        std::int32_t alt = 0;  // Split's second choice
    };

  private:
    friend class RegexCompiler;

    void findFirstBytes();
    // Whether a text must be folded before it is scanned: without regard to
    // case, when a letter or a byte beyond ASCII could match differently
    // in the folded text ("^9+\\.5$" cannot, "\\d+5e6" can).
    void findWhetherToFold();
    // mayMatch for a text already folded as the scan folds it.
    bool mayMatchFolded(std::string_view text) const;

    std::vector<Instruction> m_program;
    // One 256-bit set per class.
    std::vector<std::vector<bool>> m_classes;
    // The bytes a match can begin with; empty when it can begin with any.
    // A scan with no thread running skips to the next of them.
    std::vector<bool> m_firstBytes;
    // The bytes every match holds (in lower case, without regard to case).
    std::string m_requiredBytes;
    // The longest run of bytes every match holds in a row, when longer
    // than one byte (folded without regard to case).
    std::string m_requiredLiteral;
    Case m_case;
    bool m_folds = false;
};

}  // namespace qv
