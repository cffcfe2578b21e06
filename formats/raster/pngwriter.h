#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wirevane {

// The bytes of a PNG file (8-bit RGB) of 32-bit pixels 0xFFRRGGBB, stride pixels from one row
// to the next; empty when libpng cannot make it.
std::string pngFileBytes(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride);

} // namespace wirevane
