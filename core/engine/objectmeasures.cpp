#include "core/engine/objectmeasures.h"

#include "core/engine/floatingtext.h"
#include "core/engine/numberconversion.h"
#include "core/engine/objectcompiler.h"
#include "core/engine/renderer.h"

#include <algorithm>
#include <cmath>

namespace wirevane {
namespace {

constexpr int kMeasureDecimals = 3;

bool isAxisOrder(double order) {
    return order == 0 || order == 1 || order == 2 || order == 3 || order == 4 || order == 5;
}

} // namespace

std::string measureText(double value) {
    if (!std::isfinite(value))
        return value > 0 ? "too large" : "not a number";
    const std::optional<std::string> fixed = fixedText(value, kMeasureDecimals);
    if (!fixed)
        return "too large";
    std::string text = *fixed;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

ObjectMeasures::ObjectMeasures(std::string_view text, std::string_view axisOrderText)
    : axisOrderText_(axisOrderText) {
    ObjectInput input = defaultObjectInput();
    input.text = text;
    input.axisOrderText = axisOrderText;
    const bool completed = compileObject(scene_, &input).completed;
    // A text the command stops at still measures up to there; its counts stay in the tables.
    scene_.pointCount = std::clamp(scene_.pointCount, 0, kMaxPoints);
    scene_.connectionCount = std::clamp(scene_.connectionCount, 0, kMaxConnectionRows);
    axesMapped_ = isAxisOrder(scene_.axisOrder);
    if (!completed && axesMapped_)
        mapAxes(scene_);
}

std::string ObjectMeasures::measureOf(const LineAnalysis& line) const {
    switch (line.kind) {
    case LineKind::Point:
        return pointMeasure(line.number);
    case LineKind::Connection:
        return connectionMeasure(line);
    default:
        return {};
    }
}

std::string ObjectMeasures::pointMeasure(int point) const {
    if (point < 1 || point > scene_.pointCount)
        return {};
    const auto at = static_cast<std::size_t>(point);
    return "point " + std::to_string(point) + ": x " + measureText(scene_.rawX[at]) + ", y " +
           measureText(scene_.rawY[at]) + ", z " + measureText(scene_.rawZ[at]);
}

std::string ObjectMeasures::connectionMeasure(const LineAnalysis& line) const {
    const int row = line.number;
    if (row < 1 || row > scene_.connectionCount)
        return {};
    if (line.keepsStart)
        return "no length: without \"-\" the start point keeps an old value";
    const auto& ends = scene_.connections[static_cast<std::size_t>(row)];
    const double from = roundHalfEven(ends[1]);
    const double to = roundHalfEven(ends[2]);
    const std::string name = measureText(from) + "-" + measureText(to);
    for (const double end : {from, to})
        if (!(end >= 1 && end <= scene_.pointCount))
            return name + ": no length, there is no point " + measureText(end);
    if (!axesMapped_)
        return name + ": no length, axis order " + axisOrderText_ + " does not place the points";
    const auto a = static_cast<std::size_t>(from);
    const auto b = static_cast<std::size_t>(to);
    const double length =
        std::hypot(scene_.sceneX[a] - scene_.sceneX[b], scene_.sceneY[a] - scene_.sceneY[b],
                   scene_.sceneZ[a] - scene_.sceneZ[b]);
    return name + ": length " + measureText(length);
}

} // namespace wirevane
