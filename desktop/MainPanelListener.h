// The main panel as the listener a toolkit backend keeps: the backend owns
// its listener through a plain owning pointer, while the panel, an object
// of the system, lives under a counted reference. Every event is passed on.
#pragma once

#include <string>

#include "desktop/MainPanel.h"

namespace qv {

class MainPanelListener final : public toolkit::WindowListener {
  public:
    MainPanelListener(toolkit::Window& window, std::string startupPath)
        : m_panel(make<MainPanel>(window, std::move(startupPath))) {
        window.setListener(this);
    }
    ~MainPanelListener() override = default;
    MainPanelListener(const MainPanelListener&) = delete;
    MainPanelListener& operator=(const MainPanelListener&) = delete;

    MainPanel& panel() const noexcept { return *m_panel; }

    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override {
        m_panel->paint(graphics, area);
    }
    void resized(toolkit::Size size) override { m_panel->resized(size); }
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override {
        m_panel->mouse(kind, position, modifiers);
    }
    void wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) override {
        m_panel->wheel(steps, position, modifiers);
    }
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override {
        m_panel->key(code, text, modifiers);
    }
    void menuChosen(std::int32_t id) override { m_panel->menuChosen(id); }
    void message(const toolkit::PostedMessage& message) override { m_panel->message(message); }
    void timer(std::int32_t id) override { m_panel->timer(id); }
    void closeRequested() override { m_panel->closeRequested(); }

  private:
    Pointer<MainPanel> m_panel;
};

}  // namespace qv
