// The kinds and codes of the events a window hands to its listener, as the
// editables know them: mouse kinds, key codes (a typed character travels
// as its UTF-8 text), modifier bits and the cursor kinds.
#pragma once

#include <cstdint>

namespace qv::toolkit {

// ORDER MOUSE KIND: the numbers the editables compare against.
enum class MouseKind : std::int32_t {
    Move = 6,          // moved with no button held
    Drag = 7,          // moved with the left button held
    Press = 8,         // left button pressed
    Release = 9,       // left button released
    DoubleClick = 11,  // left button pressed twice in quick succession
    RightPress = 15,   // right button pressed
};

// ORDER KEY CODE.
namespace key {
inline constexpr std::int32_t kSelectAll = 0;  // Ctrl+A
inline constexpr std::int32_t kLeft = 1;
inline constexpr std::int32_t kRight = 2;
inline constexpr std::int32_t kUp = 3;
inline constexpr std::int32_t kDown = 4;
inline constexpr std::int32_t kPageUp = 5;
inline constexpr std::int32_t kPageDown = 6;
inline constexpr std::int32_t kF2 = 7;
inline constexpr std::int32_t kDelete = 9;
inline constexpr std::int32_t kEscape = 10;
inline constexpr std::int32_t kBackspace = 11;
inline constexpr std::int32_t kTab = 12;
inline constexpr std::int32_t kEnter = 13;
inline constexpr std::int32_t kCharacter = 14;  // the text carries the character
inline constexpr std::int32_t kCopy = 15;       // Ctrl+C
inline constexpr std::int32_t kPaste = 16;      // Ctrl+V
inline constexpr std::int32_t kCut = 17;        // Ctrl+X
inline constexpr std::int32_t kUndo = 18;       // Ctrl+Z
inline constexpr std::int32_t kRedo = 19;       // Ctrl+Y, Ctrl+Shift+Z
inline constexpr std::int32_t kEnd = 26;
inline constexpr std::int32_t kHome = 27;
inline constexpr std::int32_t kF6 = 28;  // Shift+F6 goes backwards
}  // namespace key

// Modifier bits held during an event.
namespace modifier {
inline constexpr std::uint32_t kShift = 1;
inline constexpr std::uint32_t kControl = 2;
inline constexpr std::uint32_t kAlt = 4;
}  // namespace modifier

// ORDER CURSOR KIND.
enum class CursorKind : std::int32_t {
    SizeWestEast = 0,
    SizeNorthWestSouthEast = 1,
    SizeNorthEastSouthWest = 2,
    Arrow = 3,
    SizeNorthSouth = 4,
    TextBeam = 5,
    Wait = 6,
    PointingHand = 7,
};

}  // namespace qv::toolkit
