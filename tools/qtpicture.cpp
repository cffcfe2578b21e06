#include "tools/qtpicture.h"

#include "engine/imagesurface.h"
#include "engine/sceneexport.h"
#include "engine/svgsurface.h"
#include "tools/toolapplication.h"

namespace wirevane {
namespace {

// Draws into the image, and into the drawing too when the file is SVG. The image refuses what
// the device cannot address, so the drawing gets only what the image took.
class QtPicture : public ToolPicture, private ImageSurface {
  public:
    QtPicture(PictureFormat format, int width, int height)
        : ImageSurface(width, height), format_(format), drawing_(width, height) {}

    Surface& surface() override { return *this; }
    std::string fileBytes(const std::string& title) override {
        const QByteArray bytes = format_ == PictureFormat::Svg
                                     ? svgBytes(drawing_, QString::fromStdString(title))
                                     : pngBytes(composed());
        return bytes.toStdString();
    }

  private:
    bool drawsSvg() const { return format_ == PictureFormat::Svg; }

    void setScale(double left, double top, double right, double bottom) override {
        ImageSurface::setScale(left, top, right, bottom);
        drawing_.setScale(left, top, right, bottom);
    }
    void setBackColor(Colour colour) override {
        ImageSurface::setBackColor(colour);
        drawing_.setBackColor(colour);
    }
    void clearSurface() override {
        ImageSurface::clearSurface();
        drawing_.clearSurface();
    }
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override {
        return ImageSurface::drawLine(x1, y1, x2, y2, colour) &&
               (!drawsSvg() || drawing_.drawLine(x1, y1, x2, y2, colour));
    }
    bool drawCircle(float x, float y, float radius, Colour colour) override {
        return ImageSurface::drawCircle(x, y, radius, colour) &&
               (!drawsSvg() || drawing_.drawCircle(x, y, radius, colour));
    }
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override {
        ImageSurface::placeLabel(index, text, colour, left, top);
        drawing_.placeLabel(index, text, colour, left, top);
    }
    void setLabelText(int index, const std::string& text) override {
        ImageSurface::setLabelText(index, text);
        drawing_.setLabelText(index, text);
    }

    PictureFormat format_;
    SvgSurface drawing_; // everything the image shows, for SVG
};

} // namespace

std::unique_ptr<ToolPicture> makeQtPicture(PictureFormat format, bool numbers,
                                           const PictureSize& size) {
    if (numbers || format == PictureFormat::Svg)
        needGuiApplication();
    return std::make_unique<QtPicture>(format, size.width, size.height);
}

} // namespace wirevane
