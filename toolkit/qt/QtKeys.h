// Qt's keys and modifiers as the framework's key codes and modifier bits.
#pragma once

#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>
#include <string>

namespace qv::toolkit {

struct KeyStroke {
    std::int32_t code = 0;
    std::string text;  // UTF-8, for key::kCharacter only
    std::uint32_t modifiers = 0;
};

std::uint32_t toModifiers(Qt::KeyboardModifiers modifiers);

// The key code for a key press with its modifiers and the text it types;
// nothing for keys the framework has no code for (a modifier alone, F5,
// Ctrl with another letter).
std::optional<KeyStroke> translateKey(int qtKey, Qt::KeyboardModifiers modifiers,
                                      const QString& text);

}  // namespace qv::toolkit
