#include "tools/qtpicture.h"

#include "engine/imagesurface.h"
#include "engine/teesurface.h"
#include "formats/sceneexport.h"
#include "formats/svgsurface.h"
#include "tools/toolapplication.h"

namespace wirevane {
namespace {

// An image with the point numbers as text and, for an SVG file, the same drawing as vectors.
class QtPicture : public ToolPicture {
  public:
    QtPicture(PictureFormat format, int width, int height)
        : format_(format), image_(width, height), drawing_(width, height),
          imageAndDrawing_(image_, drawing_) {}

    Surface& surface() override {
        if (format_ == PictureFormat::Svg)
            return imageAndDrawing_;
        return image_;
    }
    std::string fileBytes(const std::string& title) override {
        const QByteArray bytes = format_ == PictureFormat::Svg
                                     ? svgBytes(drawing_, QString::fromStdString(title))
                                     : pngBytes(image_.composed());
        return bytes.toStdString();
    }

  private:
    PictureFormat format_;
    ImageSurface image_;
    SvgSurface drawing_;
    // The image refuses what the device cannot address, so the drawing gets what the image took.
    TeeSurface imageAndDrawing_;
};

} // namespace

std::unique_ptr<ToolPicture> makeQtPicture(PictureFormat format, bool numbers,
                                           const PictureSize& size) {
    if (numbers || format == PictureFormat::Svg)
        needGuiApplication();
    return std::make_unique<QtPicture>(format, size.width, size.height);
}

} // namespace wirevane
