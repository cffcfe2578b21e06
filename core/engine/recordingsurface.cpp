#include "core/engine/recordingsurface.h"

#include <cmath>

namespace wirevane {

void RecordingSurface::setScale(double left, double top, double right, double bottom) {
    scale_ = {left, top, right, bottom};
}

void RecordingSurface::setBackColor(Colour colour) {
    backColor_ = colour;
}

void RecordingSurface::clearSurface() {
    forgetDrawing();
    ++clears_;
}

void RecordingSurface::forgetDrawing() {
    lines_.clear();
    circles_.clear();
}

bool RecordingSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
    if (limited_ && !scale_.takesLine(x1, y1, x2, y2, width_, height_)) {
        ++failures_;
        return false;
    }
    lines_.push_back({x1, y1, x2, y2, colour});
    return true;
}

bool RecordingSurface::drawCircle(float x, float y, float radius, Colour colour) {
    if (limited_ && !scale_.takesCircle(x, y, radius, width_, height_)) {
        ++failures_;
        return false;
    }
    circles_.push_back({x, y, radius, colour});
    return true;
}

void RecordingSurface::placeLabel(int index, const std::string& text, Colour colour, double left,
                                  double top) {
    if (index < 0 || index >= kLabelCount)
        return;
    labels_[index] = {text, colour, left, top};
    ++labelWrites_;
}

void RecordingSurface::setLabelText(int index, const std::string& text) {
    if (index < 0 || index >= kLabelCount)
        return;
    labels_[index].text = text;
    ++labelWrites_;
}

} // namespace wirevane
