#pragma once

#include <QWidget>

namespace wirevane {

// Window and control positions are given in twips, 15 to a logical pixel; Qt scales logical
// pixels for high-DPI screens.
constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(double twips) {
    return static_cast<int>(twips / kTwipsPerPixel + (twips >= 0 ? 0.5 : -0.5));
}
constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// Places a control the way the layout tables give it: left, top, width, height in twips.
inline void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

} // namespace wirevane
