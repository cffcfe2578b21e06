#include "surfaces/imagesurface.h"

#include <QPainter>
#include <cmath>
#include <new>

namespace wirevane {

QRgb toRgb(Colour colour) {
    return rasterPixel(colour);
}

ImageSurface::ImageSurface(int clientWidth, int clientHeight)
    : raster_(std::make_shared<RasterSurface>(clientWidth, clientHeight)) {
    showRaster();
}

// The image over the raster's own memory; the image and its copies keep the raster alive.
void ImageSurface::showRaster() {
    const auto* bytes = reinterpret_cast<const uchar*>(raster_->pixels().data());
    image_ = QImage(
        bytes, raster_->width(), raster_->height(),
        static_cast<qsizetype>(raster_->width()) * static_cast<qsizetype>(sizeof(std::uint32_t)),
        QImage::Format_RGB32,
        [](void* raster) { delete static_cast<std::shared_ptr<RasterSurface>*>(raster); },
        new std::shared_ptr<RasterSurface>(raster_));
}

// The raster, about to change its pixels. A copy of the image handed out shares them and must
// keep what it showed, so the raster moves to pixels of its own first.
RasterSurface& ImageSurface::changingRaster() {
    if (!image_.isDetached()) {
        raster_ = std::make_shared<RasterSurface>(*raster_);
        showRaster();
    }
    return *raster_;
}

void ImageSurface::resize(int clientWidth, int clientHeight) {
    changingRaster().resize(clientWidth, clientHeight);
    showRaster();
}

void ImageSurface::setScale(double left, double top, double right, double bottom) {
    raster_->setScale(left, top, right, bottom);
}

void ImageSurface::setBackColor(Colour colour) {
    changingRaster().setBackColor(colour);
}

void ImageSurface::clearSurface() {
    changingRaster().clearSurface();
}

bool ImageSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
    return changingRaster().drawLine(x1, y1, x2, y2, colour);
}

bool ImageSurface::drawCircle(float x, float y, float radius, Colour colour) {
    return changingRaster().drawCircle(x, y, radius, colour);
}

void ImageSurface::placeLabel(int index, const std::string& text, Colour colour, double left,
                              double top) {
    raster_->placeLabel(index, text, colour, left, top);
}

void ImageSurface::setLabelText(int index, const std::string& text) {
    raster_->setLabelText(index, text);
}

QImage ImageSurface::composed() const {
    // Text needs fonts and so a GUI application; a picture without numbers needs neither.
    if (!raster_->anyLabelText())
        return image_;
    // A copy of its own, made here rather than by the painter, which would only warn on every
    // draw when there is too little memory for it.
    QImage out = image_.copy();
    if (out.isNull())
        throw std::bad_alloc();
    QPainter painter(&out);
    for (const RasterSurface::Label& label : labels()) {
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
