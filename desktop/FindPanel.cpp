#include "desktop/FindPanel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "core/Utf8.h"

namespace qv {

namespace {

// "12,345".
std::string grouped(std::int64_t number) {
    std::string digits = std::to_string(number);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

const char* FindPanel::scopeCaption(FindScope::Kind scope) {
    switch (scope) {
        case FindScope::Kind::Model:
            return "Whole model";
        case FindScope::Kind::Table:
            return "Current table";
        case FindScope::Kind::Selection:
            return "Selection";
    }
    return "";
}

void FindPanel::open(bool replacing) {
    m_open = true;
    m_replacing = replacing;
    m_keyboard = true;
    m_focus = Control::Query;
    // The last query, selected: typing replaces it.
    m_query.selectAll();
    changed();
}

void FindPanel::close() {
    stopSearch();
    m_open = false;
    m_keyboard = false;
    m_dragging = false;
    changed();
}

void FindPanel::setQuery(std::string text) {
    m_query.setText(std::move(text));
    changed();
}

void FindPanel::setReplacement(std::string text) {
    m_replacement.setText(std::move(text));
    changed();
}

void FindPanel::toggle(Control option) {
    switch (option) {
        case Control::MatchCase:
            m_options.matchCase = !m_options.matchCase;
            break;
        case Control::WholeWord:
            m_options.wholeWord = !m_options.wholeWord;
            break;
        case Control::RegularExpression:
            m_options.regularExpression = !m_options.regularExpression;
            break;
        default:
            return;
    }
    changed();
}

void FindPanel::setScope(FindScope::Kind scope) {
    m_scope = scope;
    changed();
}

// ---- searching

std::unique_ptr<TextMatcher> FindPanel::matcher() {
    try {
        return std::make_unique<TextMatcher>(m_query.text(), m_options);
    } catch (const StringPointer& message) {
        fail(message->toStdString());
        return nullptr;
    }
}

void FindPanel::fail(const std::string& message) {
    m_search.reset();
    m_current = -1;
    m_message = message;
    m_window.stopTimer(kTimerId);
    changed();
}

void FindPanel::findAll() {
    std::int32_t show = m_showWhenDone < 0 ? 0 : m_showWhenDone;
    stopSearch();
    m_message.clear();
    std::unique_ptr<TextMatcher> made = matcher();
    if (!made) return;
    try {
        m_search = m_host.startSearch(std::move(*made), m_scope);
    } catch (const StringPointer& message) {
        return fail(message->toStdString());
    }
    m_current = -1;
    m_firstLine = 0;
    m_showWhenDone = show;
    m_window.startTimer(kTimerId, 1);
    timer(kTimerId);
}

bool FindPanel::isSearching() const {
    return m_search && m_search->state() == FindSearch::State::Running;
}

void FindPanel::stopSearch() {
    m_showWhenDone = -1;
    if (!isSearching()) return;
    m_search->stop();
    m_window.stopTimer(kTimerId);
    changed();
}

void FindPanel::forgetResults() {
    stopSearch();
    m_search.reset();
    m_current = -1;
    m_message.clear();
    changed();
}

void FindPanel::timer(std::int32_t id) {
    if (id != kTimerId || !isSearching()) return;
    if (m_host.modelChangeCount() != m_search->changeCount()) {
        m_search->stop();
        m_message = "The model changed: find again";
    } else {
        m_search->advance(kSliceBudget);
    }
    if (!isSearching()) {
        searchEnded();
        return changed();
    }
    // The progress is drawn a few times a second, not after every slice:
    // a repaint of the whole work area would cost the search its time.
    auto now = std::chrono::steady_clock::now();
    if (now - m_shownAt >= kProgressInterval) {
        m_shownAt = now;
        changed();
    }
}

void FindPanel::searchEnded() {
    m_window.stopTimer(kTimerId);
    auto count = static_cast<std::int32_t>(m_search->hits().size());
    std::int32_t show = std::min(m_showWhenDone, count - 1);
    m_showWhenDone = -1;
    if (show >= 0 && m_search->state() == FindSearch::State::Done) select(show);
}

void FindPanel::step(std::int32_t delta) {
    if (!m_search || m_host.modelChangeCount() != m_search->changeCount()) {
        findAll();
        return;
    }
    auto count = static_cast<std::int32_t>(m_search->hits().size());
    if (count == 0) return;
    std::int32_t next = m_current < 0 ? (delta > 0 ? 0 : count - 1) : m_current + delta;
    select(((next % count) + count) % count);
}

void FindPanel::select(std::int32_t index) {
    if (!m_search || index < 0 || index >= static_cast<std::int32_t>(m_search->hits().size()))
        return;
    m_current = index;
    if (m_current < m_firstLine) m_firstLine = m_current;
    if (m_current >= m_firstLine + kListLines) m_firstLine = m_current - kListLines + 1;
    showCurrent();
    changed();
}

void FindPanel::showCurrent() {
    if (!m_search || m_current < 0) return;
    m_host.showHit(m_search->hits()[static_cast<std::size_t>(m_current)]);
}

void FindPanel::replaceCurrent() {
    if (!m_search || m_current < 0 || isSearching()) return step(1);
    const FindHit hit = m_search->hits()[static_cast<std::size_t>(m_current)];
    std::int32_t at = m_current;
    if (!m_host.replaceHit(m_search->matcher(), hit, m_replacement.text())) {
        // A value or a name, or a match gone: on to the next one.
        return step(1);
    }
    // The list is found again; the result after the replaced one takes its place.
    m_showWhenDone = at;
    findAll();
}

void FindPanel::replaceAll() {
    std::unique_ptr<TextMatcher> made = matcher();
    if (!made) return;
    stopSearch();
    std::int64_t count = m_host.replaceAll(*made, m_scope, m_replacement.text());
    m_showWhenDone = -1;
    findAll();
    // A rename being previewed has replaced nothing yet.
    if (m_message.empty() && count >= 0) m_message = "Replaced " + grouped(count);
    changed();
}

std::string FindPanel::statusText() const {
    if (!m_message.empty()) return m_message;
    if (!m_search) return "";
    if (isSearching()) {
        char text[64];
        std::snprintf(text, sizeof text, "Searching... %d%%",
                      static_cast<int>(m_search->progress() * 100));
        return text + std::string(", ") + grouped(m_search->total()) + " found";
    }
    std::string stopped = m_search->state() == FindSearch::State::Stopped ? " (stopped)" : "";
    auto kept = static_cast<std::int64_t>(m_search->hits().size());
    if (kept < m_search->total()) {
        return "showing the first " + grouped(kept) + " of " + grouped(m_search->total()) + stopped;
    }
    return grouped(m_search->total()) + " found" + stopped;
}

std::string FindPanel::lineText(std::int32_t index) const {
    if (!m_search || index < 0 || index >= static_cast<std::int32_t>(m_search->hits().size()))
        return "";
    const FindHit& hit = m_search->hits()[static_cast<std::size_t>(index)];
    std::string text = hit.excerpt;
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// ---- input

FindField* FindPanel::focusedField() {
    if (m_focus == Control::Query) return &m_query;
    if (m_focus == Control::Replacement) return &m_replacement;
    return nullptr;
}

void FindPanel::editField(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    FindField* field = focusedField();
    if (field == nullptr) return;
    std::string pasted = code == toolkit::key::kPaste ? m_window.clipboardText() : std::string();
    std::string copied;
    field->key(code, text, modifiers, pasted, &copied);
    if (!copied.empty()) m_window.setClipboardText(copied);
    changed();
}

bool FindPanel::key(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    namespace key = toolkit::key;
    if (!hasKeyboard()) return false;
    switch (code) {
        case key::kEscape:
            close();
            return true;
        case key::kTab:
            m_focus =
                m_replacing && m_focus == Control::Query ? Control::Replacement : Control::Query;
            changed();
            return true;
        case key::kEnter:
            if (m_focus == Control::Replacement) {
                replaceCurrent();
            } else {
                findAll();
            }
            return true;
        case key::kUp:
        case key::kDown:
            step(code == key::kUp ? -1 : 1);
            return true;
        case key::kCharacter:
        case key::kPaste:
        case key::kBackspace:
        case key::kDelete:
        case key::kLeft:
        case key::kRight:
        case key::kHome:
        case key::kEnd:
        case key::kSelectAll:
        case key::kCopy:
        case key::kCut:
            editField(code, text, modifiers);
            return true;
        default:
            // Undo and redo belong to the work area, the rest to nobody.
            return code != key::kUndo && code != key::kRedo;
    }
}

// A press in a field puts the caret there (Shift extends the selection,
// a double click selects the word); a drag from it selects.
void FindPanel::mouse(toolkit::MouseKind kind, toolkit::Point point, std::uint32_t modifiers) {
    if (m_dragging && focusedField() != nullptr) {
        if (kind == toolkit::MouseKind::Drag || kind == toolkit::MouseKind::Release) {
            focusedField()->moveTo(fieldIndexAt(m_focus, point), true);
            m_dragging = kind == toolkit::MouseKind::Drag;
            return changed();
        }
        m_dragging = false;
    }
    if (kind != toolkit::MouseKind::Press && kind != toolkit::MouseKind::DoubleClick) return;
    m_keyboard = true;
    Control control = controlAt(point);
    switch (control) {
        case Control::Query:
        case Control::Replacement:
            pressField(control, point, modifiers, kind == toolkit::MouseKind::DoubleClick);
            break;
        case Control::MatchCase:
        case Control::WholeWord:
        case Control::RegularExpression:
            return toggle(control);
        case Control::Scope:
            return setScope(static_cast<FindScope::Kind>((static_cast<int>(m_scope) + 1) % 3));
        case Control::FindAll:
            return findAll();
        case Control::Replace:
            return replaceCurrent();
        case Control::ReplaceAll:
            return replaceAll();
        case Control::Stop:
            return stopSearch();
        case Control::Close:
            return close();
        case Control::List:
            for (std::int32_t line = 0; line < kListLines; ++line) {
                if (resultRect(m_firstLine + line).contains(point))
                    return select(m_firstLine + line);
            }
            break;
        case Control::None:
            break;
    }
    changed();
}

void FindPanel::pressField(Control control, toolkit::Point point, std::uint32_t modifiers,
                           bool word) {
    const bool extend = control == m_focus && (modifiers & toolkit::modifier::kShift) != 0;
    m_focus = control;
    FindField& field = *focusedField();
    std::int32_t at = fieldIndexAt(control, point);
    if (word) {
        field.selectWordAt(at);
        return;
    }
    field.moveTo(at, extend);
    m_dragging = true;
}

bool FindPanel::wheel(std::int32_t steps, toolkit::Point point) {
    if (!m_open || !bounds().contains(point)) return false;
    scrollListTo(m_firstLine - steps * kWheelLines);
    return true;
}

// Within the results: the last line stays at the list's bottom.
void FindPanel::scrollListTo(std::int32_t firstLine) {
    auto count = m_search ? static_cast<std::int32_t>(m_search->hits().size()) : 0;
    m_firstLine = std::clamp(firstLine, 0, std::max(0, count - kListLines));
    changed();
}

}  // namespace qv
