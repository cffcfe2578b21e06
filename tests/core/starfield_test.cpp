// The credits screen's stars, without a window: where a star starts.
#include "core/credits/starfield.h"
#include "core/engine/recordingsurface.h"

#include <deque>
#include <gtest/gtest.h>

namespace wirevane {
namespace {

// A star drawn at random on the vertical axis would fly along no slope: it is drawn again.
TEST(StarField, NoStarStartsOnTheVerticalAxis) {
    StarField field;
    field.start();
    field.Anzahl = 1;
    // x = -2000 + floor(4000 r): 0.5 gives 0, 0.75 gives 1000; y = -1500 + floor(3000 r).
    std::deque<double> draws = {0.5, 0.5, 0.75, 0.25};
    RecordingSurface surface(4000, 3000);
    field.step(surface, [&] {
        const double r = draws.empty() ? 0.5 : draws.front();
        if (!draws.empty())
            draws.pop_front();
        return r;
    });
    const Star& star = field.stars()[1];
    EXPECT_EQ(star.startX, 1000);
    EXPECT_EQ(star.startY, -750);
    EXPECT_EQ(star.slope, -0.75);
    EXPECT_TRUE(draws.empty());
}

} // namespace
} // namespace wirevane
