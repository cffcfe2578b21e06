#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wirevane {

// The bytes of a PNG file of 32-bit pixels 0xFFRRGGBB (a palette of 1 to 8 bits when the picture
// has at most 256 colours, else 8-bit RGB), stride pixels from one row
// to the next; empty when libpng cannot make it.
std::string pngFileBytes(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride);

} // namespace wirevane
