#include "core/engine/objectcompiler.h"
#include "core/engine/recordingsurface.h"
#include "core/engine/renderer.h"
#include "core/engine/teesurface.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace wirevane {
namespace {

TEST(Rounding, RoundsHalvesToEven) {
    const double cases[][2] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},     {-1.5, -2},
                               {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {1e300, 1e300}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c[0]), c[1]) << c[0];
    EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

TEST(Angles, ConvertWithTheProgramsValuesOfPi) {
    // 3.1415927 is a little more than pi, so a quarter turn does not land exactly on the axis.
    EXPECT_DOUBLE_EQ(degreesToRadians(90), 1.57079635);
    EXPECT_DOUBLE_EQ(radiansToDegrees(6.2831854), 360);
    EXPECT_NEAR(std::cos(degreesToRadians(90)), -2.32051e-8, 1e-13);
}

TEST(Angles, PlaneAngleInWholeDegrees) {
    struct Case {
        double u, v, working, expected;
    };
    const Case cases[] = {
        {1, 0, 0, 0},
        {0, 1, 0, 90},
        {0, -1, 0, -90},
        {-1, 0, 0, 180},
        {-1, 1, 0, 135},
        {-1, -1, 0, 225},
        {1, -1, 0, -45},
        {1, 0.5, 0, 27},
        {2, 1, 0, 27},
        {-2, -1, 0, 207},
        {1, -0.5, 0, -27},
        // On the turning axis the angle carried from the previous computation counts,
        // reduced with the sign of the dividend.
        {0, 0, 37, 37},
        {0, 0, 725, 5},
        {0, 0, -725, -5},
        {0, 0, 359.5, 0},
    };
    for (const Case& c : cases) {
        double working = c.working;
        EXPECT_EQ(planeAngle(c.u, c.v, working), c.expected) << c.u << "," << c.v;
        EXPECT_EQ(working, c.expected);
    }
}

class Renderer : public ::testing::Test {
  protected:
    void compile(const std::string& text, int cross = 0) {
        ObjectInput input = defaultObjectInput();
        input.text = text;
        input.crossState = cross;
        ASSERT_TRUE(compileObject(scene, &input).completed);
    }
    DrawOutcome draw() { return drawScene(scene, state, surface, options); }

    Scene scene;
    RendererState state;
    RecordingSurface surface;
    RenderOptions options;
};

TEST_F(Renderer, ProjectsObliquelyAndDrawsConnectionRowsFromTwoOn) {
    compile("1/2/3\r\n-1/0/0\r\n\r\n1-2\r\n2-1", 1);
    ASSERT_TRUE(draw().drawn);
    const double c = std::cos(0.93), s = std::sin(0.93);
    EXPECT_DOUBLE_EQ(scene.screenX[1], (3 * c - 1) * 1000);
    EXPECT_DOUBLE_EQ(scene.screenY[1], (3 * s - 2) * 1000);
    EXPECT_DOUBLE_EQ(scene.screenX[2], 1000);
    EXPECT_EQ(scene.screenX[0], 0);

    const auto& lines = surface.lines();
    ASSERT_EQ(lines.size(), 5u); // three cross axes, two connections
    EXPECT_EQ(lines[0].x1, 10000);
    EXPECT_EQ(lines[0].x2, -10000);
    EXPECT_EQ(lines[1].y1, -10000);
    EXPECT_NEAR(lines[2].x1, -11956.7, 0.1);
    EXPECT_NEAR(lines[2].y2, 16032.4, 0.1);
    EXPECT_EQ(lines[2].colour, 0xE0E0E0);
    EXPECT_FLOAT_EQ(lines[3].x1, static_cast<float>(scene.screenX[1]));
    EXPECT_FLOAT_EQ(lines[3].x2, static_cast<float>(scene.screenX[2]));
    EXPECT_EQ(lines[3].colour, 0xC0C000);
    EXPECT_EQ(surface.scale().left, 10000);
    EXPECT_EQ(surface.scale().bottom, 10000);
}

TEST_F(Renderer, DrawsOnlyWhenSomethingChanged) {
    compile("1/1/1\r\n2/2/2\r\n\r\n1-2");
    EXPECT_TRUE(draw().drawn);
    EXPECT_EQ(surface.clearCount(), 1);
    EXPECT_FALSE(draw().drawn); // nothing changed: no clear, no lines
    EXPECT_EQ(surface.clearCount(), 1);

    scene.forceRedraw = 1; // draws again over the picture, without clearing
    EXPECT_TRUE(draw().drawn);
    EXPECT_EQ(surface.clearCount(), 1);
    EXPECT_EQ(surface.lines().size(), 2u);
    scene.forceRedraw = 0;

    scene.backgroundColor = 0x102030; // a colour change alone redraws
    EXPECT_TRUE(draw().drawn);
    EXPECT_EQ(surface.backColor(), 0x102030);
    scene.showCross = 1;
    EXPECT_TRUE(draw().drawn);
    scene.objectColor = 0x0000FF;
    EXPECT_TRUE(draw().drawn);
    EXPECT_FALSE(draw().drawn);
    scene.sceneZ[2] = 3; // a depth change alone redraws
    EXPECT_TRUE(draw().drawn);
}

