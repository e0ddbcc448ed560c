// Painting into an image instead of a window: the same painting code that
// draws the work area draws the picture, on the backend's own surface. The
// image is encoded in memory; writing it to a file is the caller's, through
// the programs' one file writer, so that a file is written whole or not at all.
#pragma once

#include <functional>
#include <string>

#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"

namespace qv::toolkit {

// Draws the picture on a white surface of the image's size.
using ImagePainter = std::function<void(Graphics&)>;

// Paints an image of `size` with `paint` and encodes it as a PNG into
// `bytes`; false, with the reason in `error`, when it could not be encoded.
using ImageEncoder = std::function<bool(Size size, const ImagePainter& paint, std::string& bytes,
                                        std::string& error)>;

}  // namespace qv::toolkit
