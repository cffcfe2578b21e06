#pragma once

#include "engine/surface.h"
#include "engine/surfacescale.h"

#include <QImage>
#include <array>
#include <string>

namespace wirevane {

// QRgb of a Colour (red in the low byte), fully opaque.
QRgb toRgb(Colour colour);

// A surface that draws into a QImage the size of a client area. Lines and circles are one pixel
// wide and drawn straight into the image's pixels, which is several times faster than QPainter
// for this many short aliased lines. Labels are kept as data; composed() draws them as text.
class ImageSurface : public Surface {
  public:
    // Device positions beyond this many pixels from the origin cannot be drawn, as on a 16-bit
    // device; the renderer then shrinks the scene until it fits.
    static constexpr double kDeviceLimit = 32767;

    struct Label {
        std::string text;
        Colour colour = 0xFFFFFF;
        double left = 0, top = 0;
    };

    explicit ImageSurface(int clientWidth = 553, int clientHeight = 375);

    // Rebuilds the image at a new client size, cleared to the back colour.
    void resize(int clientWidth, int clientHeight);
    const QImage& image() const { return image_; }
    // The image with the non-empty labels drawn on it as text.
    QImage composed() const;

    // The device pixel of a surface point, for placing the number labels.
    double deviceX(double x) const { return scale_.toDeviceX(x, image_.width()); }
    double deviceY(double y) const { return scale_.toDeviceY(y, image_.height()); }
    const std::array<Label, kLabelCount>& labels() const { return labels_; }

    void setScale(double left, double top, double right, double bottom) override;
    void setBackColor(Colour colour) override;
    void clearSurface() override;
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
    bool drawCircle(float x, float y, float radius, Colour colour) override;
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override;
    void setLabelText(int index, const std::string& text) override;

  private:
    void plot(int x, int y, QRgb rgb);
    void drawClippedLine(double x1, double y1, double x2, double y2, QRgb rgb);

    QImage image_;
    SurfaceScale scale_;
    Colour backColor_ = 0;
    std::array<Label, kLabelCount> labels_{};
};

} // namespace wirevane
