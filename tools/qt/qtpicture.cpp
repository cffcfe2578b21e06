#include "tools/qt/qtpicture.h"

#include "surfaces/imagesurface.h"
#include "surfaces/sceneexport.h"
#include "surfaces/svgsurface.h"
#include "tools/qt/toolapplication.h"

namespace wirevane {
namespace {

// An image with the point numbers as text.
class ImagePicture : public ToolPicture {
  public:
    ImagePicture(int width, int height) : image_(width, height) {}

    Surface& surface() override { return image_; }
    std::string fileBytes(const std::string&) override {
        return pngBytes(image_.composed()).toStdString();
    }

  private:
    ImageSurface image_;
};

// A drawing of vectors, as the window's export writes it.
class SvgPicture : public ToolPicture {
  public:
    SvgPicture(int width, int height) : drawing_(width, height) {}

    Surface& surface() override { return drawing_; }
    std::string fileBytes(const std::string& title) override {
        return svgBytes(drawing_, QString::fromStdString(title)).toStdString();
    }

  private:
    SvgSurface drawing_;
};

} // namespace

std::unique_ptr<ToolPicture> makeQtPicture(PictureFormat format, bool numbers,
                                           const PictureSize& size) {
    if (numbers || format == PictureFormat::Svg)
        needGuiApplication();
    if (format == PictureFormat::Svg)
        return std::make_unique<SvgPicture>(size.width, size.height);
    return std::make_unique<ImagePicture>(size.width, size.height);
}

} // namespace wirevane
