// The find and replace panel: a bar docked at the top right of the work
// area, below the formula line, over the views (it belongs to the window,
// not to the document, so documents never hold it). It has a query field,
// a replace field (for Ctrl+H), the options as check boxes, the scope as a
// choice, the buttons Find all, Replace and Replace all, and the list of
// results with their place and text, the match marked.
//
// A search runs in slices on the window's timer, so the window paints and
// takes a Stop meanwhile; it reads the results it began with, and ends when
// the model changes under it. The panel asks its host (the main panel) for
// what belongs to the work area: the search itself (its scope and text
// areas), going to a result, replacing.
//
// Keys while it has the keyboard: typing edits the focused field (with
// the habits of a text field: Shift and the arrows select, Ctrl+A, cut,
// copy and paste), Tab moves between the fields, Enter finds all
// (replaces, in the replace field), Up and Down step through the results,
// Escape closes the panel. The wheel scrolls the list of results.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "desktop/FindField.h"
#include "kernel/FindSearch.h"
#include "toolkit/Window.h"

namespace qv {

class FindPanelHost {
  public:
    // A search of the scope with the work area's text areas; throws a
    // StringPointer message when there is nothing to search (no table).
    virtual std::unique_ptr<FindSearch> startSearch(TextMatcher matcher, FindScope::Kind scope) = 0;
    // Selects the result's cell in an open view (opening one when none
    // shows it) or its text in its text area.
    virtual void showHit(const FindHit& hit) = 0;
    // True when the match was still there and was replaced.
    virtual bool replaceHit(const TextMatcher& matcher, const FindHit& hit,
                            std::string_view replacement) = 0;
    // The count of matches replaced; -1 while a rename it turned into asks
    // for its preview's answer.
    virtual std::int64_t replaceAll(const TextMatcher& matcher, FindScope::Kind scope,
                                    std::string_view replacement) = 0;
    // Moves with every change of the model.
    virtual std::int32_t modelChangeCount() = 0;
    // Where the work area begins, below the formula line.
    virtual std::int32_t workAreaTop() const = 0;

  protected:
    ~FindPanelHost() = default;
};

class FindPanel {
  public:
    static constexpr std::int32_t kTimerId = 7301;
    // The work one timer tick does: some tens of milliseconds.
    static constexpr std::int64_t kSliceBudget = std::int64_t{1} << 21;
    static constexpr std::chrono::milliseconds kProgressInterval{200};
    static constexpr std::int32_t kWidth = 560;
    static constexpr std::int32_t kMargin = 8;
    static constexpr std::int32_t kRowHeight = 26;
    static constexpr std::int32_t kLineHeight = 18;
    static constexpr std::int32_t kListLines = 10;
    static constexpr std::int32_t kWheelLines = 3;
    static const toolkit::Font kFont;

    // ORDER FIND CONTROL: what a press can hit.
    enum class Control : std::int32_t {
        Query,
        Replacement,
        MatchCase,
        WholeWord,
        RegularExpression,
        Scope,
        FindAll,
        Replace,
        ReplaceAll,
        Stop,
        Close,
        List,
        None,
    };

    FindPanel(toolkit::Window& window, FindPanelHost& host) : m_window(window), m_host(host) {}
    FindPanel(const FindPanel&) = delete;
    FindPanel& operator=(const FindPanel&) = delete;

    // Ctrl+F (replacing false) and Ctrl+H: shown, the query field focused.
    void open(bool replacing);
    void close();
    bool isOpen() const noexcept { return m_open; }
    bool isReplacing() const noexcept { return m_replacing; }
    bool hasKeyboard() const noexcept { return m_open && m_keyboard; }
    void setKeyboard(bool keyboard) { m_keyboard = keyboard; }
    Control focus() const noexcept { return m_focus; }

