#include "toolkit/qt/QtWorkArea.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "toolkit/qt/QtAppearance.h"
#include "toolkit/qt/QtGraphics.h"
#include "toolkit/qt/QtKeys.h"

namespace qv::toolkit {

namespace {

const QEvent::Type kDeliverPosted = static_cast<QEvent::Type>(QEvent::registerEventType());

// A notch of a common mouse wheel, in eighths of a degree.
constexpr std::int32_t kWheelNotch = 120;

std::int32_t g_pumpDepth = 0;
std::vector<QtWorkArea*> g_workAreas;

Point pointOf(const QPointF& position) {
    QPoint p = position.toPoint();
    return {p.x(), p.y()};
}

}  // namespace

QtWorkArea::QtWorkArea(QWidget* parent)
    : QWidget(parent), m_paletteVersion(QtAppearance::version()) {
    // The listener paints every pixel, and while the program computes it
    // paints only a small overlay: what it painted before must stay.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    g_workAreas.push_back(this);
    QtAccessibility::installFactory();
}

QtWorkArea::~QtWorkArea() {
    g_workAreas.erase(std::remove(g_workAreas.begin(), g_workAreas.end(), this), g_workAreas.end());
}

void QtWorkArea::post(PostedMessage message) {
    m_posted.push_back(std::move(message));
    QCoreApplication::postEvent(this, new QEvent(kDeliverPosted));
}

void QtWorkArea::beginPump() {
    ++g_pumpDepth;
}

void QtWorkArea::endPump() {
    if (--g_pumpDepth > 0) return;
    for (QtWorkArea* area : g_workAreas) {
        for (; area->m_deferred > 0; --area->m_deferred)
            QCoreApplication::postEvent(area, new QEvent(kDeliverPosted));
    }
}

bool QtWorkArea::event(QEvent* event) {
    // Qt's palette changed: the desktop's colours, or ours given to Qt.
    if (event->type() == QEvent::ApplicationPaletteChange ||
        event->type() == QEvent::PaletteChange) {
        QtAppearance::refreshFromDesktop();
        tellPaletteEverywhere();
    }
    if (event->type() != kDeliverPosted) return QWidget::event(event);
    if (g_pumpDepth > 0)
        ++m_deferred;
    else
        deliverOne();
    return true;
}

void QtWorkArea::tellPaletteEverywhere() {
    // A listener may open or close windows while it hears.
    std::vector<QtWorkArea*> areas = g_workAreas;
    for (QtWorkArea* area : areas) {
        if (std::find(g_workAreas.begin(), g_workAreas.end(), area) != g_workAreas.end())
            area->tellPalette();
    }
}

void QtWorkArea::tellPalette() {
    if (m_paletteVersion == QtAppearance::version()) return;
    m_paletteVersion = QtAppearance::version();
    update();
    if (m_listener != nullptr) m_listener->paletteChanged();
}

void QtWorkArea::deliverOne() {
    if (m_posted.empty()) return;
    PostedMessage message = std::move(m_posted.front());
    m_posted.pop_front();
    if (m_listener != nullptr) m_listener->message(message);
}

void QtWorkArea::paintEvent(QPaintEvent* event) {
    if (m_listener == nullptr) return;
    QPainter painter(this);
    QtGraphics graphics(painter, {width(), height()});
    QRect area = event->rect();
    m_listener->paint(graphics, {area.x(), area.y(), area.width(), area.height()});
}

void QtWorkArea::resizeEvent(QResizeEvent*) {
    if (m_listener != nullptr) m_listener->resized({width(), height()});
}

void QtWorkArea::sendMouse(MouseKind kind, QMouseEvent* event) {
    if (m_listener != nullptr)
        m_listener->mouse(kind, pointOf(event->position()), toModifiers(event->modifiers()));
}

void QtWorkArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        sendMouse(MouseKind::Press, event);
    else if (event->button() == Qt::RightButton)
        sendMouse(MouseKind::RightPress, event);
}

void QtWorkArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        sendMouse(MouseKind::DoubleClick, event);
    else if (event->button() == Qt::RightButton)
        sendMouse(MouseKind::RightPress, event);
}

void QtWorkArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) sendMouse(MouseKind::Release, event);
}

void QtWorkArea::mouseMoveEvent(QMouseEvent* event) {
    sendMouse(event->buttons() & Qt::LeftButton ? MouseKind::Drag : MouseKind::Move, event);
}

void QtWorkArea::wheelEvent(QWheelEvent* event) {
    // Touchpads and smooth wheels send fractions of a notch; they add up.
    m_wheelRemainder += event->angleDelta().y();
    std::int32_t steps = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= steps * kWheelNotch;
    if (steps != 0 && m_listener != nullptr)
        m_listener->wheel(steps, pointOf(event->position()), toModifiers(event->modifiers()));
    event->accept();
}

void QtWorkArea::keyPressEvent(QKeyEvent* event) {
    std::optional<KeyStroke> stroke = translateKey(event->key(), event->modifiers(), event->text());
    if (!stroke) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_listener != nullptr) m_listener->key(stroke->code, stroke->text, stroke->modifiers);
    event->accept();
}

void QtWorkArea::inputMethodEvent(QInputMethodEvent* event) {
    // Characters composed by an input method arrive here, not as key presses.
    if (!event->commitString().isEmpty() && m_listener != nullptr)
        m_listener->key(key::kCharacter, event->commitString().toStdString(), 0);
    event->accept();
}

QtFrame::QtFrame() : m_workArea(new QtWorkArea(this)) {
    setCentralWidget(m_workArea);
    m_workArea->setFocus();
}

void QtFrame::closeEvent(QCloseEvent* event) {
    // The program decides: it may ask to save first, or refuse.
    event->ignore();
    if (WindowListener* listener = m_workArea->listener()) listener->closeRequested();
}

}  // namespace qv::toolkit
