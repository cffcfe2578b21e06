#pragma once

#include "core/engine/scene.h"

#include <functional>

namespace wirevane {

// What the navigation bar's buttons and timers do to the scene, without any toolkit: the
// desktop's bar and the web page both drive the animation through this. Each change sets the
// scene's turn and zoom values for one redraw and asks for it through the callback, which must
// draw before it returns (the one-off redraws put the turn back right after it).
// The turn button that a drag let go presses, if any.
enum class DragRelease { Nothing, TurnUp, TurnDown, TurnRight, TurnLeft };

class Navigation {
  public:
    static constexpr double kMoveStep = 0.1;
    static constexpr double kZoomIn = 1.2;
    static constexpr double kZoomOut = 0.8;
    static constexpr int kSpeedMin = 0;
    static constexpr int kSpeedMax = 25;
    static constexpr int kSpeedAtStart = 2;

    Navigation(Scene& scene, std::function<void()> redraw)
        : scene_(scene), redraw_(std::move(redraw)) {}

    // The turn pad: one turn by the speed's degrees; in run mode it keeps turning that way.
    void turnUp() { turn(0, scene_.turnStep); }
    void turnDown() { turn(0, -scene_.turnStep); }
    void turnRight() { turn(scene_.turnStep, 0); }
    void turnLeft() { turn(-scene_.turnStep, 0); }
    // Presses the turn button a drag let go asks for.
    void follow(DragRelease release);
    // Moves every point along one axis of the scene and redraws without turning.
    void move(PointTable Scene::*axis, double by);
    void zoom(double factor);
    // One redraw with both turn values at 0, putting them back afterwards.
    void redrawUnturned();
    // Turn and zoom at rest, as step mode's tick begins.
    void settle();
    // Step mode's tick (Timer1): a redraw of the scene as it stands, at the given speed.
    void stepTick(int speed);
    // Run mode's tick (Timer2): the turn that is running goes on at the speed.
    void runTick();

  private:
    void turn(double xz, double yz);

    Scene& scene_;
    std::function<void()> redraw_;
};

// A left-button drag that turns the scene by whole degrees per redraw: horizontal movement in
// the x-z plane, vertical movement in the y-z plane, half a turn across the picture. The side
// toward the viewer follows the pointer. In run mode the drag holds the turning still; let go,
// the scene keeps turning the way the drag went, as the matching turn button makes it, and a
// click without movement lets the old turning go on.
class DragTurn {
  public:
    static constexpr double kDegreesAcrossWindow = 180;

    using Release = DragRelease;

    void press(Scene& scene);
    // The pointer moved by (dx, dy) pixels over a picture of width x height pixels. Turns the
    // scene by the whole degrees gathered so far, one redraw a plane, keeping the rest.
    void move(Scene& scene, double dx, double dy, double width, double height,
              const std::function<void()>& redraw);
    // The turn button to press at the release, if any; in run mode without a turn, the turning
    // held by the press goes on.
    Release release(Scene& scene, bool running);

  private:
    int turnBy(Scene& scene, double& pending, double Scene::*turn,
               const std::function<void()>& redraw);

    double pendingXZ_ = 0, pendingYZ_ = 0; // degrees not turned yet, below one
    double draggedXZ_ = 0, draggedYZ_ = 0; // whole degrees turned by this drag
    double heldXZ_ = 0, heldYZ_ = 0;       // the turning the drag holds still
};

// Wheel movement in eighths of a degree, gathered into whole notches of zoom.
class WheelNotches {
  public:
    static constexpr int kNotch = 120;

    // The notches to zoom by (positive: in), keeping what falls short of one.
    int add(int delta);

  private:
    int pending_ = 0;
};

} // namespace wirevane
