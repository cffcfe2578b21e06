#include "core/engine/teesurface.h"

namespace wirevane {

void TeeSurface::setScale(double left, double top, double right, double bottom) {
    first_.setScale(left, top, right, bottom);
    second_.setScale(left, top, right, bottom);
}

void TeeSurface::setBackColor(Colour colour) {
    first_.setBackColor(colour);
    second_.setBackColor(colour);
}

void TeeSurface::clearSurface() {
    first_.clearSurface();
    second_.clearSurface();
}

bool TeeSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
    return first_.drawLine(x1, y1, x2, y2, colour) && second_.drawLine(x1, y1, x2, y2, colour);
}

bool TeeSurface::drawCircle(float x, float y, float radius, Colour colour) {
    return first_.drawCircle(x, y, radius, colour) && second_.drawCircle(x, y, radius, colour);
}

void TeeSurface::placeLabel(int index, const std::string& text, Colour colour, double left,
                            double top) {
    first_.placeLabel(index, text, colour, left, top);
    second_.placeLabel(index, text, colour, left, top);
}

void TeeSurface::setLabelText(int index, const std::string& text) {
    first_.setLabelText(index, text);
    second_.setLabelText(index, text);
}

} // namespace wirevane
