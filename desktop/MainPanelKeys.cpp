// The main panel's keyboard: moving between the views of the work area
// without the mouse, and the list of keys under Help.
#include <algorithm>

#include "desktop/KeyboardShortcuts.h"
#include "desktop/MainPanel.h"
#include "editing/TitleDecorator.h"

namespace qv {

namespace {

// The frames by their corners, top to bottom and left to right: an order
// that stays as it is while the keyboard moves and raises them.
std::vector<Pointer<AbstractEditable>> framesInReadingOrder(const FloatLayoutEditable& root) {
    std::vector<Pointer<AbstractEditable>> frames;
    for (std::int32_t i = 0; i < root.frameCount(); ++i)
        frames.push_back(root.frame(i));
    std::stable_sort(frames.begin(), frames.end(), [](const auto& a, const auto& b) {
        toolkit::Rect first = a->bounds();
        toolkit::Rect second = b->bounds();
        return first.y != second.y ? first.y < second.y : first.x < second.x;
    });
    return frames;
}

// The top-level frame the selection lies in, or null.
const AbstractEditable* frameHolding(const Pointer<AbstractEditable>& selected,
                                     const AbstractEditable& root) {
    for (const AbstractEditable* at = selected.isNull() ? nullptr : selected.get(); at != nullptr;
         at = at->parent()) {
        if (at->parent() == &root) return at;
    }
    return nullptr;
}

}  // namespace

// Before the find panel's keys: F6 is also the way out of it.
bool MainPanel::viewKey(std::int32_t code, std::uint32_t modifiers) {
    using namespace toolkit;
    bool shift = (modifiers & modifier::kShift) != 0;
    std::uint32_t others = modifiers & ~modifier::kShift;
    bool next =
        (code == key::kF6 && others == 0) || (code == key::kTab && others == modifier::kControl);
    if (!next) return false;
    focusNextView(shift);
    return true;
}

// An open find panel is a stop of its own, after the last view.
void MainPanel::focusNextView(bool backwards) {
    support().layoutIfNeeded();
    const Pointer<FloatLayoutEditable>& root = layoutRoot();
    std::vector<Pointer<AbstractEditable>> frames = framesInReadingOrder(*root);
    auto count = static_cast<std::ptrdiff_t>(frames.size());
    const AbstractEditable* current = frameHolding(support().selected(), *root);
    auto at = std::find_if(frames.begin(), frames.end(),
                           [current](const auto& frame) { return frame.get() == current; });
    std::ptrdiff_t index = at - frames.begin();
    // From no view (or the find panel), F6 goes to the first and Shift+F6
    // to the last.
    if (at == frames.end() || m_find.hasKeyboard()) index = backwards ? count : -1;
    std::ptrdiff_t next = index + (backwards ? -1 : 1);
    bool wraps = next < 0 || next >= count;
    if (m_find.isOpen() && (m_find.hasKeyboard() != wraps || count == 0)) {
        m_find.setKeyboard(!m_find.hasKeyboard());
        window().repaint();
        if (m_find.hasKeyboard() || count == 0) return;
    }
    if (count == 0) return;
    const Pointer<AbstractEditable>& chosen =
        frames[static_cast<std::size_t>((next % count + count) % count)];
    root->raise(chosen);
    auto titled = cast<TitleDecorator>(chosen);
    showView(titled.isNull() ? chosen : titled->view());
}

void MainPanel::showKeyboardShortcuts() {
    window().showMessageBox(shortcutListText(shortcutGroups(m_menus)), "Keyboard Shortcuts",
                            toolkit::MessageBoxKind::Notice);
}

}  // namespace qv
