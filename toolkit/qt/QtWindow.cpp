#include "toolkit/qt/QtWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "toolkit/qt/QtAppearance.h"
#include "toolkit/qt/QtDialogs.h"
#include "toolkit/qt/QtFileWatcher.h"
#include "toolkit/qt/QtFonts.h"
#include "toolkit/qt/QtImage.h"
#include "toolkit/qt/QtMenus.h"
#include "toolkit/qt/QtMessageLine.h"
#include "toolkit/qt/QtPrinting.h"
#include "toolkit/qt/QtWorkArea.h"

namespace qv::toolkit {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// ORDER CURSOR KIND.
Qt::CursorShape shapeOf(CursorKind kind) {
    switch (kind) {
        case CursorKind::SizeWestEast:
            return Qt::SizeHorCursor;
        case CursorKind::SizeNorthWestSouthEast:
            return Qt::SizeFDiagCursor;
        case CursorKind::SizeNorthEastSouthWest:
            return Qt::SizeBDiagCursor;
        case CursorKind::Arrow:
            return Qt::ArrowCursor;
        case CursorKind::SizeNorthSouth:
            return Qt::SizeVerCursor;
        case CursorKind::TextBeam:
            return Qt::IBeamCursor;
        case CursorKind::Wait:
            return Qt::WaitCursor;
        case CursorKind::PointingHand:
            return Qt::PointingHandCursor;
    }
    return Qt::ArrowCursor;
}

// Qt shows "[*]" in a title as the modified mark (or nothing); a view's
// title may contain those characters, and "[*][*]" is Qt's literal "[*]".
QString literalTitle(std::string_view title) {
    return fromUtf8(title).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// An address with a scheme ("https:", "mailto:") as it is; anything else is
// a file, relative to the current folder.
QUrl urlFor(std::string_view pathOrAddress) {
    QString text = fromUtf8(pathOrAddress);
    QUrl url(text, QUrl::StrictMode);
    // A scheme of one letter is a Windows drive ("C:"), not an address.
    if (url.isValid() && url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(text));
}

}  // namespace

QtWindow::QtWindow() : m_frame(std::make_unique<QtFrame>()), m_workArea(m_frame->workArea()) {
    addMessageLine();
}

// Not a Qt child of the owner: either window may go first. The platform is
// told that it belongs to the owner, so it stays above it. It has no
// message line: its program lays its controls out over the whole window.
QtWindow::QtWindow(QtWindow& owner, std::string_view title, const Rect& bounds)
    : m_frame(std::make_unique<QtFrame>()), m_workArea(m_frame->workArea()) {
    setTitle(title);
    QPoint at = owner.m_frame->geometry().topLeft() + QPoint(bounds.x, bounds.y);
    m_frame->setGeometry(at.x(), at.y(), bounds.width, bounds.height);
    m_frame->show();
    if (m_frame->windowHandle() != nullptr && owner.m_frame->windowHandle() != nullptr)
        m_frame->windowHandle()->setTransientParent(owner.m_frame->windowHandle());
}

QtWindow::~QtWindow() {
    // Timers and pending messages must not reach a listener that is going.
    m_timers.clear();
    m_workArea->setListener(nullptr);
}

void QtWindow::setListener(WindowListener* listener) {
    m_workArea->setListener(listener);
}

Size QtWindow::size() const {
    // Before the window is shown its layout has not placed the work area
    // yet; the program may ask already, to lay its views out at start.
    if (!m_frame->isVisible()) {
        m_frame->layout()->invalidate();
        m_frame->layout()->activate();
    }
    return {m_workArea->width(), m_workArea->height()};
}

Rect QtWindow::geometry() const {
    QRect bounds = m_frame->geometry();
    return {bounds.x(), bounds.y(), bounds.width(), bounds.height()};
}

void QtWindow::setGeometry(const Rect& bounds) {
    m_frame->setGeometry(bounds.x, bounds.y, bounds.width, bounds.height);
}

Rect QtWindow::screenArea() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    QRect area = screen->availableVirtualGeometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

void QtWindow::setTitle(std::string_view title) {
    m_frame->setWindowTitle(literalTitle(title));
}

void QtWindow::setMenuBar(const MenuBar& menus) {
    // A fresh bar; the frame deletes the old one later, so a menu may set
    // the menus again while its own item is being chosen.
    auto* bar = new QMenuBar(m_frame.get());
    QtWorkArea* area = m_workArea;
    fillMenuBar(*bar, menus, [area](std::int32_t id) {
        if (WindowListener* listener = area->listener()) listener->menuChosen(id);
    });
    m_frame->setMenuBar(bar);
}

void QtWindow::popupMenu(const MenuBar& items, Point at) {
    auto* menu = new QMenu(m_workArea);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QtWorkArea* area = m_workArea;
    fillMenu(*menu, items, [area](std::int32_t id) {
        if (WindowListener* listener = area->listener()) listener->menuChosen(id);
    });
    menu->popup(m_workArea->mapToGlobal(QPoint(at.x, at.y)));
}

void QtWindow::repaint() {
    m_workArea->update();
}

std::unique_ptr<FontMetrics> QtWindow::metrics(const Font& font) const {
    return std::make_unique<QtFontMetrics>(font);
}

void QtWindow::setCursor(CursorKind kind) {
    m_workArea->setCursor(shapeOf(kind));
    ++m_cursorChanges;
}

void QtWindow::postMessage(PostedMessage message) {
    m_workArea->post(std::move(message));
}

void QtWindow::startTimer(std::int32_t id, std::int32_t milliseconds) {
    std::unique_ptr<QTimer>& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QtWorkArea* area = m_workArea;
        QObject::connect(timer.get(), &QTimer::timeout, [area, id] {
            if (WindowListener* listener = area->listener()) listener->timer(id);
        });
    }
    // Stopped timers are kept rather than deleted: a timer may be stopped
    // from its own tick.
    timer->start(std::max(milliseconds, 0));
}

