#pragma once

#include "core/engine/surface.h"
#include "formats/raster/pictureformat.h"
#include "tools/toolinput.h"

#include <functional>
#include <memory>
#include <string>

namespace wirevane {

// A picture the render command draws on through surface(), then writes to a file.
class ToolPicture {
  public:
    virtual ~ToolPicture() = default;
    virtual Surface& surface() = 0;
    // The file's bytes; empty when the picture cannot be made.
    virtual std::string fileBytes(const std::string& title) = 0;
};

// A PNG picture without text, drawn by the core alone.
std::unique_ptr<ToolPicture> makeRasterPicture(const PictureSize& size);

// What a build of the tool does itself where Qt may be needed. The plain wirevane-tool links no
// Qt: it makes plain PNG pictures and hands the rest to its Qt companion, which does it all.
struct ToolBackend {
    // The picture written to a file of the format; numbers: the point numbers are drawn.
    std::function<std::unique_ptr<ToolPicture>(PictureFormat, bool numbers, const PictureSize&)>
        picture;
    std::function<int(ToolArguments)> animate;
};

} // namespace wirevane
