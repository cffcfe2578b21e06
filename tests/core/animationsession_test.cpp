#include "core/engine/animationsession.h"
#include "core/engine/recordingsurface.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace wirevane {
namespace {

constexpr double kDegree = 3.14159265358979 / 180;

// One point at (1, 0, 0) joined to the origin, drawn into a recording surface.
class AnimationSessionTest : public ::testing::Test, public AnimationDisplay {
  protected:
    AnimationSessionTest() {
        scene.pointCount = 2;
        scene.connectionCount = 2;
        scene.sceneX[1] = 1;
        scene.connections[2][1] = 1;
        scene.connections[2][2] = 2;
        scene.objectColor = 0xFFFFFF;
        scene.showCross = 0;
        session.begin("line");
        session.stepTick();
    }

    void draw(Scene& s, RendererState& state, const RenderOptions& options,
              const Motion& motion) override {
        ++draws;
        drawScene(s, state, surface, options, motion);
    }
    void clear() override {
        ++clears;
        surface.clearSurface();
    }
    bool showing() const override { return shown; }

    // Where point 1 lies in the x-z plane, in degrees from the x axis, and how far out.
    double angleXZ() const { return std::atan2(scene.sceneZ[1], scene.sceneX[1]) / kDegree; }
    double radius() const { return std::hypot(scene.sceneX[1], scene.sceneY[1], scene.sceneZ[1]); }

    Scene scene;
    RecordingSurface surface;
    AnimationSession session{scene, *this};
    bool shown = true;
    int draws = 0;
    int clears = 0;
};

TEST_F(AnimationSessionTest, TurnsMovesAndZoomsTheScene) {
    struct Case {
        const char* name;
        std::function<void(AnimationSession&)> act;
        double angle, radius, y;
    };
    const Case cases[] = {
        {"a step tick redraws as things stand", [](auto& s) { s.stepTick(); }, 0, 1, 0},
        {"turn right by the speed", [](auto& s) { s.turnRight(); }, 2, 1, 0},
        {"run ticks go on turning",
         [](auto& s) {
             s.setRunning(true);
             s.turnRight();
             s.runTick();
             s.runTick();
         },
         6, 1, 0},
        {"a step tick stops the turn",
         [](auto& s) {
             s.turnLeft();
             s.stepTick();
         },
         -2, 1, 0},
        // The first run tick still takes the step the last drawing set.
        {"run ticks follow a new speed",
         [](auto& s) {
             s.setRunning(true);
             s.turnLeft();
             s.setSpeed(7);
             s.runTick();
             s.runTick();
         },
         -11, 1, 0},
        {"speed stops at 25",
         [](auto& s) {
             s.setSpeed(90);
             s.stepTick();
             s.turnRight();
         },
         25, 1, 0},
        {"move up leaves the turn", [](auto& s) { s.move(Axis::Y, true); }, 0, std::hypot(1, 0.1),
         0.1},
        {"zoom in", [](auto& s) { s.zoomIn(); }, 0, 1.2, 0},
        {"a wheel notch zooms in", [](auto& s) { s.wheel(120); }, 0, 1.2, 0},
        {"half notches add up",
         [](auto& s) {
             s.wheel(60);
             s.wheel(60);
         },
         0, 1.2, 0},
        {"two notches out", [](auto& s) { s.wheel(-240); }, 0, 0.64, 0},
        // 553 pixels make half a turn: 30.73 pixels right bring the front 10 degrees right.
        {"a drag turns by whole degrees",
         [](auto& s) {
             s.press();
             s.drag(30.73, 0, 553, 375);
             s.release();
         },
         -10, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scene.sceneX[1] = 1;
        scene.sceneY[1] = scene.sceneZ[1] = 0;
        session.setRunning(false);
        session.setSpeed(2);
        session.stepTick();
        c.act(session);
        EXPECT_NEAR(angleXZ(), c.angle, 1e-6);
        EXPECT_NEAR(radius(), c.radius, 1e-6);
        EXPECT_NEAR(scene.sceneY[1], c.y, 1e-9);
        EXPECT_EQ(scene.zoomFactor, 1); // a zoom is for one drawing only
    }
}

TEST_F(AnimationSessionTest, AFlickInRunModeKeepsTurningTheDragsWay) {
    session.setRunning(true);
    session.turnUp(); // turning in y-z, held still by the hand
    session.press();
    session.drag(-61.46, 0, 553, 375); // 20 degrees the way "Turn right" goes
    session.release();
    EXPECT_EQ(scene.turnYZ, 0);
    EXPECT_EQ(scene.turnXZ, 2);
    const double before = angleXZ();
    session.runTick();
    EXPECT_NEAR(angleXZ() - before, 2, 1e-6);

    // A click without movement lets the old turning go on.
    session.press();
    session.release();
    EXPECT_EQ(scene.turnXZ, 2);
}

TEST_F(AnimationSessionTest, ChangesRedrawOrClearAsTheyMust) {
    // A colour change mid-run shows with the next tick.
    session.setRunning(true);
    session.turnRight();
    session.setColour(&Scene::objectColor, 0x0000FF);
    session.runTick();
    ASSERT_FALSE(surface.lines().empty());
    EXPECT_EQ(surface.lines().back().colour, 0x0000FF);

    // The cross clears the old picture once and draws the new one.
    const int drawsBefore = draws;
    session.setCross(true);
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(draws, drawsBefore + 1);
    EXPECT_TRUE(session.cross());

    // A compile that switches the cross off is followed at the next step tick.
    scene.showCross = 0;
    session.setRunning(false);
    session.stepTick();
    EXPECT_EQ(clears, 2);

    // Numbers show at once while stepping.
    session.setNumbers(true);
    EXPECT_EQ(surface.labels()[1].text, "1");

    // Nothing is drawn while there is no picture.
    shown = false;
    const int drawsHidden = draws;
    session.turnRight();
    session.stepTick();
    EXPECT_EQ(draws, drawsHidden);
}

TEST_F(AnimationSessionTest, TheTableSlowsTheTicks) {
    struct Case {
        bool data, running;
        int step, run, tick;
    };
    const Case cases[] = {
        {true, false, 10, 50, 16},
        {true, true, 10, 50, 50},
        {false, true, 1, 1, 16},
    };
    EXPECT_EQ(session.stepIntervalMs(), 5);
    for (const Case& c : cases) {
        session.setShowData(c.data);
        session.setRunning(c.running);
        EXPECT_EQ(session.options().showData, c.data);
        EXPECT_EQ(session.stepIntervalMs(), c.step);
        EXPECT_EQ(session.runIntervalMs(), c.run);
        EXPECT_EQ(session.tickIntervalMs(), c.tick);
    }
    session.resetControls();
    EXPECT_EQ(session.stepIntervalMs(), 5);
    EXPECT_EQ(session.speed(), 2);
    EXPECT_FALSE(session.running());
}

} // namespace
} // namespace wirevane
