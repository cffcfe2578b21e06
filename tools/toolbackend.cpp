#include "tools/toolbackend.h"

#include "core/engine/rastersurface.h"
#include "formats/raster/pngwriter.h"

namespace wirevane {
namespace {

// A PNG picture without text, drawn by the core alone.
class RasterPicture : public ToolPicture {
  public:
    RasterPicture(int width, int height) : raster_(width, height) {}

    Surface& surface() override { return raster_; }
    std::string fileBytes(const std::string&) override {
        return pngFileBytes(raster_.pixels().data(), raster_.width(), raster_.height(),
                            raster_.width());
    }

  private:
    RasterSurface raster_;
};

} // namespace

std::unique_ptr<ToolPicture> makeRasterPicture(const PictureSize& size) {
    return std::make_unique<RasterPicture>(size.width, size.height);
}

} // namespace wirevane
