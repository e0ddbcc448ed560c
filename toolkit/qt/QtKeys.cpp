#include "toolkit/qt/QtKeys.h"

#include "toolkit/Events.h"

namespace qv::toolkit {

namespace {

// Ctrl with a letter: the editing commands.
std::optional<std::int32_t> controlCode(int qtKey, bool shift) {
    switch (qtKey) {
        case Qt::Key_A:
            return key::kSelectAll;
        case Qt::Key_C:
            return key::kCopy;
        case Qt::Key_V:
            return key::kPaste;
        case Qt::Key_X:
            return key::kCut;
        case Qt::Key_Z:
            return shift ? key::kRedo : key::kUndo;
        case Qt::Key_Y:
            return key::kRedo;
        default:
            return std::nullopt;
    }
}

// ORDER KEY CODE: the keys that have a code of their own.
std::optional<std::int32_t> namedCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Left:
            return key::kLeft;
        case Qt::Key_Right:
            return key::kRight;
        case Qt::Key_Up:
            return key::kUp;
        case Qt::Key_Down:
            return key::kDown;
        case Qt::Key_PageUp:
            return key::kPageUp;
        case Qt::Key_PageDown:
            return key::kPageDown;
        case Qt::Key_F2:
            return key::kF2;
        case Qt::Key_Delete:
            return key::kDelete;
        case Qt::Key_Escape:
            return key::kEscape;
        case Qt::Key_Backspace:
            return key::kBackspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return key::kTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key::kEnter;
        case Qt::Key_End:
            return key::kEnd;
        case Qt::Key_Home:
            return key::kHome;
        case Qt::Key_F6:
            return key::kF6;
        default:
            return std::nullopt;
    }
}

bool isPrintable(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c.category() == QChar::Other_Control) return false;
    return true;
}

}  // namespace

std::uint32_t toModifiers(Qt::KeyboardModifiers modifiers) {
    std::uint32_t bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= modifier::kShift;
    if (modifiers & Qt::ControlModifier) bits |= modifier::kControl;
    if (modifiers & Qt::AltModifier) bits |= modifier::kAlt;
    return bits;
}

std::optional<KeyStroke> translateKey(int qtKey, Qt::KeyboardModifiers modifiers,
                                      const QString& text) {
    std::uint32_t bits = toModifiers(modifiers);
    bool control = modifiers & Qt::ControlModifier;
    bool alt = modifiers & Qt::AltModifier;
    if (control && !alt) {
        if (auto code = controlCode(qtKey, modifiers & Qt::ShiftModifier))
            return KeyStroke{*code, {}, bits};
    }
    if (auto code = namedCode(qtKey)) return KeyStroke{*code, {}, bits};
    // Ctrl or Alt alone with a key are commands, not typing; both together
    // are AltGr on some systems, which types characters such as "@".
    if (control != alt) return std::nullopt;
    // The system key with a letter belongs to the desktop, not to the text.
    if (modifiers & Qt::MetaModifier) return std::nullopt;
    if (!isPrintable(text)) return std::nullopt;
    return KeyStroke{key::kCharacter, text.toStdString(), bits};
}

}  // namespace qv::toolkit
