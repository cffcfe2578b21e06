#include "core/engine/objectcompiler.h"
#include "core/engine/renderer.h"
#include "pixelcount.h"
#include "surfaces/imagesurface.h"

#include <gtest/gtest.h>

namespace wirevane {
namespace {

constexpr Colour kRed = 0x0000FF;

TEST(ImageSurface, DrawsOnePixelLinesInSurfaceUnits) {
    ImageSurface surface(100, 50);
    surface.setScale(10000, -10000, -10000, 10000);
    // The x axis through the centre, edge to edge: one row of 100 pixels.
    ASSERT_TRUE(surface.drawLine(10000, 0, -10000, 0, kRed));
    EXPECT_EQ(countPixels(surface.image(), toRgb(kRed)), 100);
    EXPECT_EQ(surface.image().pixel(0, 25), toRgb(kRed));
    // x grows to the left: surface x 5000 lies at a quarter of the width.
    surface.clearSurface();
    ASSERT_TRUE(surface.drawLine(5000, -10000, 5000, 10000, kRed));
    EXPECT_EQ(surface.image().pixel(25, 10), toRgb(kRed));
    EXPECT_EQ(countPixels(surface.image(), toRgb(kRed)), 50);
}

TEST(ImageSurface, CutsFarLinesAndRefusesWhatTheDeviceCannotAddress) {
    ImageSurface surface(553, 375);
    surface.setScale(10000, -10000, -10000, 10000);
    EXPECT_TRUE(surface.drawLine(-11956.7f, -16032.4f, 11956.7f, 16032.4f, kRed));
    EXPECT_GT(countPixels(surface.image(), toRgb(kRed)), 300);
    EXPECT_TRUE(surface.drawLine(1e5f, 1e5f, 2e5f, 2e5f, kRed)); // wholly outside: nothing
    EXPECT_FALSE(surface.drawLine(0, 0, 3e6f, 0, kRed));
    EXPECT_FALSE(surface.drawCircle(3e6f, 0, 10, kRed));
    surface.clearSurface();
    EXPECT_TRUE(surface.drawCircle(0, 0, 10, kRed)); // below a pixel: a dot
    EXPECT_EQ(countPixels(surface.image(), toRgb(kRed)), 1);
}

TEST(ImageSurface, AChangedBackColourShowsAtOnce) {
    ImageSurface surface(20, 20);
    surface.setScale(10000, -10000, -10000, 10000);
    surface.drawLine(10000, 0, -10000, 0, kRed);
    surface.setBackColor(0x00FF00);
    EXPECT_EQ(countPixels(surface.image(), toRgb(0x00FF00)), 400);
    surface.drawLine(10000, 0, -10000, 0, kRed);
    surface.setBackColor(0x00FF00); // unchanged: the picture stays
    EXPECT_EQ(countPixels(surface.image(), toRgb(kRed)), 20);
}

TEST(ImageSurface, ShowsTheRenderedObjectAndItsNumbers) {
    Scene scene;
    ObjectInput input = defaultObjectInput();
    input.text = "-2/0/0\r\n2/0/0\r\n\r\n1-2";
    input.objectColor = 0xFFFFFF;
    compileObject(scene, &input);
    ImageSurface surface(553, 375);
    RendererState state;
    drawScene(scene, state, surface, RenderOptions{false, true});
    EXPECT_GT(countPixels(surface.image(), qRgb(255, 255, 255)), 100);
    EXPECT_EQ(surface.labels()[1].text, "1");
    const QImage withNumbers = surface.composed();
    EXPECT_GT(countPixels(withNumbers, qRgb(255, 255, 255)),
              countPixels(surface.image(), qRgb(255, 255, 255)));
}

} // namespace
} // namespace wirevane
