#pragma once

#include "engine/rastersurface.h"

#include <QImage>

namespace wirevane {

// QRgb of a Colour (red in the low byte), fully opaque.
QRgb toRgb(Colour colour);

// The raster surface with its pixels in a QImage, for the windows and for pictures with text:
// composed() draws the labels on the image as text.
class ImageSurface : public RasterSurface {
  public:
    explicit ImageSurface(int clientWidth = 553, int clientHeight = 375);

    const QImage& image() const { return image_; }
    // The image with the non-empty labels drawn on it as text.
    QImage composed() const;

  protected:
    PixelRows pixelRows() override;
    void allocatePixels(int width, int height) override;

  private:
    QImage image_;
};

} // namespace wirevane
