#include "engine/imagesurface.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wirevane {
namespace {

bool inDeviceRange(double d) {
    return std::fabs(d) <= ImageSurface::kDeviceLimit;
}

} // namespace

QRgb toRgb(Colour colour) {
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

ImageSurface::ImageSurface(int clientWidth, int clientHeight) {
    resize(clientWidth, clientHeight);
}

void ImageSurface::resize(int clientWidth, int clientHeight) {
    image_ = QImage(std::max(clientWidth, 1), std::max(clientHeight, 1), QImage::Format_RGB32);
    image_.fill(toRgb(backColor_));
}

QImage ImageSurface::composed() const {
    // Text needs fonts and so a GUI application; a picture without numbers needs neither.
    if (std::all_of(labels_.begin(), labels_.end(),
                    [](const Label& label) { return label.text.empty(); }))
        return image_;
    QImage out = image_;
    QPainter painter(&out);
    for (const Label& label : labels_) {
        if (label.text.empty())
            continue;
        const double x = deviceX(label.left);
        const double y = deviceY(label.top);
        if (!inDeviceRange(x) || !inDeviceRange(y))
            continue;
        painter.setPen(QColor(toRgb(label.colour)));
        const QString text = QString::fromStdString(label.text);
        const QRect box = painter.fontMetrics().boundingRect(text);
        painter.drawText(QPointF(std::floor(x), std::floor(y) - box.top()), text);
    }
    return out;
}

void ImageSurface::setScale(double left, double top, double right, double bottom) {
    scale_ = {left, top, right, bottom};
}

void ImageSurface::setBackColor(Colour colour) {
    if (colour == backColor_)
        return;
    backColor_ = colour;
    clearSurface();
}

void ImageSurface::clearSurface() {
    image_.fill(toRgb(backColor_));
}

void ImageSurface::plot(int x, int y, QRgb rgb) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = rgb;
}

void ImageSurface::drawClippedLine(double x1, double y1, double x2, double y2, QRgb rgb) {
    const double maxX = image_.width() - 1e-9;
    const double maxY = image_.height() - 1e-9;
    if (!clipToBox(x1, y1, x2, y2, maxX, maxY))
        return;
    // Bresenham between the pixels that hold the two ends.
    const int lastX = image_.width() - 1;
    const int lastY = image_.height() - 1;
    int ax = std::clamp(static_cast<int>(std::floor(x1)), 0, lastX);
    int ay = std::clamp(static_cast<int>(std::floor(y1)), 0, lastY);
    const int bx = std::clamp(static_cast<int>(std::floor(x2)), 0, lastX);
    const int by = std::clamp(static_cast<int>(std::floor(y2)), 0, lastY);
    const int dx = std::abs(bx - ax);
    const int dy = -std::abs(by - ay);
    const int sx = ax < bx ? 1 : -1;
    const int sy = ay < by ? 1 : -1;
    const int stride = static_cast<int>(image_.bytesPerLine() / sizeof(QRgb));
    QRgb* bits = reinterpret_cast<QRgb*>(image_.bits());
    int error = dx + dy;
    for (;;) {
        bits[ay * stride + ax] = rgb;
        if (ax == bx && ay == by)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            ax += sx;
        }
        if (twice <= dx) {
            error += dx;
            ay += sy;
        }
    }
}

bool ImageSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
    const double dx1 = deviceX(x1), dy1 = deviceY(y1);
    const double dx2 = deviceX(x2), dy2 = deviceY(y2);
    if (!inDeviceRange(dx1) || !inDeviceRange(dy1) || !inDeviceRange(dx2) || !inDeviceRange(dy2))
        return false;
    drawClippedLine(dx1, dy1, dx2, dy2, toRgb(colour));
    return true;
}

bool ImageSurface::drawCircle(float x, float y, float radius, Colour colour) {
    const double cx = deviceX(x), cy = deviceY(y);
    const double r = scale_.toDeviceLength(radius, image_.width());
    if (!inDeviceRange(cx) || !inDeviceRange(cy) || !inDeviceRange(r))
        return false;
    const QRgb rgb = toRgb(colour);
    const int px = static_cast<int>(std::floor(cx));
    const int py = static_cast<int>(std::floor(cy));
    const int radiusPixels = static_cast<int>(std::lround(std::fabs(r)));
    if (radiusPixels == 0) {
        plot(px, py, rgb);
        return true;
    }
    // Midpoint circle, eight octants at a time.
    int ox = radiusPixels;
    int oy = 0;
    int error = 1 - radiusPixels;
    while (ox >= oy) {
        const int pts[8][2] = {{ox, oy},   {oy, ox},   {-oy, ox}, {-ox, oy},
                               {-ox, -oy}, {-oy, -ox}, {oy, -ox}, {ox, -oy}};
        for (const auto& p : pts)
            plot(px + p[0], py + p[1], rgb);
        ++oy;
        if (error < 0) {
            error += 2 * oy + 1;
        } else {
            --ox;
            error += 2 * (oy - ox) + 1;
        }
    }
    return true;
}

void ImageSurface::placeLabel(int index, const std::string& text, Colour colour, double left,
                              double top) {
    if (index < 0 || index >= kLabelCount)
        return;
    Label& label = labels_[index];
    label.text = text;
    label.colour = colour;
    // A position the device cannot take leaves the label where it was.
    if (inDeviceRange(deviceX(left)) && inDeviceRange(deviceY(top))) {
        label.left = left;
        label.top = top;
    }
}

void ImageSurface::setLabelText(int index, const std::string& text) {
    if (index < 0 || index >= kLabelCount)
        return;
    labels_[index].text = text;
}

} // namespace wirevane
