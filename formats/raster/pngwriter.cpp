#include "formats/raster/pngwriter.h"

#include <csetjmp>
#include <optional>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace wirevane {
namespace {

constexpr std::size_t kMostPaletteColours = 256;

void appendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void flushNothing(png_structp) {}

// The picture's colours (0xRRGGBB) in the order they first appear, when there are few enough
// for a palette.
std::optional<std::vector<std::uint32_t>> paletteOf(const std::uint32_t* pixels, int width,
                                                    int height, std::ptrdiff_t stride) {
    std::vector<std::uint32_t> colours{pixels[0] & 0xFFFFFF};
    std::uint32_t last = pixels[0];
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + y * stride;
        for (int x = 0; x < width; ++x) {
            // Most pixels are the one before them again.
            if (row[x] == last)
                continue;
            last = row[x];
            const std::uint32_t colour = last & 0xFFFFFF;
            bool known = false;
            for (const std::uint32_t c : colours)
                known = known || c == colour;
            if (known)
                continue;
            if (colours.size() == kMostPaletteColours)
                return std::nullopt;
            colours.push_back(colour);
        }
    }
    return colours;
}

// The fewest bits a pixel that tell its colour among so many.
int bitsFor(std::size_t colours) {
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

} // namespace

// Row by row into a string that grows as the file does. A picture of the animation is mostly
// back colour in a handful of colours: as a palette of 1 to 4 bits a pixel, and compressed as
// runs, it is a twelfth of the bytes to compress, and the compression most of the time of a
// picture. Every page of memory a short-lived process touches costs it time as well.
std::string pngFileBytes(const std::uint32_t* pixels, int width, int height,
                         std::ptrdiff_t stride) {
    if (width <= 0 || height <= 0)
        return {};
    const auto palette = paletteOf(pixels, width, height, stride);
    const int bits = palette ? bitsFor(palette->size()) : 8;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    std::string bytes;
    const std::size_t rowBytes = palette ? (static_cast<std::size_t>(width) * bits + 7) / 8
                                         : static_cast<std::size_t>(width) * 3;
    std::vector<png_byte> row(rowBytes);
    // libpng reports failures by jumping back here; nothing here needs unwinding but libpng's own.
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &bytes, appendToString, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bits,
                 palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette) {
        std::vector<png_color> entries;
        for (const std::uint32_t c : *palette)
            entries.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                               static_cast<png_byte>(c)});
        png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
    }
    // Rows of one back colour with a few line pixels compress as well unfiltered, and trying
    // every filter on every row took half the time of a picture. A small hash table touches
    // fewer pages for a file a few hundred bytes longer.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_mem_level(png, 2);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    std::uint32_t lastPixel = 0;
    int lastIndex = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* source = pixels + y * stride;
        png_byte* out = row.data();
        if (!palette) {
            for (int x = 0; x < width; ++x) {
                *out++ = static_cast<png_byte>(source[x] >> 16);
                *out++ = static_cast<png_byte>(source[x] >> 8);
                *out++ = static_cast<png_byte>(source[x]);
            }
        } else {
            // Pixels fill a byte from its high bits down.
            unsigned byte = 0;
            int filled = 0;
            for (int x = 0; x < width; ++x) {
                if (lastIndex < 0 || source[x] != lastPixel) {
                    lastPixel = source[x];
                    const std::uint32_t colour = lastPixel & 0xFFFFFF;
                    lastIndex = 0;
                    while ((*palette)[static_cast<std::size_t>(lastIndex)] != colour)
                        ++lastIndex;
                }
                byte = (byte << bits) | static_cast<unsigned>(lastIndex);
                filled += bits;
                if (filled == 8) {
                    *out++ = static_cast<png_byte>(byte);
                    byte = 0;
                    filled = 0;
                }
            }
            if (filled > 0)
                *out = static_cast<png_byte>(byte << (8 - filled));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

} // namespace wirevane
