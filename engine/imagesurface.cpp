#include "engine/imagesurface.h"

#include <QPainter>
#include <cmath>
#include <new>

namespace wirevane {

QRgb toRgb(Colour colour) {
    return rasterPixel(colour);
}

ImageSurface::ImageSurface(int clientWidth, int clientHeight) : RasterSurface(KeptElsewhere{}) {
    resize(clientWidth, clientHeight);
}

RasterSurface::PixelRows ImageSurface::pixelRows() {
    // bits() first, as it parts the image from copies handed out, which keep what they showed.
    auto* first = reinterpret_cast<std::uint32_t*>(image_.bits());
    return {first, static_cast<std::ptrdiff_t>(image_.bytesPerLine() / sizeof(QRgb))};
}

void ImageSurface::allocatePixels(int width, int height) {
    image_ = QImage(width, height, QImage::Format_RGB32);
    // Qt answers a failed allocation with a null image, which would be drawn on.
    if (image_.isNull())
        throw std::bad_alloc();
}

QImage ImageSurface::composed() const {
    // Text needs fonts and so a GUI application; a picture without numbers needs neither.
    if (!anyLabelText())
        return image_;
    QImage out = image_;
    QPainter painter(&out);
    for (const Label& label : labels()) {
        if (label.text.empty() || !scale().takesPoint(label.left, label.top, width(), height()))
            continue;
        const double x = deviceX(label.left);
        const double y = deviceY(label.top);
        painter.setPen(QColor(toRgb(label.colour)));
        const QString text = QString::fromStdString(label.text);
        const QRect box = painter.fontMetrics().boundingRect(text);
        painter.drawText(QPointF(std::floor(x), std::floor(y) - box.top()), text);
    }
    return out;
}

} // namespace wirevane
