#include "core/engine/animationsession.h"

#include <algorithm>
#include <cstdlib>

namespace wirevane {

AnimationSession::AnimationSession(Scene& scene, AnimationDisplay& display)
    : scene_(scene), display_(display) {}

void AnimationSession::begin(std::string objectName) {
    view_.start(std::move(objectName));
    state_ = RendererState{};
    drag_ = DragTurn{};
    wheel_ = WheelNotches{};
    scene_.speedSetting = speed_;
}

void AnimationSession::resetControls() {
    speed_ = kSpeedAtStart;
    running_ = false;
    options_ = RenderOptions{};
    crossShown_ = false;
    stepIntervalMs_ = runIntervalMs_ = kDesignIntervalMs;
}

void AnimationSession::draw(const Motion& motion) {
    if (!display_.showing())
        return;
    view_.add(motion);
    display_.draw(scene_, state_, options_, motion);
}

void AnimationSession::redraw() {
    draw(Motion::of(scene_));
}

void AnimationSession::redrawUnturned() {
    draw({0, 0, scene_.zoomFactor});
}

void AnimationSession::turn(double xz, double yz) {
    scene_.turnXZ = xz;
    scene_.turnYZ = yz;
    scene_.zoomFactor = 1;
    redraw();
}

void AnimationSession::move(Axis axis, bool plus) {
    static constexpr PointTable Scene::*kAxes[] = {&Scene::sceneX, &Scene::sceneY, &Scene::sceneZ};
    PointTable& values = scene_.*kAxes[static_cast<int>(axis)];
    const double by = plus ? kMoveStep : -kMoveStep;
    const int points = std::clamp(scene_.pointCount, 0, kMaxPoints);
    for (int i = 1; i <= points; ++i)
        values[i] += by;
    scene_.zoomFactor = 1;
    redrawUnturned();
}

void AnimationSession::zoom(double factor) {
    draw({0, 0, factor});
    scene_.zoomFactor = 1;
}

void AnimationSession::setCross(bool on) {
    scene_.showCross = on ? 1 : 0;
    crossShown_ = on;
    display_.clear();
    redraw();
}

void AnimationSession::setNumbers(bool on) {
    options_.showNumbers = on;
    // Numbers alone do not make the renderer draw; a step tick always does.
    if (!running_)
        stepTick();
}

void AnimationSession::setShowData(bool on) {
    options_.showData = on;
    if (on)
        scene_.tableInitialized = 0;
    stepIntervalMs_ = on ? kTableStepIntervalMs : kNoTableIntervalMs;
    runIntervalMs_ = on ? kTableRunIntervalMs : kNoTableIntervalMs;
    redraw();
}

void AnimationSession::setColour(Colour Scene::*which, Colour colour) {
    scene_.*which = colour;
}

void AnimationSession::setSpeed(int degrees) {
    speed_ = std::clamp(degrees, kSpeedMin, kSpeedMax);
    scene_.speedSetting = speed_;
}

void AnimationSession::settle() {
    scene_.turnXZ = 0;
    scene_.turnYZ = 0;
    scene_.zoomFactor = 1;
}

void AnimationSession::stepTick() {
    settle();
    // A compile may have switched the cross since the picture showed it.
    if (cross() != crossShown_)
        setCross(cross());
    scene_.speedSetting = speed_;
    scene_.forceRedraw = 1;
    redraw();
    scene_.forceRedraw = 0;
}

void AnimationSession::runTick() {
    // The turn that is running (the other one is 0) follows the speed.
    double* turning = nullptr;
    if (scene_.turnXZ == 0 && scene_.turnYZ != 0)
        turning = &scene_.turnYZ;
    else if (scene_.turnXZ != 0 && scene_.turnYZ == 0)
        turning = &scene_.turnXZ;
    if (turning) {
        if (*turning > 0)
            *turning = scene_.turnStep;
        if (*turning < 0)
            *turning = -scene_.turnStep;
    }
    redraw();
}

int AnimationSession::tickIntervalMs() const {
    return std::max(running_ ? runIntervalMs_ : stepIntervalMs_, kTickFloorMs);
}

int AnimationSession::runTickIntervalMs() const {
    return std::max(runIntervalMs_, kTickFloorMs);
}

void AnimationSession::press() {
    drag_.press(scene_);
}

void AnimationSession::drag(double dx, double dy, double width, double height) {
    drag_.move(scene_, dx, dy, width, height, [this](const Motion& motion) { draw(motion); });
}

void AnimationSession::release() {
    switch (drag_.release(scene_, running_)) {
    case DragRelease::TurnUp:
        turnUp();
        break;
    case DragRelease::TurnDown:
        turnDown();
        break;
    case DragRelease::TurnRight:
        turnRight();
        break;
    case DragRelease::TurnLeft:
        turnLeft();
        break;
    case DragRelease::Nothing:
        break;
    }
}

void AnimationSession::wheel(int delta) {
    const int notches = wheel_.add(delta);
    for (int i = 0; i < std::abs(notches); ++i)
        zoom(notches > 0 ? kZoomIn : kZoomOut);
}

} // namespace wirevane
