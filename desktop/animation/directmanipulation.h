#pragma once

#include "core/engine/navigation.h"
#include "core/engine/scene.h"

#include <QObject>
#include <QPointF>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace wirevane {

class AnimationController;
class AnimationWindow;

// Turning with the mouse, zooming with the wheel and the keys of the animation window: each
// goes to the animation's session, as the navigation bar's buttons do, so the bar's modes and
// the coordinate table keep working as they do for the buttons.
//
// The right button is left to the window (its context menu).
class DirectManipulation : public QObject {
    Q_OBJECT

  public:
    // Degrees a drag across the whole window turns the scene.
    static constexpr double kDegreesAcrossWindow = DragTurn::kDegreesAcrossWindow;
    // Wheel movement of one notch, in eighths of a degree.
    static constexpr int kNotch = WheelNotches::kNotch;

    DirectManipulation(AnimationWindow& window, AnimationController& animation);

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
    void endDrag();

    AnimationWindow& window_;
    AnimationController& animation_;

    bool dragging_ = false;
    QPointF lastPosition_;
};

} // namespace wirevane
