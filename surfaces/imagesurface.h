#pragma once

#include "core/engine/picturesize.h"
#include "core/engine/rastersurface.h"

#include <QImage>
#include <memory>

namespace wirevane {

// QRgb of a Colour (red in the low byte), fully opaque.
QRgb toRgb(Colour colour);

// A raster surface whose pixels Qt sees as a QImage, for the windows and for pictures with
// text: composed() draws the labels on the image as text.
class ImageSurface final : public Surface {
  public:
    // Throws std::bad_alloc when the pixels do not fit in memory.
    explicit ImageSurface(int clientWidth = PictureSize::kAnimationWidth,
                          int clientHeight = PictureSize::kAnimationHeight);

    // The raster's pixels as they are now. A copy keeps what it showed, as QImage copies do.
    const QImage& image() const { return image_; }
    // The image with the non-empty labels drawn on it as text.
    // Throws std::bad_alloc when there is too little memory for the copy that holds the text.
    QImage composed() const;

    // Makes the pixels a new client size, cleared to the back colour.
    void resize(int clientWidth, int clientHeight);
    int width() const { return raster_->width(); }
    int height() const { return raster_->height(); }
    double deviceX(double x) const { return raster_->deviceX(x); }
    double deviceY(double y) const { return raster_->deviceY(y); }
    const SurfaceScale& scale() const { return raster_->scale(); }
    const std::array<RasterSurface::Label, kLabelCount>& labels() const {
        return raster_->labels();
    }

    void setScale(double left, double top, double right, double bottom) override;
    void setBackColor(Colour colour) override;
    void clearSurface() override;
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
    bool drawCircle(float x, float y, float radius, Colour colour) override;
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override;
    void setLabelText(int index, const std::string& text) override;

  private:
    RasterSurface& changingRaster();
    void showRaster();

    // Shared with the copies of image_ handed out, which must outlive this surface.
    std::shared_ptr<RasterSurface> raster_;
    QImage image_;
};

} // namespace wirevane
