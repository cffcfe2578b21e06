#include "formats/raster/pngwriter.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <vector>

namespace wirevane {
namespace {

// A picture of width x height pixels with the given number of colours, every colour in runs of
// a few pixels, as lines cross a back colour.
std::vector<std::uint32_t> picture(int width, int height, int colours) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<std::uint32_t>((i / 3 % colours) * 0x010203);
    return pixels;
}

TEST(PngWriter, FewColoursAsAPaletteOfFewBitsAndEveryPixelReadsBack) {
    struct Case {
        int width, height, colours;
        int bitDepth, colourType; // colour type 3: palette, 2: RGB
    };
    const Case cases[] = {
        {553, 375, 2, 1, 3}, {9, 4, 3, 2, 3},   {7, 3, 5, 4, 3},     {1, 1, 1, 1, 3},
        {11, 2, 4, 2, 3},    {33, 5, 17, 8, 3}, {40, 20, 300, 8, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + ", " +
                     std::to_string(c.colours) + " colours");
        const std::vector<std::uint32_t> pixels = picture(c.width, c.height, c.colours);
        const std::string file = pngFileBytes(pixels.data(), c.width, c.height, c.width);
        ASSERT_GT(file.size(), 26u);
        EXPECT_EQ(static_cast<unsigned char>(file[24]), c.bitDepth);
        EXPECT_EQ(static_cast<unsigned char>(file[25]), c.colourType);

        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size()));
        image.format = PNG_FORMAT_BGRA; // 0xAARRGGBB in memory on a little-endian machine
        std::vector<std::uint32_t> read(pixels.size());
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr));
        EXPECT_EQ(read, pixels);
    }
}

} // namespace
} // namespace wirevane
