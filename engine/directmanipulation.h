#pragma once

#include "engine/scene.h"

#include <QObject>
#include <QPointF>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace wirevane {

class AnimationController;
class AnimationWindow;

// Turning with the mouse, zooming with the wheel and the keys of the animation window. Works
// on top of the navigation bar: every change is a turn or zoom value of the scene and one
// renderer call, as the bar's buttons make them, so the bar's modes and the coordinate table
// keep working as they do for the buttons.
//
// A left-button drag turns the scene by whole degrees per redraw, horizontal movement in the
// x-z plane and vertical movement in the y-z plane; a drag across the window is half a turn.
// The side toward the viewer follows the pointer. In run mode the drag holds the turning still
// and, when it is let go, the scene keeps turning in the drag's plane and direction as the
// matching turn button makes it; a click without movement lets the old turning go on.
//
// The right button is left to the window (its context menu).
class DirectManipulation : public QObject {
    Q_OBJECT

  public:
    // Degrees a drag across the whole window turns the scene.
    static constexpr double kDegreesAcrossWindow = 180;
    // Wheel movement of one notch, in eighths of a degree.
    static constexpr int kNotch = 120;

    DirectManipulation(AnimationWindow& window, Scene& scene, AnimationController& animation);

    // Whether a left-button drag is going on.
    bool dragging() const { return dragging_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool press(const QMouseEvent& event);
    bool move(const QMouseEvent& event);
    bool release(const QMouseEvent& event);
    bool wheel(const QWheelEvent& event);
    bool key(const QKeyEvent& event);
    // Turns the scene for one redraw by the whole degrees of pending (keeping the rest there).
    int turnBy(double& pending, double Scene::*turn);
    void flick();
    void endDrag();

    AnimationWindow& window_;
    Scene& scene_;
    AnimationController& animation_;

    bool dragging_ = false;
    QPointF lastPosition_;
    double pendingXZ_ = 0, pendingYZ_ = 0; // degrees not turned yet, below one
    double draggedXZ_ = 0, draggedYZ_ = 0; // whole degrees turned by this drag
    double heldXZ_ = 0, heldYZ_ = 0;       // the turning the drag holds still
    int wheelPending_ = 0;                 // wheel movement short of a notch
};

} // namespace wirevane
