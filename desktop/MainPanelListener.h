// The main panel as the listener a toolkit backend keeps: the backend owns
// its listener through a plain owning pointer, while the panel, an object
// of the system, lives under a counted reference. The panel sees the
// window through the zoom of its work area: every event passes through it.
#pragma once

#include <string>

#include "desktop/MainPanel.h"
#include "desktop/ZoomedWindow.h"

namespace qv {

class MainPanelListener final : public toolkit::WindowListener {
  public:
    MainPanelListener(toolkit::Window& window, std::string startupPath)
        : m_zoomed(window), m_panel(make<MainPanel>(m_zoomed, std::move(startupPath))) {
        m_panel->attachZoom(m_zoomed);
        window.setListener(this);
    }
    ~MainPanelListener() override = default;
    MainPanelListener(const MainPanelListener&) = delete;
    MainPanelListener& operator=(const MainPanelListener&) = delete;

    MainPanel& panel() const noexcept { return *m_panel; }
    ZoomedWindow& zoomed() noexcept { return m_zoomed; }

    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override {
        m_zoomed.paint(graphics, area);
    }
    void resized(toolkit::Size size) override { m_zoomed.resized(size); }
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override {
        m_zoomed.mouse(kind, position, modifiers);
    }
    void wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) override {
        m_zoomed.wheel(steps, position, modifiers);
    }
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override {
        m_zoomed.key(code, text, modifiers);
    }
    void menuChosen(std::int32_t id) override { m_zoomed.menuChosen(id); }
    void message(const toolkit::PostedMessage& message) override { m_zoomed.message(message); }
    void timer(std::int32_t id) override { m_zoomed.timer(id); }
    void closeRequested() override { m_zoomed.closeRequested(); }
    void paletteChanged() override { m_zoomed.paletteChanged(); }

  private:
    // Outlives the panel, which talks to it until its end.
    ZoomedWindow m_zoomed;
    Pointer<MainPanel> m_panel;
};

}  // namespace qv
