#include "core/engine/rastersurface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wirevane {

std::uint32_t rasterPixel(Colour colour) {
    const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF,
                        blue = (colour >> 16) & 0xFF;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

RasterSurface::RasterSurface(int clientWidth, int clientHeight) {
    resize(clientWidth, clientHeight);
}

void RasterSurface::resize(int clientWidth, int clientHeight) {
    const int width = std::max(clientWidth, 1);
    const int height = std::max(clientHeight, 1);
    std::vector<std::uint32_t> cleared(static_cast<std::size_t>(width) *
                                           static_cast<std::size_t>(height),
                                       rasterPixel(backColor_));
    pixels_.swap(cleared);
    width_ = width;
    height_ = height;
}

bool RasterSurface::anyLabelText() const {
    return std::any_of(labels_.begin(), labels_.end(),
                       [](const Label& label) { return !label.text.empty(); });
}

void RasterSurface::setScale(double left, double top, double right, double bottom) {
    scale_ = {left, top, right, bottom};
}

void RasterSurface::setBackColor(Colour colour) {
    if (colour == backColor_)
        return;
    backColor_ = colour;
    clearSurface();
}

void RasterSurface::clearSurface() {
    std::fill(pixels_.begin(), pixels_.end(), rasterPixel(backColor_));
}

void RasterSurface::plot(int x, int y, std::uint32_t pixel) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = pixel;
}

bool RasterSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
    if (!scale_.takesLine(x1, y1, x2, y2, width_, height_))
        return false;
    double ax1 = deviceX(x1), ay1 = deviceY(y1);
    double ax2 = deviceX(x2), ay2 = deviceY(y2);
    if (!clipToBox(ax1, ay1, ax2, ay2, width_ - 1e-9, height_ - 1e-9))
        return true;
    // Bresenham between the pixels that hold the two ends.
    const int lastX = width_ - 1;
    const int lastY = height_ - 1;
    int ax = std::clamp(static_cast<int>(std::floor(ax1)), 0, lastX);
    int ay = std::clamp(static_cast<int>(std::floor(ay1)), 0, lastY);
    const int bx = std::clamp(static_cast<int>(std::floor(ax2)), 0, lastX);
    const int by = std::clamp(static_cast<int>(std::floor(ay2)), 0, lastY);
    const int dx = std::abs(bx - ax);
    const int dy = -std::abs(by - ay);
    const int sx = ax < bx ? 1 : -1;
    const int sy = ay < by ? 1 : -1;
    std::uint32_t* const first = pixels_.data();
    const std::uint32_t pixel = rasterPixel(colour);
    int error = dx + dy;
    for (;;) {
        first[static_cast<std::ptrdiff_t>(ay) * width_ + ax] = pixel;
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
    return true;
}

bool RasterSurface::drawCircle(float x, float y, float radius, Colour colour) {
    if (!scale_.takesCircle(x, y, radius, width_, height_))
        return false;
    const double cx = deviceX(x), cy = deviceY(y);
    const double r = scale_.toDeviceLength(radius, width_);
    const std::uint32_t pixel = rasterPixel(colour);
    const int px = static_cast<int>(std::floor(cx));
    const int py = static_cast<int>(std::floor(cy));
    const int radiusPixels = static_cast<int>(std::lround(std::fabs(r)));
    if (radiusPixels == 0) {
        plot(px, py, pixel);
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
            plot(px + p[0], py + p[1], pixel);
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

void RasterSurface::placeLabel(int index, const std::string& text, Colour colour, double left,
                               double top) {
    if (index < 0 || index >= kLabelCount)
        return;
    Label& label = labels_[index];
    label.text = text;
    label.colour = colour;
    // A position the device cannot take leaves the label where it was.
    if (scale_.takesPoint(left, top, width_, height_)) {
        label.left = left;
        label.top = top;
    }
}

void RasterSurface::setLabelText(int index, const std::string& text) {
    if (index < 0 || index >= kLabelCount)
        return;
    labels_[index].text = text;
}

} // namespace wirevane
