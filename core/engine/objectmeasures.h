#pragma once

#include "core/engine/objecttextanalysis.h"
#include "core/engine/scene.h"

#include <string>
#include <string_view>

namespace wirevane {

// What the lines of an object text measure: the x, y, z the compiler reads for a point line
// and the length of a connection. The text is compiled by the compiler itself into a scene of
// its own, so a length is taken between the points as typed with the axis order applied, never
// from a running animation's coordinates, which each whole-degree turn moves a little.
class ObjectMeasures {
  public:
    ObjectMeasures(std::string_view text, std::string_view axisOrderText);

    // One line of plain words for a line of the analysis of the same text, or "" for a line
    // that measures nothing (a remark, a blank line, a line the compiler does not reach).
    std::string measureOf(const LineAnalysis& line) const;

  private:
    std::string pointMeasure(int point) const;
    std::string connectionMeasure(const LineAnalysis& line) const;

    Scene scene_;
    bool axesMapped_ = false;
    std::string axisOrderText_;
};

// A distance or coordinate as the notes show it: at most three decimals, no trailing zeros,
// a full stop whatever the locale.
std::string measureText(double value);

} // namespace wirevane
