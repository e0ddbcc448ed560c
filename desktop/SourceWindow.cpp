#include "desktop/SourceWindow.h"

#include "editing/ScrollDecorator.h"

namespace qv {

namespace {

const toolkit::Font kHintFont{"arial", 13, false};
constexpr const char* kHints[] = {
    "Ctrl+Enter in the text above reloads the document;",
    "Enter in the line below prints its expression.",
};

// The two fields at their places in the window. The mouse goes to the
// field under the pointer (drags and the release to the one that took the
// press), the keys to the field that has the focus, and Enter with Ctrl,
// or Enter in the message line, is the field's action.
class SourcePane final : public AbstractEditable {
    QV_OBJECT(SourcePane, AbstractEditable, "SourcePane")
  public:
    SourcePane(const Pointer<TextEditable>& source, const Pointer<TextEditable>& message,
               SourceWindow& owner)
        : m_source(source),
          m_message(message),
          m_sourceBox(make<ScrollDecorator>(source)),
          m_messageBox(make<ScrollDecorator>(message)),
          m_owner(owner) {
        adopt(m_sourceBox);
        adopt(m_messageBox);
    }
    ~SourcePane() override {
        release(m_sourceBox);
        release(m_messageBox);
    }

    void layoutWidth(std::int32_t) override {
        if (support() == nullptr) return;
        toolkit::Size size = support()->window().size();
        place(m_sourceBox, SourceWindowLayout::sourceField(size));
        place(m_messageBox, SourceWindowLayout::messageField(size));
        setBounds({0, 0, size.width, size.height});
    }

    void attach(EditableSupport* support) override {
        AbstractEditable::attach(support);
        m_sourceBox->attach(support);
        m_messageBox->attach(support);
    }

    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override {
        graphics.setColor(colors().shade(1));
        graphics.fillRect(bounds().translated(origin.x, origin.y));
        for (const Pointer<ScrollDecorator>& box : {m_sourceBox, m_messageBox}) {
            toolkit::Rect area = box->bounds().translated(origin.x, origin.y);
            {
                toolkit::GraphicsScope scope(graphics, area);
                box->paint(graphics, origin);
            }
            graphics.setColor(colors().edge);
            graphics.drawRect({area.x - 1, area.y - 1, area.width + 1, area.height + 1});
        }
        paintHints(graphics, origin);
    }

    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override {
        using toolkit::MouseKind;
        if (support() == nullptr) return false;
        if (kind == MouseKind::Drag || kind == MouseKind::Release) {
            Pointer<AbstractEditable> grab = support()->mouseGrab();
            if (!grab.isNull()) {
                toolkit::Point local = grab->layoutPoint(info.point());
                grab->handleMouse(kind, info.shifted(local.x - info.x, local.y - info.y));
            }
            if (kind == MouseKind::Release) support()->releaseMouse();
            return true;
        }
        Pointer<ScrollDecorator> box = boxAt(info.point());
        if (box.isNull()) {
            if (kind == MouseKind::Move) support()->window().setCursor(toolkit::CursorKind::Arrow);
            return true;
        }
        if (kind != MouseKind::Move) {
            support()->releaseMouse();
            support()->select(box->view());
        }
        box->handleMouse(kind, info);
        return true;
    }

    bool scroll(std::int32_t steps, toolkit::Point at) {
        Pointer<ScrollDecorator> box = boxAt(at);
        return !box.isNull() && box->handleWheel(steps);
    }

    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override {
        namespace key = toolkit::key;
        if (support() == nullptr) return;
        Pointer<AbstractEditable> focused = support()->selected();
        bool control = (modifiers & toolkit::modifier::kControl) != 0;
        bool inMessage = focused == Pointer<AbstractEditable>(m_message);
        if (code == key::kEnter && (control || inMessage)) {
            if (inMessage) {
                m_owner.messageAction();
            } else {
                m_owner.sourceAction();
            }
        } else if (code == key::kUndo) {
            support()->commands().undo();
        } else if (code == key::kRedo) {
            support()->commands().redo();
        } else if (!focused.isNull()) {
            focused->handleKey(code, text, modifiers);
        }
        repaint();
    }