void QtWindow::stopTimer(std::int32_t id) {
    auto found = m_timers.find(id);
    if (found != m_timers.end()) found->second->stop();
}

void QtWindow::addMessageLine() {
    auto* bar = new QStatusBar(m_frame.get());
    m_messageLine = new QtMessageLine(bar);
    // A label stretched over the bar rather than the bar's own message:
    // pointing at a menu item clears that one (the item's empty status tip).
    bar->addWidget(m_messageLine, 1);
    m_frame->setStatusBar(bar);
}

void QtWindow::showStatusMessage(std::string_view text) {
    if (m_messageLine == nullptr) {
        if (text.empty()) return;
        addMessageLine();
    }
    m_messageLine->setMessage(text);
}

void QtWindow::showMessageBox(std::string_view text, std::string_view caption,
                              MessageBoxKind kind) {
    QtWorkArea* area = m_workArea;
    qv::toolkit::showMessageBox(m_frame.get(), text, caption, kind,
                                [area](PostedMessage answer) { area->post(std::move(answer)); });
}

std::unique_ptr<FileWatcher> QtWindow::watchFile(const std::string& path,
                                                 std::int32_t replyMessage) {
    QtWorkArea* area = m_workArea;
    return makeQtFileWatcher(path, [area, replyMessage, path] {
        area->post({replyMessage, 0, path});
    });
}

void QtWindow::showFileDialog(const FileDialogRequest& request) {
    QtWorkArea* area = m_workArea;
    FileDialogRequest started = request;
    if (started.initialPath.empty()) started.initialPath = m_dialogFolder;
    qv::toolkit::showFileDialog(m_frame.get(), started,
                                [area](PostedMessage chosen) { area->post(std::move(chosen)); });
}

bool QtWindow::encodeImage(Size size, const ImagePainter& paint, std::string& bytes,
                           std::string& error) {
    return encodePngImage(size, paint, bytes, error);
}

bool QtWindow::encodePdf(std::string_view title, const PagePainter& paint, std::string& bytes,
                         std::string& error) {
    return encodePdfDocument(title, paint, bytes, error);
}

void QtWindow::showPrintDialog(std::string_view title, PagePainter paint) {
    showPrintPreview(m_frame.get(), title, std::move(paint));
}

std::string QtWindow::clipboardText() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtWindow::setClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(fromUtf8(text));
}

bool QtWindow::openWithSystem(std::string_view pathOrAddress) {
    if (pathOrAddress.empty()) return false;
    return QDesktopServices::openUrl(urlFor(pathOrAddress));
}

const Palette& QtWindow::palette() const {
    return QtAppearance::palette();
}

void QtWindow::setAppearance(Appearance appearance) {
    QtAppearance::setAppearance(appearance);
    QtWorkArea::tellPaletteEverywhere();
}

std::unique_ptr<Window> QtWindow::openWindow(std::string_view title, const Rect& bounds) {
    return std::unique_ptr<Window>(new QtWindow(*this, title, bounds));
}

void QtWindow::close() {
    // hide(), not QWidget::close(): closing would ask the listener again.
    m_frame->hide();
    m_open = false;
}

void QtWindow::setAccessibleRoot(std::shared_ptr<AccessibleNode> root) {
    m_workArea->accessibility().setRoot(std::move(root));
}

void QtWindow::accessibleChanged(AccessibleChange change,
                                 const std::shared_ptr<AccessibleNode>& node) {
    m_workArea->accessibility().changed(change, node);
}

void QtWindow::quit(int status) {
    m_quitStatus = status;
    QCoreApplication::exit(status);
}

void QtWindow::processPendingEvents() {
    QtWorkArea::beginPump();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QtWorkArea::endPump();
}

QMainWindow* QtWindow::frame() const noexcept {
    return m_frame.get();
}

QWidget* QtWindow::workArea() const noexcept {
    return m_workArea;
}

}  // namespace qv::toolkit