TEST_F(Renderer, TurnsOnlyTheXzPlaneWhenBothTurnsAreSet) {
    compile("1/0.5/0");
    scene.turnXZ = 90;
    scene.turnYZ = 45;
    options.showData = true;
    draw();
    EXPECT_NEAR(scene.sceneX[1], 0, 1e-7);
    EXPECT_EQ(scene.sceneY[1], 0.5);
    EXPECT_NEAR(scene.sceneZ[1], 1, 1e-7);
    EXPECT_EQ(scene.pointAngles[1][1], 90);
}

TEST_F(Renderer, TurnsToWholeDegreesAndKeepsTheRadius) {
    compile("1/0/0.5");
    scene.turnXZ = 10;
    draw();
    EXPECT_EQ(scene.pointAngles[1][1], 37); // 26.57 degrees rounds to 27 before the turn
    const double radius = std::sqrt(1.25);
    EXPECT_NEAR(std::hypot(scene.sceneX[1], scene.sceneZ[1]), radius, 1e-12);
    scene.turnXZ = -10;
    draw();
    EXPECT_EQ(scene.pointAngles[1][1], 27); // not back where it started
    EXPECT_NEAR(std::atan2(scene.sceneZ[1], scene.sceneX[1]) * 180 / M_PI, 27, 1e-5);
}

TEST_F(Renderer, TableAnglesUseTheWorkingAngleOnTheAxis) {
    // Point 2 lies on the y-z turning axis; its angle is the one carried from the
    // computation before it: point 1's turn, or with "3D-Data" point 1's x-z table angle.
    compile("0/0/1\r\n5/0/0");
    scene.turnYZ = 10;
    draw();
    EXPECT_EQ(scene.pointAngles[1][2], 100);
    EXPECT_EQ(scene.pointAngles[2][2], 110);

    compile("0/0/1\r\n5/0/0");
    options.showData = true;
    draw();
    EXPECT_EQ(scene.pointAngles[1][1], 90);
    EXPECT_EQ(scene.pointAngles[2][2], 100);
    EXPECT_EQ(scene.pointAngles[2][1], 0);
    // The first computation of a call starts from 0: the turn alone.
    compile("5/0/0");
    draw();
    EXPECT_EQ(scene.pointAngles[1][2], 10);
}

TEST_F(Renderer, ZoomMultipliesOnEveryCallAndTurnStepFollowsTheSpeed) {
    compile("1/2/4");
    scene.zoomFactor = 0.5;
    scene.speedSetting = 7;
    draw();
    draw();
    EXPECT_EQ(scene.sceneZ[1], 1);
    EXPECT_EQ(scene.turnStep, 7);
}

TEST_F(Renderer, MarksAOnePointSceneWithACircle) {
    compile("1/1/0\r\n\r\n1-1\r\n1-1");
    draw();
    ASSERT_EQ(surface.circles().size(), 1u);
    EXPECT_EQ(surface.circles()[0].radius, 10);
    EXPECT_FLOAT_EQ(surface.circles()[0].x, -1000);
    EXPECT_TRUE(surface.lines().empty());
}

TEST_F(Renderer, SkipsConnectionsThatNameNoPoint) {
    compile("1/1/1\r\n2/2/2\r\n\r\n1-0\r\n1-101\r\n1-1e300\r\n1-2.5\r\n1-100");
    const DrawOutcome outcome = draw();
    EXPECT_EQ(outcome.attempts, 1);
    // 1-0 to the centre, 1-2.5 rounded to 1-2, and 1-100 to the never projected last point
    ASSERT_EQ(surface.lines().size(), 3u);
    EXPECT_EQ(surface.lines()[0].x2, 0);
    EXPECT_FLOAT_EQ(surface.lines()[1].x2, static_cast<float>(scene.screenX[2]));
    EXPECT_EQ(surface.lines()[2].x2, 0);
}

TEST_F(Renderer, UsesAnEarlierProjectionForPointsAboveTheCount) {
    compile("1/1/1\r\n2/2/2\r\n3/0/0\r\n\r\n1-2");
    draw();
    const double third = scene.screenX[3];
    compile("5/5/5\r\n6/6/6\r\n\r\n1-3");
    draw();
    ASSERT_EQ(surface.lines().size(), 1u);
    EXPECT_FLOAT_EQ(surface.lines()[0].x2, static_cast<float>(third));
}

