#include "engine/directmanipulation.h"

#include "engine/animationcontroller.h"
#include "engine/animationwindow.h"
#include "engine/animationwindowsurface.h"
#include "engine/navigationbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace wirevane {
namespace {

// Far more than any real movement between two pointer events; keeps a wild synthesised
// position from turning the scene for ever or overflowing the conversion to whole degrees.
constexpr double kMostDegreesPerEvent = 3600;
// A wheel event from a broken driver must not zoom the scene out of existence in one go.
constexpr int kMostNotchesPerEvent = 10;

} // namespace

DirectManipulation::DirectManipulation(AnimationWindow& window, Scene& scene,
                                       AnimationController& animation)
    : QObject(&window), window_(window), scene_(scene), animation_(animation) {
    window.setCursor(Qt::OpenHandCursor);
    window.setFocusPolicy(Qt::StrongFocus);
    window.setFocus(); // the keys work as soon as the window is active
    window.installEventFilter(this);
}

bool DirectManipulation::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return press(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseMove:
        return move(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseButtonRelease:
        return release(static_cast<const QMouseEvent&>(*event));
    case QEvent::Wheel:
        return wheel(static_cast<const QWheelEvent&>(*event));
    case QEvent::KeyPress:
        return key(static_cast<const QKeyEvent&>(*event));
    case QEvent::Hide:
        if (dragging_)
            endDrag();
        return false;
    default:
        return false;
    }
}

bool DirectManipulation::press(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton)
        return false;
    if (dragging_)
        endDrag();
    window_.setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    lastPosition_ = event.position();
    pendingXZ_ = pendingYZ_ = 0;
    draggedXZ_ = draggedYZ_ = 0;
    // A turning object held by the hand stands still until it is let go.
    heldXZ_ = scene_.turnXZ;
    heldYZ_ = scene_.turnYZ;
    scene_.turnXZ = 0;
    scene_.turnYZ = 0;
    window_.setCursor(Qt::ClosedHandCursor);
    return true;
}

bool DirectManipulation::move(const QMouseEvent& event) {
    if (!dragging_)
        return false;
    const QPointF delta = event.position() - lastPosition_;
    lastPosition_ = event.position();
    // The picture stretches with the window on each axis, and so does the rate. Moving right
    // brings the front to the right: the x-z angle falls. Moving down brings it down: the y-z
    // angle grows.
    const double perPixelX = kDegreesAcrossWindow / std::max(window_.width(), 1);
    const double perPixelY = kDegreesAcrossWindow / std::max(window_.height(), 1);
    pendingXZ_ = std::clamp(pendingXZ_ - delta.x() * perPixelX, -kMostDegreesPerEvent,
                            kMostDegreesPerEvent);
    pendingYZ_ = std::clamp(pendingYZ_ + delta.y() * perPixelY, -kMostDegreesPerEvent,
                            kMostDegreesPerEvent);
    // A slanted movement takes a redraw for each plane; only the second one need be shown.
    AnimationWindowSurface& surface = window_.surface();
    surface.beginFrame();
    draggedXZ_ += turnBy(pendingXZ_, &Scene::turnXZ);
    draggedYZ_ += turnBy(pendingYZ_, &Scene::turnYZ);
    surface.endFrame();
    return true;
}

int DirectManipulation::turnBy(double& pending, double Scene::*turn) {
    if (!std::isfinite(pending))
        pending = 0;
    const int whole = static_cast<int>(std::trunc(pending));
    if (whole == 0)
        return 0;
    pending -= whole;
    scene_.turnXZ = 0;
    scene_.turnYZ = 0;
    scene_.*turn = whole;
    scene_.zoomFactor = 1;
    animation_.redraw();
    // Between two pointer events the timers redraw without turning.
    scene_.turnXZ = 0;
    scene_.turnYZ = 0;
    return whole;
}

bool DirectManipulation::release(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !dragging_)
        return false;
    const bool running =
        animation_.navigationBarExists() && animation_.navigationBar()->Check3->isChecked();
    const bool turned = draggedXZ_ != 0 || draggedYZ_ != 0;
    if (running && turned)
        flick();
    else if (running) {
        scene_.turnXZ = heldXZ_;
        scene_.turnYZ = heldYZ_;
    }
    endDrag();
    return true;
}

// The turn button that turns the way the drag went, pressed once.
void DirectManipulation::flick() {
    NavigationBar* bar = animation_.navigationBar();
    if (std::fabs(draggedXZ_) >= std::fabs(draggedYZ_)) {
        if (draggedXZ_ > 0)
            bar->Command2_Click();
        else
            bar->Command4_Click();
    } else {
        if (draggedYZ_ > 0)
            bar->Command1_Click();
        else
            bar->Command3_Click();
    }
}

void DirectManipulation::endDrag() {
    dragging_ = false;
    window_.setCursor(Qt::OpenHandCursor);
}

bool DirectManipulation::wheel(const QWheelEvent& event) {
    if (!animation_.navigationBarExists())
        return false;
    constexpr int kMost = kNotch * kMostNotchesPerEvent;
    const int delta = std::clamp(event.angleDelta().y(), -kMost, kMost);
    if (delta == 0)
        return true;
    // A touchpad sends small steps; a change of direction starts counting afresh.
    if ((delta > 0) != (wheelPending_ > 0))
        wheelPending_ = 0;
    wheelPending_ = std::clamp(wheelPending_ + delta, -kMost, kMost);
    const int notches = wheelPending_ / kNotch;
    wheelPending_ -= notches * kNotch;
    NavigationBar* bar = animation_.navigationBar();
    for (int i = 0; i < std::abs(notches); ++i) {
        if (notches > 0)
            bar->Command9_Click();
        else
            bar->Command10_Click();
    }
    return true;
}

bool DirectManipulation::key(const QKeyEvent& event) {
    if (!animation_.navigationBarExists())
        return false;
    // Shortcuts with Ctrl or Alt are not ours.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    NavigationBar* bar = animation_.navigationBar();
    switch (event.key()) {
    case Qt::Key_Up:
        bar->Command1_Click();
        return true;
    case Qt::Key_Down:
        bar->Command3_Click();
        return true;
    case Qt::Key_Right:
        bar->Command2_Click();
        return true;
    case Qt::Key_Left:
        bar->Command4_Click();
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // "+" without Shift on many keyboards
        bar->Command9_Click();
        return true;
    case Qt::Key_Minus:
        bar->Command10_Click();
        return true;
    case Qt::Key_Space:
        // Held down, the space bar would flicker between the modes.
        if (!event.isAutoRepeat())
            bar->Check3->click();
        return true;
    default:
        return false;
    }
}

} // namespace wirevane
