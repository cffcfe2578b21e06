#pragma once

#include "core/engine/surface.h"

namespace wirevane {

// Draws on two surfaces at once, such as a picture and its record. The
// second draws only what the first took: a draw the first refuses makes the renderer shrink and
// draw again, and the second must end up with that drawing, not with both.
class TeeSurface : public Surface {
  public:
    TeeSurface(Surface& first, Surface& second) : first_(first), second_(second) {}

    void setScale(double left, double top, double right, double bottom) override;
    void setBackColor(Colour colour) override;
    void clearSurface() override;
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
    bool drawCircle(float x, float y, float radius, Colour colour) override;
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override;
    void setLabelText(int index, const std::string& text) override;

  private:
    Surface& first_;
    Surface& second_;
};

} // namespace wirevane