    // Keys the fields leave end here.
    void childKey(std::int32_t, std::string_view, std::uint32_t) override {}

  private:
    static void place(const Pointer<ScrollDecorator>& box, const toolkit::Rect& area) {
        box->layoutSize({area.width, area.height});
        box->moveBy({area.x, area.y});
    }

    Pointer<ScrollDecorator> boxAt(toolkit::Point point) const {
        for (const Pointer<ScrollDecorator>& box : {m_sourceBox, m_messageBox})
            if (box->bounds().contains(point)) return box;
        return {};
    }

    void paintHints(toolkit::Graphics& graphics, toolkit::Point origin) const {
        toolkit::Rect message = m_messageBox->bounds().translated(origin.x, origin.y);
        graphics.setFont(kHintFont);
        graphics.setColor(colors().text);
        const toolkit::FontMetrics& metrics = graphics.metrics();
        std::int32_t baseline = message.bottom() + 4 + metrics.ascent();
        for (const char* hint : kHints) {
            graphics.drawText({message.x, baseline}, hint);
            baseline += metrics.height();
        }
    }

    Pointer<TextEditable> m_source;
    Pointer<TextEditable> m_message;
    Pointer<ScrollDecorator> m_sourceBox;
    Pointer<ScrollDecorator> m_messageBox;
    SourceWindow& m_owner;
};

}  // namespace

SourceWindow::SourceWindow(toolkit::Window& owner, SourceWindowHost& host, BusyTest busy)
    : m_window(owner.openWindow(SourceWindowLayout::kTitle, SourceWindowLayout::kBounds)),
      m_support(make<EditableSupport>(*m_window)),
      m_source(make<TextEditable>()),
      m_message(make<TextEditable>()),
      m_pane(make<SourcePane>(m_source, m_message, *this)),
      m_logic(host, *this),
      m_busy(std::move(busy)),
      m_router(*m_window, *m_support, [this](std::int32_t steps, toolkit::Point at) {
          return cast<SourcePane>(m_pane)->scroll(steps, at);
      }) {
    m_support->setLayoutRoot(m_pane);
    m_support->select(m_source);
    m_window->setListener(this);
    fill();
}

SourceWindow::~SourceWindow() {
    m_window->setListener(nullptr);
    // The commands and the selection hold editables that point back at the
    // support: it lets go of them first.
    m_support->commands().clear();
    m_support->setLayoutRoot({});
}

void SourceWindow::fill() {
    m_logic.fill();
}

void SourceWindow::sourceAction() {
    if (m_busy && m_busy()) return;
    m_logic.sourceAction(m_source->text());
}

void SourceWindow::messageAction() {
    if (m_busy && m_busy()) return;
    m_logic.messageAction(m_message->text());
}

void SourceWindow::setSourceText(std::string_view text) {
    m_source->setText(text);
    m_support->invalidateLayout();
    m_window->repaint();
}

void SourceWindow::setMessageText(std::string_view text) {
    m_message->setText(text);
    m_support->invalidateLayout();
    m_window->repaint();
}

void SourceWindow::paint(toolkit::Graphics& graphics, const toolkit::Rect&) {
    m_router.paint(graphics);
}

void SourceWindow::resized(toolkit::Size size) {
    m_support->setVisibleArea({0, 0, size.width, size.height});
    m_router.resized();
}

void SourceWindow::mouse(toolkit::MouseKind kind, toolkit::Point position,
                         std::uint32_t modifiers) {
    m_router.mouse(kind, position, modifiers);
}

void SourceWindow::wheel(std::int32_t steps, toolkit::Point position, std::uint32_t) {
    m_router.wheel(steps, position);
}

void SourceWindow::key(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    m_router.key(code, text, modifiers);
}

void SourceWindow::closeRequested() {
    m_window->close();
}

}  // namespace qv
