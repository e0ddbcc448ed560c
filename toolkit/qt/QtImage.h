// Images painted through the toolkit's drawing surface over a QPainter, the
// same code that paints the work area, and saved as PNG files. The
// application object (QGuiApplication or QApplication) must exist.
#pragma once

#include <string>

#include "toolkit/ImageWriter.h"

class QImage;

namespace qv::toolkit {

// A white image of `size` in logical pixels, painted by `paint`.
QImage paintImage(Size size, const ImagePainter& paint);

// An ImageWriter: paints the image and saves it as PNG at `path`.
bool writePngImage(const std::string& path, Size size, const ImagePainter& paint,
                   std::string& error);

}  // namespace qv::toolkit
