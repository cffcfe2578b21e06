#include "core/engine/navigation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wirevane {
namespace {

// Far more than any real movement between two pointer events; keeps a wild synthesised
// position from turning the scene for ever or overflowing the conversion to whole degrees.
constexpr double kMostDegreesPerEvent = 3600;
// A wheel event from a broken driver must not zoom the scene out of existence in one go.
constexpr int kMostNotchesPerEvent = 10;

} // namespace

void DragTurn::press(Scene& scene) {
    pendingXZ_ = pendingYZ_ = 0;
    draggedXZ_ = draggedYZ_ = 0;
    heldXZ_ = scene.turnXZ;
    heldYZ_ = scene.turnYZ;
    scene.turnXZ = 0;
    scene.turnYZ = 0;
}

void DragTurn::move(Scene& scene, double dx, double dy, double width, double height,
                    const std::function<void(const Motion&)>& draw) {
    // The picture stretches with the window on each axis, and so does the rate. Moving right
    // brings the front to the right: the x-z angle falls. Moving down brings it down: the y-z
    // angle grows.
    const double perPixelX = kDegreesAcrossWindow / std::max(width, 1.0);
    const double perPixelY = kDegreesAcrossWindow / std::max(height, 1.0);
    pendingXZ_ =
        std::clamp(pendingXZ_ - dx * perPixelX, -kMostDegreesPerEvent, kMostDegreesPerEvent);
    pendingYZ_ =
        std::clamp(pendingYZ_ + dy * perPixelY, -kMostDegreesPerEvent, kMostDegreesPerEvent);
    draggedXZ_ += turnBy(scene, pendingXZ_, &Motion::turnXZ, draw);
    draggedYZ_ += turnBy(scene, pendingYZ_, &Motion::turnYZ, draw);
}

int DragTurn::turnBy(Scene& scene, double& pending, double Motion::*turn,
                     const std::function<void(const Motion&)>& draw) {
    if (!std::isfinite(pending))
        pending = 0;
    const int whole = static_cast<int>(std::trunc(pending));
    if (whole == 0)
        return 0;
    pending -= whole;
    // Between two pointer events the timers redraw without turning.
    scene.turnXZ = 0;
    scene.turnYZ = 0;
    scene.zoomFactor = 1;
    Motion motion;
    motion.*turn = whole;
    draw(motion);
    return whole;
}

DragTurn::Release DragTurn::release(Scene& scene, bool running) {
    if (!running)
        return Release::Nothing;
    if (draggedXZ_ == 0 && draggedYZ_ == 0) {
        scene.turnXZ = heldXZ_;
        scene.turnYZ = heldYZ_;
        return Release::Nothing;
    }
    if (std::fabs(draggedXZ_) >= std::fabs(draggedYZ_))
        return draggedXZ_ > 0 ? Release::TurnRight : Release::TurnLeft;
    return draggedYZ_ > 0 ? Release::TurnUp : Release::TurnDown;
}

int WheelNotches::add(int delta) {
    constexpr int kMost = kNotch * kMostNotchesPerEvent;
    delta = std::clamp(delta, -kMost, kMost);
    if (delta == 0)
        return 0;
    // A touchpad sends small steps; a change of direction starts counting afresh.
    if ((delta > 0) != (pending_ > 0))
        pending_ = 0;
    pending_ = std::clamp(pending_ + delta, -kMost, kMost);
    const int notches = pending_ / kNotch;
    pending_ -= notches * kNotch;
    return notches;
}

} // namespace wirevane
