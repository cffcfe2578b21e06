#pragma once

#include "engine/scene.h"

#include <QString>

class QAbstractButton;

namespace wirevane {

// Makes the program's controls behave for assistive technology as they do for the mouse:
// a screen reader's "toggle" or "press" on a button or check box clicks it, so the handlers
// that listen to clicks run exactly once, and an up-down spinner offers its value.
// Code that sets a box with setChecked still runs no handler. Call once, after the application
// object exists.
void installAccessibility();

// A colour in words for a screen reader: its nearest plain name and its hex value, as in
// "cyan, #00C0C0".
QString colourWords(Colour colour);

} // namespace wirevane
