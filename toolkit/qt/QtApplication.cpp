#include "toolkit/qt/QtApplication.h"

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QScreen>
#include <cstdio>

#include "toolkit/qt/QtFonts.h"
#include "toolkit/qt/QtImage.h"
#include "toolkit/qt/QtWindow.h"

namespace qv::toolkit {

namespace {

constexpr Size kDefaultSize{1024, 768};

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool platformChosen() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

void prepareApplication() {
    installFontSubstitutes();
    // The program ends when its listener says so (after asking to save),
    // not when its last window disappears.
    QApplication::setQuitOnLastWindowClosed(false);
    if (QCoreApplication::applicationName().isEmpty())
        QCoreApplication::setApplicationName(QStringLiteral("Quorvatelle"));
}

// The default size, within the screen's free area on small screens.
QSize startSize() {
    QSize size(kDefaultSize.width, kDefaultSize.height);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    return size;
}

// An application object for work without the event loop, unless one
// exists already (then the result is empty).
std::unique_ptr<QApplication> applicationIfNone() {
    useOffscreenWithoutDisplay();
    // QApplication keeps a reference to its argument count.
    static int argc = 1;
    static char name[] = "quorvatelle";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr)
        application = std::make_unique<QApplication>(argc, argv);
    prepareApplication();
    return application;
}

}  // namespace

void useOffscreenWithoutDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!hasDisplay() && !platformChosen()) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
}

int runApplication(int& argc, char** argv, const ListenerFactory& makeListener) {
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        if (!hasDisplay() && !platformChosen()) {
            std::fputs(
                "quorvatelle: no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
                "are not set); --screenshot OUT.png paints it into a file instead\n",
                stderr);
            return 1;
        }
#endif
        application = std::make_unique<QApplication>(argc, argv);
    }
    prepareApplication();
    int status = 0;
    {
        QtWindow window;
        window.frame()->resize(startSize());
        std::unique_ptr<WindowListener> listener = makeListener(window);
        window.setListener(listener.get());
        if (window.quitStatus()) {
            status = *window.quitStatus();
        } else {
            window.frame()->show();
            status = QApplication::exec();
        }
        window.setListener(nullptr);
    }
    return status;
}

QImage renderWindow(const QtWindow& window) {
    QMainWindow* frame = window.frame();
    QImage image(frame->size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(Qt::white);
    frame->render(&image);
    return image;
}

int runWithoutWindow(const std::function<int()>& work) {
    std::unique_ptr<QApplication> application = applicationIfNone();
    return work();
}

bool renderScreenshot(Size size, const ListenerFactory& makeListener, std::string& pngBytes,
                      std::string& error) {
    std::unique_ptr<QApplication> application = applicationIfNone();

    QtWindow window;
    QMainWindow* frame = window.frame();
    frame->setAttribute(Qt::WA_DontShowOnScreen);
    frame->resize(size.width, size.height);
    std::unique_ptr<WindowListener> listener = makeListener(window);
    window.setListener(listener.get());
    frame->show();
    // Layout, the first resize and what the listener posted at start (the
    // steps of loading a document) each take a turn of the queue; a few
    // turns settle them without waiting on a listener that never stops.
    for (int turn = 0; turn < 8; ++turn)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    bool encoded = encodePng(renderWindow(window), pngBytes, error);
    window.setListener(nullptr);
    return encoded;
}

}  // namespace qv::toolkit
