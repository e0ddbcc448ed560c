// The tokenizer of formulas, names and documents, with one token of
// lookahead and marks for backtracking.
//
// Past the end of the text the character read is NUL and every read still
// advances the position, so the end-of-input token of an empty text sits at
// 0 and each further one a step later. Constructs that run to the end of the
// text (strings, hash text, line comments, raw reads) stop at its length instead
// of swallowing that NUL, so the positions they leave never point beyond the
// text. A NUL byte inside the text is an ordinary byte: taken literally in
// strings, hash text, comments and raw reads, and "invalid char" where it
// would start a token; only the real end of the text ends the input.
//
// Words, numbers, strings and comments are scanned on the source bytes and
// cut out as substrings, because documents reach tens of megabytes and a
// per-character append would dominate the read.
//
// A line comment stops before a CR as before a LF: files from editors that
// end lines with a lone CR would otherwise read as one comment.
#include "language/StringStream.h"

#include <algorithm>
#include <array>
#include <limits>

#include "core/Errors.h"
#include "core/Number.h"

namespace qv {

namespace {

// Character classes, indexed by byte: one load per byte in the word and
// number loops instead of a chain of range tests.
enum CharClass : std::uint8_t { kWordStart = 1, kWordPart = 2, kDigit = 4 };

constexpr std::array<std::uint8_t, 256> makeCharClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (int ch = 'A'; ch <= 'Z'; ++ch)
        classes[ch] = kWordStart | kWordPart;
    for (int ch = 'a'; ch <= 'z'; ++ch)
        classes[ch] = kWordStart | kWordPart;
    classes['_'] = kWordStart | kWordPart;
    classes['~'] = kWordStart | kWordPart;
    for (int ch = '0'; ch <= '9'; ++ch)
        classes[ch] = kWordPart | kDigit;
    return classes;
}

constexpr std::array<std::uint8_t, 256> kCharClasses = makeCharClasses();

bool hasClass(char ch, CharClass charClass) noexcept {
    return (kCharClasses[static_cast<unsigned char>(ch)] & charClass) != 0;
}

// Tokens without a value of their own share one empty text; Strings are
// never changed once made, so sharing is invisible.
const Pointer<Object>& emptyValue() {
    static const Pointer<Object> empty = str("");
    return empty;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::int32_t keywordCode(std::string_view word) noexcept {
    switch (word.size()) {
        case 2:
            if (word == "or") return kOr;
            if (word == "if") return kIf;
            break;
        case 3:
            if (word == "and") return kAnd;
            if (word == "not") return kNot;
            break;
        case 4:
            if (word == "then") return kThen;
            if (word == "else") return kElse;
            break;
        default:
            break;
    }
    return kIdentifier;
}

// The index just after a number whose second character is at `at`. The
// number is collected in three states: the mantissa takes digits and points,
// "e" moves on to an optional sign, and the exponent takes digits. Malformed
// collections ("1..2", "3e") are left for the conversion to reject.
std::size_t endOfNumber(std::string_view text, std::size_t at) noexcept {
    enum class State { kMantissa, kExponentSign, kExponent } state = State::kMantissa;
    for (; at < text.size(); ++at) {
        char ch = text[at];
        bool digit = hasClass(ch, kDigit);
        switch (state) {
            case State::kMantissa:
                if (digit || ch == '.') continue;
                if (ch != 'e' && ch != 'E') return at;
                state = State::kExponentSign;
                continue;
            case State::kExponentSign:
                if (!digit && ch != '+' && ch != '-') return at;
                state = State::kExponent;
                continue;
            case State::kExponent:
                if (!digit) return at;
                continue;
        }
    }
    return at;
}

std::int32_t clampToText(std::int32_t position, std::int32_t length) noexcept {
    return std::clamp(position, std::int32_t{0}, length);
}

}  // namespace

StringStream::StringStream(const StringPointer& source)
    : m_source(source.isNull() ? str("") : source) {
    if (m_source->view().substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        m_textStart = static_cast<std::int32_t>(kByteOrderMark.size());
        m_tokenStart = m_tokenBegin = m_errorOffset = m_position = m_textStart;
    }
}

const Pointer<Token>& StringStream::peek() {
    if (m_lookahead.isNull()) m_lookahead = readToken();
    return handOut(m_lookahead);
}

Pointer<Token> StringStream::next() {
    if (m_lookahead.isNull()) return handOut(readToken());
    Pointer<Token> token = std::move(m_lookahead);
    handOut(token);
    return token;
}

void StringStream::expect(std::int32_t code, std::string_view text) {
    if (next()->code() != code) throwMessage(std::string("expecting ").append(text));
}

void StringStream::expectWord(std::string_view word) {
    if (!next()->isWord(word)) throwMessage(std::string("expecting ").append(word));
}

StringPointer StringStream::readIdentifier() {
    std::int32_t code = peek()->code();
    if (code == kOpenBracket) {
        next();
        return readRawUntil(']')->trim();
    }
    if (code != kIdentifier) throwMessage("expecting identifier");
    return next()->text();
}

StringPointer StringStream::readRawUntil(char terminator) {
    if (hasLookahead()) throwMessage("can not read suffixed stream ");
    std::string_view text = m_source->view();
    std::int32_t length = m_source->length();
    auto begin = static_cast<std::size_t>(clampToText(m_position, length));
    std::size_t end = text.find(terminator, begin);
    if (end == std::string_view::npos) {
        end = text.size();
        m_position = std::max(m_position, length);
    } else {
        m_position = static_cast<std::int32_t>(end) + 1;
    }
    return str(text.substr(begin, end - begin));
}

std::int32_t StringStream::readNumber() {
    Pointer<Token> token = next();
    if (!token->isNumber()) throwMessage("expecting number");
    return cast<Number>(token->value())->intValue();
}

std::int32_t StringStream::readAngleNumber() {
    expect(kLess, "<");
    std::int32_t number = readNumber();
    expect(kGreater, ">");
    return number;
}

Pointer<StreamPosition> StringStream::mark() const {
    return make<StreamPosition>(m_lookahead, m_tokenStart, m_position);
}

void StringStream::reset(const Pointer<StreamPosition>& position) {
    if (QV_NEVER(position.isNull())) return;
    m_lookahead = position->lookahead;
    if (!m_lookahead.isNull()) handOut(m_lookahead);
    // Positions are public fields; a negative one must not reach the reads.
    m_tokenStart = std::max(position->tokenStart, std::int32_t{0});
    m_position = std::max(position->position, std::int32_t{0});
}

StringPointer StringStream::sourceBetween(const Pointer<StreamPosition>& from,
                                          const Pointer<StreamPosition>& to) const {
    if (from.isNull() || to.isNull()) return str("");
    std::int32_t length = m_source->length();
    std::int32_t begin = clampToText(from->position, length);
    std::int32_t end = clampToText(to->tokenStart, length);
    return m_source->substring(begin, std::max(begin, end));
}

char StringStream::readChar() noexcept {
    std::int32_t at = m_position;
    // Repeated reads at the end must not overflow the position.
    if (at < std::numeric_limits<std::int32_t>::max()) ++m_position;
    if (at < 0 || at >= m_source->length()) return '\0';
    return m_source->charAt(at);
}

SourcePosition StringStream::positionOf(std::int32_t offset) const noexcept {
    std::string_view text = m_source->view();
    auto end = static_cast<std::size_t>(clampToText(offset, m_source->length()));
    auto lineStart = static_cast<std::size_t>(std::min(m_textStart, m_source->length()));
    std::int32_t line = 1;
    for (std::size_t at = lineStart; at < end; ++at) {
        char ch = text[at];
        if (ch != '\n' && ch != '\r') continue;
        // CR LF is one line end, counted at its LF.
        if (ch == '\r' && at + 1 < text.size() && text[at + 1] == '\n') continue;
        ++line;
        lineStart = at + 1;
    }
    return {line, static_cast<std::int32_t>(end - std::min(lineStart, end)) + 1};
}

Pointer<Token> StringStream::made(std::int32_t code, std::int32_t position) {
    return make<Token>(code, emptyValue(), position, m_tokenBegin);
}

Pointer<Token> StringStream::made(std::int32_t code, const Pointer<Object>& value,
                                  std::int32_t position) {
    return make<Token>(code, value, position, m_tokenBegin);
}

Pointer<Token> StringStream::readToken() {
    m_tokenStart = m_position;
    for (;;) {
        // Where a token or a lexical error would begin.
        m_tokenBegin = m_errorOffset = m_position;
        char ch = readChar();
        switch (ch) {
            case '\0':
                if (m_position > m_source->length()) {
                    m_tokenBegin = m_errorOffset = m_source->length();
                    return made(kEnd, m_tokenStart);
                }
                throwMessage("invalid char");
            case ' ':
            case '\t':
            case '\n':
            case '\r':
                continue;
            case '/': {
                char following = readChar();
                if (following == '/') {
                    skipLineComment();
                    recordComment(m_tokenBegin);
                    continue;
                }
                if (following == '*') {
                    skipBlockComment();
                    recordComment(m_tokenBegin);
                    continue;
                }
                unreadChar();
                return made(kDivide, m_tokenStart);
            }
            case '"':
                return readQuoted('"', kLiteral);
            case '#':
                return readQuoted('#', kHashText);
            case ':':
            case '<':
            case '>': {
                bool combines = readChar() == '=';
                if (!combines) unreadChar();
                std::int32_t code = ch == ':'   ? (combines ? kDefine : kColon)
                                    : ch == '<' ? (combines ? kLessEqual : kLess)
                                                : (combines ? kGreaterEqual : kGreater);
                return made(code, m_tokenStart);
            }
            case '.': {
                bool digitFollows = hasClass(readChar(), kDigit);
                unreadChar();
                if (digitFollows) return readNumberToken(ch);
                return made(kDot, m_tokenStart);
            }
            case '&':
                return made(kConcat, m_tokenStart);
            case '(':
                return made(kOpenParen, m_tokenStart);
            case ')':
                return made(kCloseParen, m_tokenStart);
            case '[':
                return made(kOpenBracket, m_tokenStart);
            case ']':
                return made(kCloseBracket, m_tokenStart);
            case ',':
                return made(kComma, m_tokenStart);
            case '{':
                return made(kOpenBrace, m_tokenStart);
            case '}':
                return made(kCloseBrace, m_tokenStart);
            case ';':
                return made(kSemicolon, m_tokenStart);
            case '!':
                return made(kExclamation, m_tokenStart);
            case '+':
                return made(kPlus, m_tokenStart);
            case '-':
                return made(kMinus, m_tokenStart);
            case '*':
                return made(kTimes, m_tokenStart);
            case '=':
                return made(kEqual, m_tokenStart);
            case '?':
                return made(kEmptyValue, m_tokenStart);
            case '@':
                return made(kAt, m_tokenStart);
            default:
                if (hasClass(ch, kDigit)) return readNumberToken(ch);
                if (hasClass(ch, kWordStart)) return readWord(ch);
                throwMessage("invalid char");
        }
    }
}

Pointer<Token> StringStream::readWord([[maybe_unused]] char first) {
    std::string_view text = m_source->view();
    auto begin = static_cast<std::size_t>(m_position - 1);
    QV_ASSERT(text[begin] == first);
    std::size_t end = begin + 1;
    while (end < text.size() && hasClass(text[end], kWordPart))
        ++end;
    m_position = static_cast<std::int32_t>(end);
    std::string_view word = text.substr(begin, end - begin);
    std::int32_t code = keywordCode(word);
    if (code != kIdentifier) return made(code, m_tokenStart);
    return made(kIdentifier, str(word), m_tokenStart);
}

Pointer<Token> StringStream::readNumberToken([[maybe_unused]] char first) {
    std::string_view text = m_source->view();
    auto begin = static_cast<std::size_t>(m_position - 1);
    QV_ASSERT(text[begin] == first);
    std::size_t end = endOfNumber(text, begin + 1);
    m_position = static_cast<std::int32_t>(end);
    double value = Double::parseValue(text.substr(begin, end - begin));
    return made(kLiteral, make<Double>(value), m_tokenStart);
}

// Strings and hash text: everything up to the closing mark, taken literally;
// without one the token takes the rest of the text. Hash text is placed just
// after its closing mark, where the text it holds ends in the source.
Pointer<Token> StringStream::readQuoted(char close, std::int32_t code) {
    std::string_view text = m_source->view();
    auto begin = static_cast<std::size_t>(m_position);
    std::size_t end = text.find(close, begin);
    if (end == std::string_view::npos) {
        end = text.size();
        m_position = m_source->length();
    } else {
        m_position = static_cast<std::int32_t>(end) + 1;
    }
    std::int32_t position = code == kHashText ? m_position : m_tokenStart;
    return made(code, str(text.substr(begin, end - begin)), position);
}

// The line end itself is left to be skipped as a blank.
void StringStream::skipLineComment() {
    std::size_t end = m_source->view().find_first_of("\r\n", static_cast<std::size_t>(m_position));
    m_position =
        end == std::string_view::npos ? m_source->length() : static_cast<std::int32_t>(end);
}

// A block comment without its end would hide the rest of the text, a
// table's closing brace among it, without a word; it is an error at its
// opening mark, where the error offset still points.
void StringStream::skipBlockComment() {
    std::size_t end = m_source->view().find("*/", static_cast<std::size_t>(m_position));
    if (end == std::string_view::npos) throwMessage("unterminated comment");
    m_position = static_cast<std::int32_t>(end) + 2;
}

// A reset reads comments again; the list grows only past its last entry,
// because every text before the furthest point read has been read once.
void StringStream::recordComment(std::int32_t begin) {
    if (m_comments.empty() || begin > m_comments.back().begin) {
        m_comments.push_back({begin, m_position});
    }
}

}  // namespace qv
