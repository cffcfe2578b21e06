#pragma once

#include "core/engine/renderer.h"
#include "core/engine/scene.h"

#include <functional>

namespace wirevane {

// The turn button that a drag let go presses, if any.
enum class DragRelease { Nothing, TurnUp, TurnDown, TurnRight, TurnLeft };

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
    // scene by the whole degrees gathered so far, one drawing a plane, keeping the rest.
    void move(Scene& scene, double dx, double dy, double width, double height,
              const std::function<void(const Motion&)>& draw);
    // The turn button to press at the release, if any; in run mode without a turn, the turning
    // held by the press goes on.
    Release release(Scene& scene, bool running);

  private:
    static int turnBy(Scene& scene, double& pending, double Motion::*turn,
                      const std::function<void(const Motion&)>& draw);

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
