// Painting into an image file instead of a window: the same painting code
// that draws the work area draws the picture, on the backend's own surface.
#pragma once

#include <functional>
#include <string>

#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"

namespace qv::toolkit {

// Draws the picture on a white surface of the image's size.
using ImagePainter = std::function<void(Graphics&)>;

// Paints an image of `size` with `paint` and writes it to `path` as a PNG;
// false, with the reason in `error`, when the file could not be written.
using ImageWriter = std::function<bool(const std::string& path, Size size,
                                       const ImagePainter& paint, std::string& error)>;

}  // namespace qv::toolkit
