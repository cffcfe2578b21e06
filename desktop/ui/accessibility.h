#pragma once

#include "core/engine/scene.h"

#include <QLabel>
#include <QString>
#include <QTimer>

class QAbstractButton;

namespace wirevane {

// Makes the program's controls behave for assistive technology as they do for the mouse:
// a screen reader's "toggle" or "press" on a button or check box clicks it, so the handlers
// that listen to clicks run exactly once, and an up-down spinner offers its value; the focus is
// told again when a window becomes active, and a ring shows it.
// Code that sets a box with setChecked still runs no handler. Call once, after the application
// object exists.
void installAccessibility();

// A short note shown over a control, like a tool tip, that a screen reader says as it
// appears: it is a notification to assistive technology. Qt 6.4 has no announcement event;
// screen readers do say a notification that shows.
class SpokenNote : public QLabel {
    Q_OBJECT

  public:
    explicit SpokenNote(QWidget* parent);

    // Shows the note with its top-left corner at a point of its parent, inside the parent.
    void say(const QString& note, const QPoint& at);
    // A note that is not about the caret goes away by itself after this time.
    void setHidingAfter(int milliseconds);

  private:
    QTimer* hiding_ = nullptr;
};

// A colour in words for a screen reader: its nearest plain name and its hex value, as in
// "cyan, #00C0C0".
QString colourWords(Colour colour);

} // namespace wirevane
