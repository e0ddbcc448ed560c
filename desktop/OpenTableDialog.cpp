#include "desktop/OpenTableDialog.h"

#include "core/Assert.h"
#include "desktop/ControlPainting.h"
#include "editing/EditableSupport.h"

namespace qv {

namespace {

constexpr std::int32_t kBoxSide = 13;
constexpr std::int32_t kBoxGap = 6;

std::size_t indexOf(OpenTableDialog::Control control) {
    return static_cast<std::size_t>(control);
}

}  // namespace

const toolkit::Font OpenTableDialog::kFont{"MS Sans Serif", 13, false};

OpenTableDialog::OpenTableDialog(toolkit::Window& owner, const Pointer<TableResult>& table,
                                 OpenAction open)
    : m_window(owner.openWindow("Open table", kBounds)), m_table(table), m_open(std::move(open)) {
    QV_ASSERT(!table.isNull());
    m_window->setListener(this);
    m_window->repaint();
}

OpenTableDialog::~OpenTableDialog() {
    m_window->setListener(nullptr);
}

toolkit::Rect OpenTableDialog::controlRect(Control control) {
    switch (control) {
        case Control::Heading:
            return {12, 0, 144, 36};
        case Control::Details:
            return {12, 36, 144, 24};
        case Control::Chart:
            return {12, 72, 144, 24};
        case Control::Open:
            return {12, 108, 71, 28};
        case Control::Cancel:
            return {96, 108, 71, 28};
    }
    return {};
}

const char* OpenTableDialog::caption(Control control) {
    switch (control) {
        case Control::Heading:
            return "Heading";
        case Control::Details:
            return "Details";
        case Control::Chart:
            return "Chart";
        case Control::Open:
            return "Open";
        case Control::Cancel:
            return "Cancel";
    }
    return "";
}

bool OpenTableDialog::isChecked(Control control) const {
    return isCheckBox(control) && m_checked[indexOf(control)];
}

void OpenTableDialog::toggle(Control control) {
    if (!isCheckBox(control)) return;
    m_checked[indexOf(control)] = !m_checked[indexOf(control)];
    m_window->repaint();
}

TableViewKind OpenTableDialog::kind() const {
    std::int32_t kind = (isChecked(Control::Details) ? 1 : 0) + (isChecked(Control::Chart) ? 2 : 0);
    return static_cast<TableViewKind>(kind);
}

void OpenTableDialog::open() {
    if (!isOpen()) return;
    m_window->close();
    // Closed first: opening computes, and the dialog must not take a second
    // press meanwhile.
    if (m_open) m_open(m_table, kind());
}

void OpenTableDialog::cancel() {
    m_window->close();
}

void OpenTableDialog::activate(Control control) {
    if (isCheckBox(control)) return toggle(control);
    if (control == Control::Open) return open();
    cancel();
}

void OpenTableDialog::mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t) {
    if (kind != toolkit::MouseKind::Press && kind != toolkit::MouseKind::DoubleClick) return;
    for (std::int32_t i = 0; i < kControlCount; ++i) {
        auto control = static_cast<Control>(i);
        if (!controlRect(control).contains(position)) continue;
        m_focus = control;
        m_window->repaint();
        return activate(control);
    }
}

void OpenTableDialog::key(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    namespace key = toolkit::key;
    if (code == key::kEscape) return cancel();
    if (code == key::kEnter) return m_focus == Control::Cancel ? cancel() : open();
    if (code == key::kCharacter && text == " ") return activate(m_focus);
    if (code == key::kTab) {
        std::int32_t step = (modifiers & toolkit::modifier::kShift) != 0 ? kControlCount - 1 : 1;
        m_focus = static_cast<Control>((static_cast<std::int32_t>(m_focus) + step) % kControlCount);
        m_window->repaint();
    }
}

void OpenTableDialog::paint(toolkit::Graphics& graphics, const toolkit::Rect&) {
    toolkit::Size size = m_window->size();
    graphics.setColor(colors().shade(1));
    graphics.fillRect({0, 0, size.width, size.height});
    graphics.setFont(kFont);
    for (std::int32_t i = 0; i < kControlCount; ++i) {
        auto control = static_cast<Control>(i);
        if (isCheckBox(control)) {
            paintCheckBox(graphics, control);
        } else {
            paintButton(graphics, control);
        }
    }
}

void OpenTableDialog::paintCheckBox(toolkit::Graphics& graphics, Control control) const {
    toolkit::Rect area = controlRect(control);
    const toolkit::FontMetrics& metrics = graphics.metrics();
    toolkit::Rect box{area.x, area.y + (area.height - kBoxSide) / 2, kBoxSide, kBoxSide};
    paintCheckSquare(graphics, colors(), box, isChecked(control));
    std::int32_t baseline = centredBaseline(area, metrics);
    graphics.setColor(colors().text);
    graphics.drawText({box.right() + kBoxGap, baseline}, caption(control));
    if (m_focus == control) {
        graphics.setColor(colors().accent);
        std::int32_t width = metrics.textWidth(caption(control));
        graphics.drawRect({box.right() + kBoxGap - 2, baseline - metrics.ascent() - 1, width + 3,
                           metrics.height() + 1});
    }
}

void OpenTableDialog::paintButton(toolkit::Graphics& graphics, Control control) const {
    paintPushButton(graphics, colors(), controlRect(control), caption(control),
                    m_focus == control ? colors().accent : colors().edge);
}

}  // namespace qv
