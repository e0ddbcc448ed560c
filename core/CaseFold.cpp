#include "core/CaseFold.h"

namespace qv {

namespace {

// The lower case of a code point of U+00C0 ... U+017F, or the point itself.
char32_t lowerLatin(char32_t point) {
    if (point >= 0xC0 && point <= 0xDE) return point == 0xD7 ? point : point + 0x20;  // not ×
    if (point == 0x178) return 0xFF;                                                  // Ÿ
    // Pairs from an even point (Ā ā ... Ķ ķ, Ŋ ŋ ... Ŷ ŷ) and from an odd
    // one (Ĺ ĺ ... Ň ň, Ź ź ... Ž ž); İ, ı, ĸ, ŉ and ſ have no pair here.
    bool evenPairs = (point >= 0x100 && point <= 0x12F) || (point >= 0x132 && point <= 0x137) ||
                     (point >= 0x14A && point <= 0x177);
    bool oddPairs = (point >= 0x139 && point <= 0x148) || (point >= 0x179 && point <= 0x17E);
    if (evenPairs && point % 2 == 0) return point + 1;
    if (oddPairs && point % 2 == 1) return point + 1;
    return point;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The two bytes of a letter that folds (lead C3, C4 or C5), folded in place.
bool foldPair(char& lead, char& trail) {
    auto first = static_cast<unsigned char>(lead);
    auto second = static_cast<unsigned char>(trail);
    char32_t point = (static_cast<char32_t>(first & 0x1F) << 6) | (second & 0x3F);
    char32_t lower = lowerLatin(point);
    if (lower == point) return false;
    lead = static_cast<char>(0xC0 | (lower >> 6));
    trail = static_cast<char>(0x80 | (lower & 0x3F));
    return true;
}

bool mayFold(unsigned char byte, bool ascii) {
    return (ascii && byte >= 'A' && byte <= 'Z') || (byte >= 0xC3 && byte <= 0xC5);
}

bool fold(std::string_view text, std::string& out, bool ascii) {
    std::size_t at = 0;
    while (at < text.size() && !mayFold(static_cast<unsigned char>(text[at]), ascii))
        ++at;
    if (at == text.size()) return false;
    bool changed = false;
    std::string folded(text);
    for (; at < folded.size(); ++at) {
        auto byte = static_cast<unsigned char>(folded[at]);
        if (ascii && byte >= 'A' && byte <= 'Z') {
            folded[at] = static_cast<char>(byte - 'A' + 'a');
            changed = true;
        } else if (byte >= 0xC3 && byte <= 0xC5 && at + 1 < folded.size() &&
                   isContinuation(static_cast<unsigned char>(folded[at + 1]))) {
            changed = foldPair(folded[at], folded[at + 1]) || changed;
            ++at;
        }
    }
    if (!changed) return false;
    out = std::move(folded);
    return true;
}

}  // namespace

bool isWordByteAt(std::string_view text, std::size_t at) {
    if (at >= text.size()) return false;
    auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80)
        return byte == '_' || (byte >= '0' && byte <= '9') ||
               ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
    // The lead byte and the byte after it, whichever of the two this is.
    std::size_t lead = isContinuation(byte) ? at - (at > 0 ? 1 : 0) : at;
    if (lead == at && isContinuation(byte)) return false;
    auto first = static_cast<unsigned char>(text[lead]);
    if (first < 0xC3 || first > 0xC9 || lead + 1 >= text.size()) return false;
    auto second = static_cast<unsigned char>(text[lead + 1]);
    if (!isContinuation(second)) return false;
    return !(first == 0xC3 && (second == 0x97 || second == 0xB7));
}

bool foldCase(std::string_view text, std::string& out) {
    return fold(text, out, true);
}

std::string foldedCase(std::string_view text) {
    std::string out;
    if (!fold(text, out, true)) out = text;
    return out;
}

std::string foldedBeyondAscii(std::string_view text) {
    std::string out;
    if (!fold(text, out, false)) out = text;
    return out;
}

}  // namespace qv
