#include "formats/raster/pngwriter.h"

#include <csetjmp>
#include <png.h>
#include <vector>

namespace wirevane {
namespace {

void appendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void flushNothing(png_structp) {}

} // namespace

// Row by row through one row of RGB into a string that grows as the file does: a picture is
// mostly back colour and compresses to a few kilobytes, and every page of memory a short-lived
// process touches costs it time.
std::string pngFileBytes(const std::uint32_t* pixels, int width, int height,
                         std::ptrdiff_t stride) {
    if (width <= 0 || height <= 0)
        return {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    std::string bytes;
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    // libpng reports failures by jumping back here; nothing here needs unwinding but libpng's own.
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &bytes, appendToString, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Rows of one back colour with a few line pixels compress as well unfiltered, and trying
    // every filter on every row took half the time of a picture. A small hash table touches
    // fewer pages for a file a few hundred bytes longer.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_mem_level(png, 2);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* source = pixels + y * stride;
        png_byte* out = row.data();
        for (int x = 0; x < width; ++x) {
            *out++ = static_cast<png_byte>(source[x] >> 16);
            *out++ = static_cast<png_byte>(source[x] >> 8);
            *out++ = static_cast<png_byte>(source[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

} // namespace wirevane
