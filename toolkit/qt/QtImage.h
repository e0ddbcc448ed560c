// Images painted through the toolkit's drawing surface over a QPainter, the
// same code that paints the work area, and encoded as PNG in memory. The
// application object (QGuiApplication or QApplication) must exist.
#pragma once

#include <string>

#include "toolkit/ImageEncoder.h"

class QImage;

namespace qv::toolkit {

// A white image of `size` in logical pixels, painted by `paint`.
QImage paintImage(Size size, const ImagePainter& paint);

// The image as PNG bytes; false, with the reason in `error`, when it could
// not be encoded.
bool encodePng(const QImage& image, std::string& bytes, std::string& error);

// An ImageEncoder: paints the image and encodes it as PNG.
bool encodePngImage(Size size, const ImagePainter& paint, std::string& bytes, std::string& error);

}  // namespace qv::toolkit
