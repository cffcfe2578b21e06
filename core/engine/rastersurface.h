#pragma once

#include "core/engine/picturesize.h"
#include "core/engine/surface.h"
#include "core/engine/surfacescale.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wirevane {

// A colour as a 32-bit pixel 0xFFRRGGBB, the layout of a QImage of Format_RGB32.
std::uint32_t rasterPixel(Colour colour);

// A surface that draws one-pixel lines and circles straight into 32-bit pixels the size of a
// client area, which is several times faster than a general painter for this many short aliased
// lines. Labels are kept as data for whoever can draw text.
class RasterSurface final : public Surface {
  public:
    struct Label {
        std::string text;
        Colour colour = 0xFFFFFF;
        double left = 0, top = 0;
    };

    // Throws std::bad_alloc when the pixels do not fit in memory.
    explicit RasterSurface(int clientWidth = PictureSize::kAnimationWidth,
                           int clientHeight = PictureSize::kAnimationHeight);

    // Makes the pixels a new client size, cleared to the back colour. Throws std::bad_alloc
    // when they do not fit, and then keeps the old ones.
    void resize(int clientWidth, int clientHeight);
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixels row after row, width() of them a row. They move only on resize().
    std::span<const std::uint32_t> pixels() const { return pixels_; }

    // The device pixel of a surface point, for placing the number labels.
    double deviceX(double x) const { return scale_.toDeviceX(x, width_); }
    double deviceY(double y) const { return scale_.toDeviceY(y, height_); }
    const SurfaceScale& scale() const { return scale_; }
    const std::array<Label, kLabelCount>& labels() const { return labels_; }
    bool anyLabelText() const;

    void setScale(double left, double top, double right, double bottom) override;
    void setBackColor(Colour colour) override;
    void clearSurface() override;
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
    bool drawCircle(float x, float y, float radius, Colour colour) override;
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override;
    void setLabelText(int index, const std::string& text) override;

  private:
    void plot(int x, int y, std::uint32_t pixel);

    std::vector<std::uint32_t> pixels_;
    int width_ = 1, height_ = 1;
    SurfaceScale scale_;
    Colour backColor_ = 0;
    std::array<Label, kLabelCount> labels_{};
};

} // namespace wirevane
