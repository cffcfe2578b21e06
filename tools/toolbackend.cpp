#include "tools/toolbackend.h"

#include "engine/rastersurface.h"
#include "formats/pngwriter.h"

namespace wirevane {
namespace {

// A PNG picture without text, drawn by the core alone.
class RasterPicture : public ToolPicture, private RasterSurface {
  public:
    RasterPicture(int width, int height) : RasterSurface(width, height) {}

    Surface& surface() override { return *this; }
    std::string fileBytes(const std::string&) override {
        return pngFileBytes(pixels().data(), width(), height(), width());
    }
};

} // namespace

std::unique_ptr<ToolPicture> makeRasterPicture(const PictureSize& size) {
    return std::make_unique<RasterPicture>(size.width, size.height);
}

} // namespace wirevane
