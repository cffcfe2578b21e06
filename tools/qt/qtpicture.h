#pragma once

#include "tools/toolbackend.h"

namespace wirevane {

// A picture drawn with Qt: an image with the point numbers as text, or an SVG drawing. Starts
// the offscreen GUI application when text needs fonts.
std::unique_ptr<ToolPicture> makeQtPicture(PictureFormat format, bool numbers,
                                           const PictureSize& size);

} // namespace wirevane