TEST_F(Renderer, AStaleFarPointAboveTheCountIsSkippedWithoutShrinking) {
    compile("1/1/1\r\n2/2/2\r\n5000/0/0\r\n\r\n1-2");
    draw();
    compile("1/0/0\r\n2/0/0\r\n\r\n1-3\r\n1-2");
    surface.limitToDevice();
    const DrawOutcome outcome = draw();
    EXPECT_EQ(outcome.attempts, 1);
    EXPECT_EQ(scene.zoomFactor, 1);
    EXPECT_EQ(scene.sceneX[2], 2);
    ASSERT_EQ(surface.lines().size(), 1u);
    EXPECT_FLOAT_EQ(surface.lines()[0].x2, -2000);
}

// A count past the tables (a scene set by hand, a front end's slip) reads no further than them.
TEST_F(Renderer, APointCountPastTheTablesDrawsOnlyWhatTheyHold) {
    compile("1/1/1\r\n2/2/2\r\n\r\n1-2");
    scene.pointCount = 1000000;
    options.showNumbers = true;
    draw();
    EXPECT_EQ(surface.lines().size(), 1u);
    EXPECT_EQ(surface.labels()[100].text, "100");
    scene.pointCount = -5;
    scene.forceRedraw = 1;
    EXPECT_TRUE(draw().drawn);
}

TEST_F(Renderer, AnEmptiedSceneDrawsNoStalePointMark) {
    compile("1/1/0");
    draw();
    compile("");
    scene.forceRedraw = 1;
    EXPECT_TRUE(draw().drawn);
    EXPECT_EQ(surface.circles().size(), 1u);
}

TEST_F(Renderer, PlacesNumbersAndEmptiesThemOnce) {
    compile("1/1/1\r\n2/2/2\r\n\r\n1-2");
    options.showNumbers = true;
    draw();
    EXPECT_EQ(surface.labels()[2].text, "2");
    EXPECT_EQ(surface.labels()[2].colour, 0xC0C000);
    EXPECT_DOUBLE_EQ(surface.labels()[2].left, scene.screenX[2]);
    EXPECT_EQ(state.numbersShown, 1);

    options.showNumbers = false;
    const int before = surface.labelWrites();
    scene.forceRedraw = 1;
    draw();
    EXPECT_EQ(surface.labelWrites() - before, 101); // labels 0..100
    EXPECT_EQ(surface.labels()[2].text, "");
    EXPECT_DOUBLE_EQ(surface.labels()[2].left, scene.screenX[2]); // positions stay
    draw();
    EXPECT_EQ(surface.labelWrites() - before, 101); // once only
}

TEST_F(Renderer, ShrinksTheSceneUntilItFitsTheDevice) {
    compile("5000/0/0\r\n-5000/0/0\r\n\r\n1-2");
    surface.limitToDevice();
    const DrawOutcome outcome = draw();
    EXPECT_TRUE(outcome.drawn);
    EXPECT_GT(outcome.attempts, 1);
    EXPECT_EQ(scene.zoomFactor, 0.8); // left for the caller to reset
    EXPECT_EQ(surface.lines().size(), 1u);
    EXPECT_LT(std::fabs(scene.sceneX[1]), 5000 * 0.8);
}

// A copy drawn beside the device, as the exports and the tool draw, must end up with the drawing
// the device took, not also with what it refused: with forceRedraw no clear comes between.
TEST_F(Renderer, ACopyBesideTheDeviceGetsOnlyWhatTheDeviceTook) {
    compile("5000/0/0\r\n-5000/0/0\r\n\r\n1-2");
    surface.limitToDevice();
    scene.forceRedraw = 1;
    RecordingSurface copy;
    TeeSurface deviceAndCopy(surface, copy);
    EXPECT_GT(drawScene(scene, state, deviceAndCopy, options).attempts, 1);
    ASSERT_EQ(copy.lines().size(), 1u);
    EXPECT_EQ(copy.lines()[0].x1, surface.lines()[0].x1);
}

TEST_F(Renderer, GivesUpOnCoordinatesNoShrinkingCanCure) {
    compile("1/1/1\r\n2/2/2\r\n3/3/3\r\n\r\n1-2\r\n2-3\r\n3-1");
    surface.limitToDevice();
    scene.sceneX[2] = std::numeric_limits<double>::infinity();
    scene.sceneY[3] = std::nan("");
    const DrawOutcome outcome = draw();
    EXPECT_TRUE(outcome.drawn);
    EXPECT_EQ(outcome.attempts, 1);
    EXPECT_TRUE(surface.lines().empty()); // every line touches a broken point

    scene.sceneX[1] = 1e300; // finite but huge: shrinks for a bounded number of attempts
    scene.sceneX[2] = 1e300;
    scene.sceneY[3] = 1e300;
    scene.zoomFactor = 1;
    EXPECT_EQ(draw().attempts, 200);
}

} // namespace
} // namespace wirevane
