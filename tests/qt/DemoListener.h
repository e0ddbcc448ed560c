// A listener that draws a work area the way the program will (a formula
// line, framed views with title bars, a grid of numbers, a text area), so
// a screenshot shows whether text and shapes render readably.
#pragma once

#include <string>

#include "toolkit/Window.h"

namespace qv::toolkit {

class DemoListener final : public WindowListener {
  public:
    explicit DemoListener(Window& window) {
        window.setTitle("loan.qvl - Quorvatelle");
        auto menu = [](const char* caption, std::vector<MenuItem> items) {
            MenuItem m{caption, 0, {}, {}};
            m.items = std::move(items);
            return m;
        };
        window.setMenuBar(
            {menu("&File", {{"&New", 1, "Ctrl+N", {}}, {"&Open", 2, "Ctrl+O", {}}}),
             menu("&Edit", {{"&Cut\tCtrl+X", 3, {}, {}}}), menu("&View", {{"&Source", 4, {}, {}}}),
             menu("&Add", {{"&Text area", 5, {}, {}}}), menu("&Help", {{"&About", 6, {}, {}}})});
    }

    void paint(Graphics& g, const Rect&) override {
        g.setColor(Color::grey(200));
        g.fillRect({0, 0, m_size.width, m_size.height});
        formulaLine(g);
        frame(g, {40, 60, 420, 300}, "Loan");
        grid(g, {40, 60 + kTitle, 420, 300 - kTitle});
        frame(g, {500, 60, 400, 200}, "Notes");
        g.setFont({"arial", 16, false});
        g.setColor({0, 0, 0});
        g.drawText({510, 60 + kTitle + 22}, "A loan of 200 000 over 20 years.");
        g.drawText({510, 60 + kTitle + 44}, "Caf\xC3\xA9, na\xC3\xAFve, \xE2\x82\xAC 1 234,50");
        g.setColor({30, 120, 200});
        g.fillEllipse({520, 330, 60, 60});
        const Point arrow[] = {{620, 330}, {700, 360}, {620, 390}};
        g.fillPolygon(arrow);
    }
    void resized(Size size) override { m_size = size; }
    void mouse(MouseKind, Point, std::uint32_t) override {}
    void wheel(std::int32_t, Point, std::uint32_t) override {}
    void key(std::int32_t, std::string_view, std::uint32_t) override {}
    void menuChosen(std::int32_t) override {}
    void message(const PostedMessage&) override {}
    void timer(std::int32_t) override {}
    void closeRequested() override {}

  private:
    static constexpr std::int32_t kTitle = 22;

    void formulaLine(Graphics& g) {
        g.setColor({255, 255, 255});
        g.fillRect({0, 0, m_size.width, 26});
        g.setColor({0, 0, 0});
        g.drawRect({0, 0, m_size.width - 1, 26});
        g.setFont({"arial", 16, false});
        g.drawText({6, 19}, "Loan[12].closing = 184 211.07");
    }

    static void frame(Graphics& g, const Rect& r, const char* title) {
        g.setColor({255, 255, 255});
        g.fillRect(r);
        g.setColor({60, 90, 150});
        g.fillRect({r.x, r.y, r.width, kTitle});
        g.setColor({255, 255, 255});
        g.setFont({"arial", 16, true});
        g.drawText({r.x + 6, r.y + 17}, title);
        g.setColor({0, 0, 0});
        g.drawRect({r.x, r.y, r.width - 1, r.height - 1});
    }

    static void grid(Graphics& g, const Rect& r) {
        GraphicsScope scope(g, r);
        g.translate(r.x, r.y);
        const char* headings[] = {"month", "opening", "interest", "closing"};
        g.setFont({"arial", 16, true});
        for (int c = 0; c < 4; ++c)
            g.drawText({6 + c * 104, 20}, headings[c]);
        g.setFont({"arial", 16, false});
        for (int row = 1; row <= 10; ++row) {
            std::int32_t y = 20 + row * 24;
            g.setColor(Color::grey(row % 2 == 0 ? 235 : 250));
            g.fillRect({0, y - 17, r.width, 24});
            g.setColor({0, 0, 0});
            g.drawText({6, y}, std::to_string(row));
            g.drawText({110, y}, std::to_string(200000 - row * 650) + ".00");
            g.drawText({214, y}, std::to_string(833 - row * 3) + ".33");
            g.drawText({318, y}, std::to_string(199350 - row * 650) + ".00");
        }
        g.setColor(Color::grey(160));
        for (int c = 1; c < 4; ++c)
            g.drawLine({c * 104, 0}, {c * 104, r.height});
    }

    Size m_size{1024, 768};
};

}  // namespace qv::toolkit
