#include "toolkit/qt/QtImage.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include "toolkit/qt/QtGraphics.h"

namespace qv::toolkit {

namespace {

// Large enough for any picture a user exports, small enough that a mistyped
// size can not ask for gigabytes.
constexpr std::int32_t kLargestSide = 16384;

}  // namespace

QImage paintImage(Size size, const ImagePainter& paint) {
    QImage image(size.width, size.height, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QtGraphics graphics(painter, size);
        paint(graphics);
    }
    painter.end();
    return image;
}

bool encodePng(const QImage& image, std::string& bytes, std::string& error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        error = writer.errorString().toStdString();
        return false;
    }
    const QByteArray& data = buffer.data();
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool encodePngImage(Size size, const ImagePainter& paint, std::string& bytes, std::string& error) {
    if (size.width <= 0 || size.height <= 0 || size.width > kLargestSide ||
        size.height > kLargestSide) {
        error = "the picture's size " + std::to_string(size.width) + " by " +
                std::to_string(size.height) + " is out of range";
        return false;
    }
    return encodePng(paintImage(size, paint), bytes, error);
}

}  // namespace qv::toolkit
