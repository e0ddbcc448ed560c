#include "core/LinearRegex.h"

#include <bitset>
#include <cstring>
#include <limits>
#include <utility>

#include "core/CaseFold.h"
#include "core/Errors.h"

// The grammar the compiler reads:
//   alternation -> concat ('|' concat)*
//   concat      -> repeat*
//   repeat      -> atom (('*' | '+' | '?' | '{' n [',' [m]] '}') '?'?)?
//   atom        -> '(' ['?:'] alternation ')' | '[' class ']' | '.' | '^' | '$'
//                | '\' escape | byte

namespace qv {

namespace {

char foldByte(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool isWordByte(unsigned char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

bool isDigitByte(unsigned char ch) {
    return ch >= '0' && ch <= '9';
}

bool isSpaceByte(unsigned char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
}

using ByteSet = std::vector<bool>;

void addPredicate(ByteSet& set, bool (*test)(unsigned char), bool negated) {
    for (int ch = 0; ch < 256; ++ch) {
        if (test(static_cast<unsigned char>(ch)) != negated)
            set[static_cast<std::size_t>(ch)] = true;
    }
}

}  // namespace

// Reads a pattern into a tree, then writes the tree out as the program:
// a counted repeat writes its operand once per count.
class RegexCompiler {
  public:
    RegexCompiler(LinearRegex& regex, std::string_view pattern)
        : m_regex(regex), m_pattern(pattern) {}

    void compile(bool wholeWord) {
        if (m_pattern.size() > LinearRegex::kMaxPatternBytes) fail("pattern too long");
        std::int32_t root = parseAlternation();
        if (m_at < m_pattern.size()) fail("unmatched )");
        if (wholeWord) push({LinearRegex::Op::NotInWord});
        std::bitset<256> required = requiredBytes(root);
        for (std::size_t ch = 0; ch < 256; ++ch)
            if (required[ch]) m_regex.m_requiredBytes += static_cast<char>(ch);
        std::string literal = requiredLiteral(root);
        if (literal.size() > 1) m_regex.m_requiredLiteral = std::move(literal);
        emit(root);
        if (wholeWord) push({LinearRegex::Op::NotInWord});
        push({LinearRegex::Op::Match});
    }

  private:
    using Op = LinearRegex::Op;
    using Instruction = LinearRegex::Instruction;

    enum class Kind : std::uint8_t { Empty, Atom, Concat, Alternation, Repeat };
    struct Node {
        Kind kind = Kind::Empty;
        Instruction atom{Op::Match};
        std::vector<std::int32_t> children;
        std::int32_t min = 0;
        std::int32_t max = -1;  // -1: no bound
        bool lazy = false;
    };

    // Every fault leaves through here.
    [[noreturn]] void fail(std::string_view reason) const {
        throwMessage("invalid regular expression: " + std::string(reason) + " at " +
                     std::to_string(std::min(m_at, m_pattern.size()) + 1));
    }

    bool atEnd() const { return m_at >= m_pattern.size(); }
    char peek() const { return atEnd() ? '\0' : m_pattern[m_at]; }

    std::int32_t addNode(Node node) {
        m_nodes.push_back(std::move(node));
        return static_cast<std::int32_t>(m_nodes.size() - 1);
    }
    std::int32_t atomNode(Instruction instruction) {
        Node node;
        node.kind = Kind::Atom;
        node.atom = instruction;
        return addNode(std::move(node));
    }

    // alternation -> concat ('|' concat)*
    std::int32_t parseAlternation() {
        if (++m_depth > LinearRegex::kMaxNesting) fail("groups nested too deep");
        Node node;
        node.kind = Kind::Alternation;
        node.children.push_back(parseConcat());
        while (peek() == '|' && !atEnd()) {
            ++m_at;
            node.children.push_back(parseConcat());
        }
        --m_depth;
        if (node.children.size() == 1) return node.children.front();
        return addNode(std::move(node));
    }

    // concat -> repeat*
    std::int32_t parseConcat() {
        Node node;
        node.kind = Kind::Concat;
        while (!atEnd() && peek() != '|' && peek() != ')')
            node.children.push_back(parseRepeat());
        if (node.children.empty()) return addNode(Node{});
        if (node.children.size() == 1) return node.children.front();
        return addNode(std::move(node));
    }

    // repeat -> atom (quantifier '?'?)?
    std::int32_t parseRepeat() {
        std::int32_t operand = parseAtom();
        std::int32_t min = 0;
        std::int32_t max = -1;
        switch (peek()) {
            case '*':
                break;
            case '+':
                min = 1;
                break;
            case '?':
                max = 1;
                break;
            case '{':
                if (!parseCount(min, max)) return operand;
                break;
            default:
                return operand;
        }
        ++m_at;
        Node node;
        node.kind = Kind::Repeat;
        node.children.push_back(operand);
        node.min = min;
        node.max = max;
        if (peek() == '?') {
            node.lazy = true;
            ++m_at;
        }
        if (peek() == '*' || peek() == '+' || (peek() == '{' && isCount()))
            fail("nothing to repeat");
        return addNode(std::move(node));
    }

    // Whether a '{' at the position starts a count; otherwise it is a byte.
    bool isCount() const {
        std::size_t at = m_at + 1;
        return at < m_pattern.size() && isDigitByte(static_cast<unsigned char>(m_pattern[at]));
    }

    // '{' n [',' [m]] '}'; leaves the position after the '}'.
    bool parseCount(std::int32_t& min, std::int32_t& max) {
        if (!isCount()) return false;
        ++m_at;
        min = parseNumber();
        max = min;
        if (peek() == ',') {
            ++m_at;
            max = isDigitByte(static_cast<unsigned char>(peek())) ? parseNumber() : -1;
        }
        if (peek() != '}') fail("missing }");
        if (max >= 0 && max < min) fail("repeat count out of order");
        // The caller steps over the '}'.
        return true;
    }

    std::int32_t parseNumber() {
        std::int64_t value = 0;
        while (isDigitByte(static_cast<unsigned char>(peek()))) {
            value = value * 10 + (peek() - '0');
            if (value > LinearRegex::kMaxRepeat) fail("repeat count too large");
            ++m_at;
        }
        return static_cast<std::int32_t>(value);
    }

    std::int32_t parseAtom() {
        char ch = peek();
        switch (ch) {
            case '(':
                return parseGroup();
            case '[':
                return parseClass();
            case '.':
                ++m_at;
                return atomNode({Op::Any});
            case '^':
                ++m_at;
                return atomNode({Op::LineStart});
            case '$':
                ++m_at;
                return atomNode({Op::LineEnd});
            case '\\':
                return parseEscape();
            case '*':
            case '+':
            case '?':
                fail("nothing to repeat");
            default:
                ++m_at;
                return byteNode(ch);
        }
    }

    std::int32_t byteNode(char ch) {
        if (m_regex.m_case == LinearRegex::Case::Insensitive) ch = foldByte(ch);
        return atomNode({Op::Byte, static_cast<unsigned char>(ch)});
    }

    std::int32_t parseGroup() {
        ++m_at;
        if (m_pattern.substr(m_at, 2) == "?:") {
            m_at += 2;
        } else if (peek() == '?') {
            fail("unsupported group");
        }
        std::int32_t inner = parseAlternation();
        if (peek() != ')' || atEnd()) fail("missing )");
        ++m_at;
        return inner;
    }

    std::int32_t parseEscape() {
        ++m_at;
        if (atEnd()) fail("trailing backslash");
        char ch = m_pattern[m_at++];
        ByteSet set(256, false);
        switch (ch) {
            case 'b':
                return atomNode({Op::WordEdge});
            case 'B':
                return atomNode({Op::NotWordEdge});
            case 't':
                return byteNode('\t');
            case 'n':
                return byteNode('\n');
            case 'd':
            case 'D':
            case 'w':
            case 'W':
            case 's':
            case 'S':
                addClassEscape(set, ch);
                return classNode(std::move(set));
            default:
                if (isWordByte(static_cast<unsigned char>(ch))) fail("unknown escape");
                return byteNode(ch);
        }
    }

    void addClassEscape(ByteSet& set, char ch) {
        bool negated = ch >= 'A' && ch <= 'Z';
        switch (foldByte(ch)) {
            case 'd':
                return addPredicate(set, isDigitByte, negated);
            case 'w':
                return addPredicate(set, isWordByte, negated);
            default:
                return addPredicate(set, isSpaceByte, negated);
        }
    }

    // '[' '^'? (byte ('-' byte)? | escape)+ ']'; a ']' first is a byte.
    std::int32_t parseClass() {
        ++m_at;
        bool negated = peek() == '^';
        if (negated) ++m_at;
        ByteSet set(256, false);
        bool first = true;
        while (!atEnd() && (peek() != ']' || first)) {
            first = false;
            unsigned char low = static_cast<unsigned char>(m_pattern[m_at++]);
            if (low == '\\') {
                if (atEnd()) fail("trailing backslash");
                char escaped = m_pattern[m_at++];
                if (std::string_view("dDwWsS").find(escaped) != std::string_view::npos) {
                    addClassEscape(set, escaped);
                    continue;
                }
                low = static_cast<unsigned char>(escaped == 't'   ? '\t'
                                                 : escaped == 'n' ? '\n'
                                                                  : escaped);
            }
            unsigned char high = low;
            if (peek() == '-' && m_at + 1 < m_pattern.size() && m_pattern[m_at + 1] != ']') {
                m_at += 1;
                high = static_cast<unsigned char>(m_pattern[m_at++]);
                if (high == '\\') {
                    if (atEnd()) fail("trailing backslash");
                    high = static_cast<unsigned char>(m_pattern[m_at++]);
                }
                if (high < low) fail("class range out of order");
            }
            for (int byte = low; byte <= high; ++byte)
                set[static_cast<std::size_t>(byte)] = true;
        }
        if (atEnd()) fail("missing ]");
        ++m_at;
        return classNode(std::move(set), negated);
    }

    // Without regard to case a letter stands for both of its cases, before
    // a "^" takes the complement.
    std::int32_t classNode(ByteSet set, bool negated = false) {
        if (m_regex.m_case == LinearRegex::Case::Insensitive) {
            for (int ch = 'a'; ch <= 'z'; ++ch) {
                auto lower = static_cast<std::size_t>(ch);
                auto upper = static_cast<std::size_t>(ch - 'a' + 'A');
                bool either = set[lower] || set[upper];
                set[lower] = either;
                set[upper] = either;
            }
        }
        if (negated) set.flip();
        m_regex.m_classes.push_back(std::move(set));
        return atomNode({Op::Class, static_cast<std::int32_t>(m_regex.m_classes.size() - 1)});
    }

    // The bytes every match of a node holds: all of a sequence's parts',
    // those common to every choice, a repeat's operand's when it must come.
    std::bitset<256> requiredBytes(std::int32_t index) const {
        const Node& node = m_nodes[static_cast<std::size_t>(index)];
        std::bitset<256> bytes;
        switch (node.kind) {
            case Kind::Atom:
                if (node.atom.op == Op::Byte) bytes.set(static_cast<std::size_t>(node.atom.arg));
                break;
            case Kind::Concat:
                for (std::int32_t child : node.children)
                    bytes |= requiredBytes(child);
                break;
            case Kind::Alternation:
                bytes.set();
                for (std::int32_t child : node.children)
                    bytes &= requiredBytes(child);
                break;
            case Kind::Repeat:
                if (node.min > 0) bytes = requiredBytes(node.children.front());
                break;
            case Kind::Empty:
                break;
        }
        return bytes;
    }

    // The longest run of literal bytes every match of a node holds in a
    // row: a run of byte atoms in a sequence, or the longest of its parts'
    // own runs; a repeat's operand's when it must come. Anything else in a
    // sequence (an assertion, a class, a group) ends a run.
    std::string requiredLiteral(std::int32_t index) const {
        const Node& node = m_nodes[static_cast<std::size_t>(index)];
        switch (node.kind) {
            case Kind::Atom:
                if (node.atom.op != Op::Byte) return {};
                return std::string(1, static_cast<char>(node.atom.arg));
            case Kind::Repeat:
                return node.min > 0 ? requiredLiteral(node.children.front()) : std::string();
            case Kind::Concat: {
                std::string best;
                std::string run;
                for (std::int32_t child : node.children) {
                    const Node& part = m_nodes[static_cast<std::size_t>(child)];
                    if (part.kind == Kind::Atom && part.atom.op == Op::Byte) {
                        run += static_cast<char>(part.atom.arg);
                        continue;
                    }
                    if (run.size() > best.size()) best = run;
                    run.clear();
                    std::string inner = requiredLiteral(child);
                    if (inner.size() > best.size()) best = std::move(inner);
                }
                return run.size() > best.size() ? run : best;
            }
            case Kind::Alternation:
            case Kind::Empty:
                break;
        }
        return {};
    }

    // ---- writing the program

    std::int32_t here() const { return static_cast<std::int32_t>(m_regex.m_program.size()); }

    std::int32_t push(Instruction instruction) {
        if (m_regex.m_program.size() >= LinearRegex::kMaxInstructions) fail("pattern too large");
        m_regex.m_program.push_back(instruction);
        return here() - 1;
    }

    Instruction& at(std::int32_t index) {
        return m_regex.m_program[static_cast<std::size_t>(index)];
    }

    void emit(std::int32_t index) {
        // Repeats of parts that write nothing ("(){1000}") still cost a visit each.
        if (++m_visits > LinearRegex::kMaxInstructions * 4) fail("pattern too large");
        // A copy: the vector may not move, but a reference would outlive no
        // change here; copying keeps the reader's mind off it.
        const Node node = m_nodes[static_cast<std::size_t>(index)];
        switch (node.kind) {
            case Kind::Empty:
                return;
            case Kind::Atom:
                push(node.atom);
                return;
            case Kind::Concat:
                for (std::int32_t child : node.children)
                    emit(child);
                return;
            case Kind::Alternation:
                return emitAlternation(node);
            case Kind::Repeat:
                return emitRepeat(node);
        }
    }

    // split L1, next; L1: a; jump end; next: split L2, ... ; last: z; end:
    void emitAlternation(const Node& node) {
        std::vector<std::int32_t> jumps;
        for (std::size_t i = 0; i + 1 < node.children.size(); ++i) {
            std::int32_t split = push({Op::Split});
            at(split).arg = here();
            emit(node.children[i]);
            jumps.push_back(push({Op::Jump}));
            at(split).alt = here();
        }
        emit(node.children.back());
        for (std::int32_t jump : jumps)
            at(jump).arg = here();
    }

    // The operand `min` times, then either a loop (no bound) or up to
    // max - min optional copies, each of which may end the repeat.
    void emitRepeat(const Node& node) {
        std::int32_t operand = node.children.front();
        for (std::int32_t i = 0; i < node.min; ++i)
            emit(operand);
        auto choose = [&](std::int32_t split, std::int32_t stay, std::int32_t leave) {
            at(split).arg = node.lazy ? leave : stay;
            at(split).alt = node.lazy ? stay : leave;
        };
        if (node.max < 0) {
            std::int32_t split = push({Op::Split});
            emit(operand);
            push({Op::Jump, split});
            choose(split, split + 1, here());
            return;
        }
        std::vector<std::int32_t> splits;
        for (std::int32_t i = node.min; i < node.max; ++i) {
            splits.push_back(push({Op::Split}));
            emit(operand);
        }
        for (std::int32_t split : splits)
            choose(split, split + 1, here());
    }

    LinearRegex& m_regex;
    std::string_view m_pattern;
    std::size_t m_at = 0;
    std::int32_t m_depth = 0;
    std::size_t m_visits = 0;
    std::vector<Node> m_nodes;
};

LinearRegex::LinearRegex(std::string_view pattern, Case caseMode, Bounds bounds)
    : m_case(caseMode) {
    // The parser folds the ASCII letters it reads as bytes; the letters
    // beyond ASCII are folded here, as the texts will be.
    std::string folded = caseMode == Case::Insensitive ? foldedBeyondAscii(pattern) : std::string();
    RegexCompiler(*this, caseMode == Case::Insensitive ? std::string_view(folded) : pattern)
        .compile(bounds == Bounds::WholeWord);
    findFirstBytes();
    findWhetherToFold();
}

// Folding turns an ASCII capital into its small letter and changes only
// bytes beyond ASCII within 0x80 ... 0xBF and 0xC3 ... 0xC5 otherwise. A
// program whose bytes are no small letters and none beyond ASCII, and whose
// classes treat both cases alike and hold all or none of each of those
// ranges, matches the text as it matches the folded text.
void LinearRegex::findWhetherToFold() {
    if (m_case != Case::Insensitive) return;
    const auto uniform = [](const std::vector<bool>& set, std::size_t from, std::size_t to) {
        for (std::size_t ch = from; ch <= to; ++ch)
            if (set[ch] != set[from]) return false;
        return true;
    };
    for (const Instruction& instruction : m_program) {
        if (instruction.op == Op::Byte &&
            ((instruction.arg >= 'a' && instruction.arg <= 'z') || instruction.arg >= 0x80))
            m_folds = true;
    }
    for (const std::vector<bool>& set : m_classes) {
        bool casesAlike = true;
        for (std::size_t ch = 'a'; ch <= 'z'; ++ch)
            casesAlike = casesAlike && set[ch] == set[ch - 'a' + 'A'];
        if (!casesAlike || !uniform(set, 0x80, 0xBF) || !uniform(set, 0xC3, 0xC5)) m_folds = true;
    }
}

// Follows every choice from the start, taking each assertion as met, and
// gathers what the first byte of a match may be.
void LinearRegex::findFirstBytes() {
    std::vector<bool> first(256, false);
    std::vector<bool> seen(m_program.size(), false);
    std::vector<std::int32_t> stack{0};
    while (!stack.empty()) {
        auto pc = static_cast<std::size_t>(stack.back());
        stack.pop_back();
        if (seen[pc]) continue;
        seen[pc] = true;
        const Instruction& instruction = m_program[pc];
        switch (instruction.op) {
            case Op::Byte:
                first[static_cast<std::size_t>(instruction.arg)] = true;
                if (m_case == Case::Insensitive && instruction.arg >= 'a' && instruction.arg <= 'z')
                    first[static_cast<std::size_t>(instruction.arg - 'a' + 'A')] = true;
                break;
            case Op::Class: {
                const std::vector<bool>& set = m_classes[static_cast<std::size_t>(instruction.arg)];
                for (std::size_t ch = 0; ch < 256; ++ch)
                    if (set[ch]) first[ch] = true;
                break;
            }
            case Op::Any:
            case Op::Match:
                // Any byte may begin a match.
                return;
            case Op::Jump:
                stack.push_back(instruction.arg);
                break;
            case Op::Split:
                stack.push_back(instruction.arg);
                stack.push_back(instruction.alt);
                break;
            default:
                stack.push_back(static_cast<std::int32_t>(pc) + 1);
                break;
        }
    }
    m_firstBytes = std::move(first);
}

bool LinearRegex::mayMatch(std::string_view text) const {
    std::string folded;
    if (m_folds && foldCase(text, folded)) return mayMatchFolded(folded);
    return mayMatchFolded(text);
}

bool LinearRegex::mayMatchFolded(std::string_view text) const {
    for (char required : m_requiredBytes) {
        if (std::memchr(text.data(), required, text.size()) == nullptr) return false;
    }
    return m_requiredLiteral.empty() || text.find(m_requiredLiteral) != std::string_view::npos;
}

std::optional<LinearRegex::Span> LinearRegex::find(std::string_view text, std::size_t from) const {
    Scan scan(*this, text, from);
    std::int64_t budget = std::numeric_limits<std::int64_t>::max();
    if (scan.run(budget) == Scan::State::Found) return scan.match();
    return std::nullopt;
}

// ---- the Pike machine

LinearRegex::Scan::Scan(const LinearRegex& regex, std::string_view text, std::size_t from)
    : m_regex(&regex), m_marks(regex.m_program.size(), 0) {
    useText(text);
    restart(from);
}

void LinearRegex::Scan::reset(std::string_view text, std::size_t from) {
    useText(text);
    restart(from);
}

void LinearRegex::Scan::useText(std::string_view text) {
    m_text = text;
    if (m_regex->m_folds && foldCase(text, m_folded)) m_text = m_folded;
    m_ruledOut = !m_regex->mayMatchFolded(m_text);
    m_testCost = static_cast<std::int64_t>(text.size() / 8) + 1;
}

void LinearRegex::Scan::restart(std::size_t from) {
    m_at = from;
    m_current.clear();
    m_matched = false;
    m_done = from > m_text.size() || m_ruledOut;
    ++m_generation;
}

// Follows jumps, splits and assertions from `pc` at text position `at`,
// in order of preference, and lists the threads that wait for a byte or
// match. A stack of its own, not recursion: the program may be long.
void LinearRegex::Scan::add(std::vector<Thread>& list, std::int32_t pc, std::size_t start,
                            std::size_t at) {
    const auto& program = m_regex->m_program;
    auto wordAt = [&](std::size_t index) {
        return index < m_text.size() && isWordByte(static_cast<unsigned char>(m_text[index]));
    };
    m_stack.clear();
    m_stack.push_back(pc);
    while (!m_stack.empty()) {
        std::int32_t next = m_stack.back();
        m_stack.pop_back();
        auto slot = static_cast<std::size_t>(next);
        if (m_marks[slot] == m_generation) continue;
        m_marks[slot] = m_generation;
        const Instruction& instruction = program[slot];
        auto edge = [&] { return at == 0 ? wordAt(0) : wordAt(at - 1) != wordAt(at); };
        switch (instruction.op) {
            case Op::Jump:
                m_stack.push_back(instruction.arg);
                break;
            case Op::Split:
                m_stack.push_back(instruction.alt);
                m_stack.push_back(instruction.arg);
                break;
            case Op::LineStart:
                if (at == 0 || m_text[at - 1] == '\n') m_stack.push_back(next + 1);
                break;
            case Op::LineEnd:
                if (at == m_text.size() || m_text[at] == '\n') m_stack.push_back(next + 1);
                break;
            case Op::WordEdge:
                if (edge()) m_stack.push_back(next + 1);
                break;
            case Op::NotWordEdge:
                if (!edge()) m_stack.push_back(next + 1);
                break;
            case Op::NotInWord:
                // The whole-word option counts the Latin letters as the
                // plain search does; \b and \w stay with ASCII.
                if (at == 0 || !isWordByteAt(m_text, at - 1) || !isWordByteAt(m_text, at))
                    m_stack.push_back(next + 1);
                break;
            default:
                list.push_back({next, start});
                break;
        }
    }
}

LinearRegex::Scan::State LinearRegex::Scan::run(std::int64_t& budget) {
    budget -= m_testCost;
    m_testCost = 0;
    // After a match the next search starts where it ended.
    if (m_matched && m_current.empty()) restart(m_match.end);
    const auto& program = m_regex->m_program;
    const bool fold = m_regex->m_case == Case::Insensitive;
    const std::vector<bool>& first = m_regex->m_firstBytes;
    while (!m_done) {
        if (!m_matched && m_current.empty() && !first.empty()) {
            std::size_t from = m_at;
            while (m_at < m_text.size() && !first[static_cast<unsigned char>(m_text[m_at])])
                ++m_at;
            budget -= static_cast<std::int64_t>((m_at - from) / 8);
            if (m_at >= m_text.size()) {
                m_done = true;
                break;
            }
        }
        const bool atEnd = m_at >= m_text.size();
        // A new thread starts at each position where a match may begin,
        // until something matched: it comes last, as the least preferred
        // (the leftmost match wins).
        bool mayBegin =
            first.empty() || (!atEnd && first[static_cast<unsigned char>(m_text[m_at])]);
        if (!m_matched && mayBegin) add(m_current, 0, m_at, m_at);
        const char byte = atEnd ? '\0' : m_text[m_at];
        const char folded = fold ? foldByte(byte) : byte;
        if (++m_generation == 0) {
            std::fill(m_marks.begin(), m_marks.end(), 0);
            m_generation = 1;
        }
        m_next.clear();
        budget -= static_cast<std::int64_t>(m_current.size()) + 1;
        for (const Thread& thread : m_current) {
            const Instruction& instruction = program[static_cast<std::size_t>(thread.pc)];
            bool advances = false;
            switch (instruction.op) {
                case Op::Match:
                    if (thread.start < m_at) {
                        m_matched = true;
                        m_match = {thread.start, m_at};
                    }
                    break;
                case Op::Byte:
                    advances = !atEnd && static_cast<unsigned char>(folded) == instruction.arg;
                    break;
                case Op::Any:
                    advances = !atEnd && byte != '\n';
                    break;
                case Op::Class:
                    advances =
                        !atEnd && m_regex->m_classes[static_cast<std::size_t>(instruction.arg)]
                                                    [static_cast<unsigned char>(byte)];
                    break;
                default:
                    break;
            }
            if (advances) add(m_next, thread.pc + 1, thread.start, m_at + 1);
            // The threads after a match are less preferred than it.
            if (instruction.op == Op::Match && thread.start < m_at) break;
        }
        std::swap(m_current, m_next);
        if (atEnd) {
            m_current.clear();
            m_done = !m_matched;
        } else {
            ++m_at;
        }
        if (m_matched && m_current.empty()) return State::Found;
        if (budget <= 0) return State::Paused;
    }
    return State::NotFound;
}

}  // namespace qv
