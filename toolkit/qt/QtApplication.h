// Running the program on Qt: the event loop of the main window, and the
// window painted into a PNG without a display (for tests, CI and reviews).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Window.h"

class QImage;

namespace qv::toolkit {

class QtWindow;

// Makes the program's listener for its main window. It may use the window
// at once (title, menus, posted messages, dialogs) and may quit already.
using ListenerFactory = std::function<std::unique_ptr<WindowListener>(Window&)>;

// Chooses Qt's offscreen platform when no display is set (no DISPLAY or
// WAYLAND_DISPLAY) and the user named no platform. Call it before the
// application object exists.
void useOffscreenWithoutDisplay();

// Creates the application object (unless one exists), the main window and
// its listener, shows the window and runs the event loop until the listener
// quits; returns the status it gave. With no display to show a window on,
// says so on standard error and returns 1.
int runApplication(int& argc, char** argv, const ListenerFactory& makeListener);

// Runs `work` with an application object, made for the call unless one
// exists (on the offscreen platform when there is no display), and returns
// its status: for painting without a window, such as a chart written to a
// PNG from the command line.
int runWithoutWindow(const std::function<int()>& work);

// The whole window, menu bar included, as it looks now, in logical pixels.
QImage renderWindow(const QtWindow& window);

// Lays the main window out at `size` (the whole window with its menu bar),
// lets the listener handle what it posted at start, paints the window and
// encodes it as PNG into `pngBytes`; false, with the reason in `error`, when
// it could not be encoded. Works with no display.
bool renderScreenshot(Size size, const ListenerFactory& makeListener, std::string& pngBytes,
                      std::string& error);

}  // namespace qv::toolkit