    const std::string& query() const noexcept { return m_query.text(); }
    const std::string& replacement() const noexcept { return m_replacement.text(); }
    const FindField& queryField() const noexcept { return m_query; }
    const FindField& replacementField() const noexcept { return m_replacement; }
    void setQuery(std::string text);
    void setReplacement(std::string text);
    const FindOptions& options() const noexcept { return m_options; }
    void toggle(Control option);
    FindScope::Kind scope() const noexcept { return m_scope; }
    void setScope(FindScope::Kind scope);
    // "Whole model", "Current table", "Selection".
    static const char* scopeCaption(FindScope::Kind scope);

    // Starts a new search; the first result is shown when it ends.
    void findAll();
    bool isSearching() const;
    void stopSearch();
    // A new document: the results of the old one go.
    void forgetResults();
    // The window's timer: the next slice of the search.
    void timer(std::int32_t id);
    const FindSearch* search() const noexcept { return m_search.get(); }
    // The result stepped to, or -1.
    std::int32_t current() const noexcept { return m_current; }
    // The first result the list shows.
    std::int32_t firstLine() const noexcept { return m_firstLine; }
    // F3 (+1) and Shift+F3 (-1), wrapping round; without results a search
    // first.
    void step(std::int32_t delta);
    void select(std::int32_t index);
    void replaceCurrent();
    void replaceAll();
    // "12 found", "showing the first 10,000 of 12,345", "Searching... 40%",
    // a message.
    std::string statusText() const;
    // The text a result line shows after its place; the match is marked
    // when it is drawn.
    std::string lineText(std::int32_t index) const;

    // Geometry, in window coordinates.
    toolkit::Rect bounds() const;
    toolkit::Rect controlRect(Control control) const;
    // The rectangle of a result in the list, or an empty one when scrolled away.
    toolkit::Rect resultRect(std::int32_t index) const;
    Control controlAt(toolkit::Point point) const;

    void paint(toolkit::Graphics& graphics) const;
    void mouse(toolkit::MouseKind kind, toolkit::Point point, std::uint32_t modifiers = 0);
    // A field's text being selected by dragging: the drag goes on outside.
    bool isDragging() const noexcept { return m_dragging; }
    // Scrolls the list (a positive count towards its start); false when
    // the point is not over the panel.
    bool wheel(std::int32_t steps, toolkit::Point point);
    // True when the key was the panel's.
    bool key(std::int32_t code, std::string_view text, std::uint32_t modifiers);

  private:
    FindField* focusedField();
    void editField(std::int32_t code, std::string_view text, std::uint32_t modifiers);
    void pressField(Control control, toolkit::Point point, std::uint32_t modifiers, bool word);
    std::int32_t fieldIndexAt(Control control, toolkit::Point point) const;
    void scrollListTo(std::int32_t firstLine);
    void searchEnded();
    void showCurrent();
    std::unique_ptr<TextMatcher> matcher();
    void fail(const std::string& message);
    void changed() { m_window.repaint(); }
    const toolkit::Palette& colors() const noexcept { return m_window.palette(); }

    void paintField(toolkit::Graphics& graphics, Control control, const char* label,
                    const FindField& field) const;
    void paintButton(toolkit::Graphics& graphics, Control control, const char* caption) const;
    void paintCheckBox(toolkit::Graphics& graphics, Control control, const char* caption,
                       bool checked) const;
    void paintResult(toolkit::Graphics& graphics, std::int32_t index) const;

    toolkit::Window& m_window;
    FindPanelHost& m_host;
    bool m_open = false;
    bool m_replacing = false;
    bool m_keyboard = false;
    Control m_focus = Control::Query;
    FindField m_query;
    FindField m_replacement;
    bool m_dragging = false;
    FindOptions m_options;
    FindScope::Kind m_scope = FindScope::Kind::Model;
    std::unique_ptr<FindSearch> m_search;
    std::int32_t m_current = -1;
    // The result to show once the search ends: after Find all the first,
    // after a replace the one that took the replaced one's place.
    std::int32_t m_showWhenDone = -1;
    std::int32_t m_firstLine = 0;
    std::string m_message;
    // When the progress of the running search was last drawn.
    std::chrono::steady_clock::time_point m_shownAt;
};

}  // namespace qv
