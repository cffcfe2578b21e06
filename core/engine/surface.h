#pragma once

#include "core/engine/scene.h"

#include <string>

namespace wirevane {

constexpr int kLabelCount = 102; // number labels 0..101

// What the renderer draws on: a client area with a user coordinate scale, and the number labels.
// Coordinates are surface units after setScale; a draw that the surface cannot do returns false.
class Surface {
  public:
    virtual ~Surface() = default;

    virtual void setScale(double left, double top, double right, double bottom) = 0;
    virtual void setBackColor(Colour colour) = 0;
    virtual void clearSurface() = 0;
    virtual bool drawLine(float x1, float y1, float x2, float y2, Colour colour) = 0;
    virtual bool drawCircle(float x, float y, float radius, Colour colour) = 0;

    // Number labels: text, colour and the top-left corner in surface units.
    virtual void placeLabel(int index, const std::string& text, Colour colour, double left,
                            double top) = 0;
    // Changes the text only; the label stays where it is.
    virtual void setLabelText(int index, const std::string& text) = 0;
};

} // namespace wirevane
