// The table-opening dialog ("Open table"): a further window, drawn here,
// with the check boxes "Heading" (checked at first), "Details" and "Chart"
// and the buttons "Open" and "Cancel". "Open" opens the views the boxes
// ask for — the kind is 1 for "Details" plus 2 for "Chart", so "Heading"
// alone gives the heading view, and "Details" with "Chart" gives both the
// detailed grid and the chart, side by side, as one step to undo — and
// closes the dialog.
//
// Keys: Tab and Shift+Tab move the focus, Space toggles the focused box
// (or presses the focused button), Enter opens (Cancel when it has the
// focus), Escape cancels.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "toolkit/Window.h"
#include "views/ViewHost.h"

namespace qv {

class OpenTableDialog final : public toolkit::WindowListener {
  public:
    using OpenAction = std::function<void(const Pointer<TableResult>&, TableViewKind)>;

    // ORDER DIALOG CONTROL: the focus order.
    enum class Control : std::int32_t { Heading, Details, Chart, Open, Cancel };
    static constexpr std::int32_t kControlCount = 5;

    static constexpr toolkit::Rect kBounds{200, 200, 180, 165};
    static const toolkit::Font kFont;

    OpenTableDialog(toolkit::Window& owner, const Pointer<TableResult>& table, OpenAction open);
    ~OpenTableDialog() override;
    OpenTableDialog(const OpenTableDialog&) = delete;
    OpenTableDialog& operator=(const OpenTableDialog&) = delete;

    toolkit::Window& window() const noexcept { return *m_window; }
    const Pointer<TableResult>& table() const noexcept { return m_table; }
    bool isOpen() const { return m_window->isOpen(); }

    static toolkit::Rect controlRect(Control control);
    static const char* caption(Control control);
    static bool isCheckBox(Control control) { return control <= Control::Chart; }

    bool isChecked(Control control) const;
    void toggle(Control control);
    Control focused() const noexcept { return m_focus; }
    // 1 for Details plus 2 for Chart.
    TableViewKind kind() const;
    void open();
    void cancel();

    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override;
    void resized(toolkit::Size) override { m_window->repaint(); }
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override;
    void wheel(std::int32_t, toolkit::Point, std::uint32_t) override {}
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void menuChosen(std::int32_t) override {}
    void message(const toolkit::PostedMessage&) override {}
    void timer(std::int32_t) override {}
    void closeRequested() override { cancel(); }

  private:
    void activate(Control control);
    void paintCheckBox(toolkit::Graphics& graphics, Control control) const;
    void paintButton(toolkit::Graphics& graphics, Control control) const;

    const toolkit::Palette& colors() const noexcept { return m_window->palette(); }

    std::unique_ptr<toolkit::Window> m_window;
    Pointer<TableResult> m_table;
    OpenAction m_open;
    std::array<bool, 3> m_checked{true, false, false};
    Control m_focus = Control::Heading;
};

}  // namespace qv
