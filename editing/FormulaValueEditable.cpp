#include "editing/FormulaValueEditable.h"

#include <utility>

#include "editing/EditableSupport.h"

namespace qv {

namespace {
constexpr std::int32_t kFieldGap = 4;  // between the label and the field
constexpr std::int32_t kFieldTop = 3;
// The selected cell's value at the field's right end, quieter than the formula.
constexpr std::int32_t kValueGap = 16;  // kept free after the formula
}  // namespace

FormulaValueEditable::FormulaValueEditable(EditableContainerPanel* panel)
    : m_panel(panel), m_field(make<FormulaTextFieldEditable>(this)) {
    adopt(m_field);
}

FormulaValueEditable::~FormulaValueEditable() {
    m_field->setOwner(nullptr);
    release(m_field);
}

void FormulaValueEditable::startEditing(const Pointer<EditedFormulaCell>& cell) {
    m_cell = cell;
    m_value.clear();
    m_field->setLinkStart(-1);
    m_followLink = {};
    m_field->setText(cell.isNull() ? std::string() : cell->formulaText());
    m_field->setCaret(static_cast<std::int32_t>(m_field->text().size()));
    m_field->textChanged();
}

void FormulaValueEditable::showFormula(std::string_view text, std::string_view value) {
    m_cell = {};
    m_field->setText(text);
    m_value = value == text ? std::string() : std::string(value);
    m_field->setLinkStart(-1);
    m_followLink = {};
}

void FormulaValueEditable::showLinked(std::string_view text, std::int32_t linkStart,
                                      std::function<void()> follow) {
    showFormula(text);
    m_field->setLinkStart(linkStart);
    m_followLink = std::move(follow);
}

void FormulaValueEditable::commit(std::int32_t code, std::string_view text,
                                  std::uint32_t modifiers) {
    Pointer<EditedFormulaCell> cell = m_cell;
    m_cell = {};
    if (cell.isNull()) return;
    try {
        cell->commitFormula(m_field->text());
    } catch (const StringPointer& message) {
        if (support() != nullptr) support()->setPendingError(message->view());
    }
    cell->selectCell();
    cell->cellKey(code, text, modifiers);
}

void FormulaValueEditable::cancel() {
    Pointer<EditedFormulaCell> cell = m_cell;
    m_cell = {};
    if (cell.isNull()) return;
    m_field->setText(cell->formulaText());
    cell->cancelEditing();
    cell->selectCell();
}

void FormulaValueEditable::fieldEdited() {
    if (!m_cell.isNull()) m_cell->showTyping(m_field->text());
}

std::int32_t FormulaValueEditable::labelWidth() const {
    return support() == nullptr ? 0 : support()->boldMetrics().textWidth("Formula");
}

void FormulaValueEditable::layoutWidth(std::int32_t widthHint) {
    m_field->layoutWidth(widthHint - labelWidth() - 20);
    m_field->moveBy({kLabelLeft + labelWidth() + kFieldGap, kFieldTop});
    setBounds({0, 0, widthHint, m_field->bounds().height + 2 * kFieldTop});
}

void FormulaValueEditable::moveBy(toolkit::Point delta) {
    AbstractEditable::moveBy(delta);
    m_field->moveBy(delta);
}

void FormulaValueEditable::attach(EditableSupport* support) {
    AbstractEditable::attach(support);
    m_field->attach(support);
}

void FormulaValueEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    graphics.setColor(colors().shade(3));
    graphics.fillRect(area);
    graphics.setColor(colors().edge);
    graphics.drawLine({area.x, area.bottom() - 1}, {area.right() - 1, area.bottom() - 1});
    if (support() != nullptr) {
        const toolkit::FontMetrics& bold = support()->boldMetrics();
        graphics.setFont(support()->boldFont());
        graphics.setColor(colors().text);
        std::int32_t top = area.y + (area.height - bold.height()) / 2;
        graphics.drawText({area.x + kLabelLeft, top + bold.ascent()}, "Formula");
    }
    m_field->paint(graphics, origin);
    paintValue(graphics, origin);
}

// "= value" right-aligned in the field, only while nothing is edited and
// only where it leaves the formula room.
void FormulaValueEditable::paintValue(toolkit::Graphics& graphics, toolkit::Point origin) const {
    if (m_value.empty() || !m_cell.isNull() || support() == nullptr) return;
    const toolkit::FontMetrics& plain = support()->plainMetrics();
    toolkit::Rect field = m_field->bounds().translated(origin.x, origin.y);
    std::string shown = "= " + m_value;
    std::int32_t x = field.right() - TextBase::kPadding - plain.textWidth(shown);
    std::int32_t formulaEnd = field.x + TextBase::kPadding + plain.textWidth(m_field->text());
    if (x < formulaEnd + kValueGap) return;
    toolkit::GraphicsScope scope(graphics, field);
    graphics.setFont(support()->plainFont());
    graphics.setColor(colors().quietText);
    graphics.drawText({x, field.y + TextBase::kPadding + plain.ascent()}, shown);
}

bool FormulaValueEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    if (m_cell.isNull() && m_field->isOnLink(info.point())) {
        if (kind == MouseKind::Move) {
            if (support() != nullptr)
                support()->window().setCursor(toolkit::CursorKind::PointingHand);
            return true;
        }
        // Each click follows the link it lands on; a double click is two.
        if (kind == MouseKind::Press || kind == MouseKind::DoubleClick) {
            // Called from a copy: following may show another link.
            if (std::function<void()> follow = m_followLink; follow) follow();
            return true;
        }
    }
    return m_field->handleMouse(kind, info);
}

void FormulaValueEditable::handleKey(std::int32_t code, std::string_view text,
                                     std::uint32_t modifiers) {
    m_field->handleKey(code, text, modifiers);
}

Pointer<AbstractEditable> FormulaValueEditable::hitTest(std::int32_t x, std::int32_t y, bool deep) {
    if (!bounds().contains({x, y})) return {};
    if (deep && m_field->bounds().contains({x, y})) return m_field;
    return self();
}

bool FormulaValueEditable::acceptsEditCommand(std::int32_t code) const {
    return m_field->acceptsEditCommand(code);
}

}  // namespace qv
