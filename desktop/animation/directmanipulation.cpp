#include "desktop/animation/directmanipulation.h"

#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/animation/navigationbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace wirevane {

DirectManipulation::DirectManipulation(AnimationWindow& window, AnimationController& animation)
    : QObject(&window), window_(window), animation_(animation) {
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
    // A turning object held by the hand stands still until it is let go.
    animation_.session().press();
    window_.setCursor(Qt::ClosedHandCursor);
    return true;
}

bool DirectManipulation::move(const QMouseEvent& event) {
    if (!dragging_)
        return false;
    const QPointF delta = event.position() - lastPosition_;
    lastPosition_ = event.position();
    // A slanted movement takes a redraw for each plane; only the second one need be shown.
    AnimationWindowSurface& surface = window_.surface();
    surface.beginFrame();
    animation_.session().drag(delta.x(), delta.y(), window_.width(), window_.height());
    surface.endFrame();
    return true;
}

bool DirectManipulation::release(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !dragging_)
        return false;
    animation_.session().release();
    endDrag();
    return true;
}

void DirectManipulation::endDrag() {
    dragging_ = false;
    window_.setCursor(Qt::OpenHandCursor);
}

bool DirectManipulation::wheel(const QWheelEvent& event) {
    if (!animation_.navigationBarExists())
        return false;
    animation_.session().wheel(event.angleDelta().y());
    return true;
}

bool DirectManipulation::key(const QKeyEvent& event) {
    if (!animation_.navigationBarExists())
        return false;
    // Shortcuts with Ctrl or Alt are not ours.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    // The context menu by the keyboard, as in a text box; Escape leaves, as on the bar.
    if (event.key() == Qt::Key_Menu ||
        (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier)) {
        emit window_.customContextMenuRequested(window_.rect().center());
        return true;
    }
    if (event.key() == Qt::Key_Escape && event.modifiers() == Qt::NoModifier) {
        window_.close();
        return true;
    }
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
