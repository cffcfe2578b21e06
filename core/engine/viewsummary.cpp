#include "core/engine/viewsummary.h"

#include "core/engine/objectmeasures.h"

#include <algorithm>
#include <cmath>

namespace wirevane {
namespace {

constexpr double kFullTurn = 360;
constexpr double kHalfTurn = 180;

double withinHalfTurn(double degrees) {
    if (!std::isfinite(degrees))
        return 0;
    double turned = std::fmod(degrees, kFullTurn);
    if (turned > kHalfTurn)
        turned -= kFullTurn;
    else if (turned <= -kHalfTurn)
        turned += kFullTurn;
    return turned;
}

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

void ViewSummary::start(std::string objectName) {
    name_ = std::move(objectName);
    turnedXZ_ = turnedYZ_ = 0;
    zoom_ = 1;
}

void ViewSummary::add(const Motion& motion) {
    turnedXZ_ = withinHalfTurn(turnedXZ_ + motion.turnXZ);
    turnedYZ_ = withinHalfTurn(turnedYZ_ + motion.turnYZ);
    if (std::isfinite(motion.zoom) && motion.zoom > 0)
        zoom_ *= motion.zoom;
}

int ViewSummary::drawnConnections(const Scene& scene) {
    const int points = std::clamp(scene.pointCount, 0, kMaxPoints);
    const int rows = std::clamp(scene.connectionCount, 0, kMaxConnectionRows);
    const auto namesPoint = [points](double end) { return end >= 0.5 && end < points + 0.5; };
    int drawn = 0;
    // Row 1 is the blank line that ends the points.
    for (int row = 2; row <= rows; ++row)
        drawn += namesPoint(scene.connections[row][1]) && namesPoint(scene.connections[row][2]);
    return drawn;
}

std::string ViewSummary::describe(const Scene& scene) const {
    const int points = std::clamp(scene.pointCount, 0, kMaxPoints);
    const int connections = drawnConnections(scene);
    return (name_.empty() ? std::string() : name_ + ": ") + counted(points, "point", "points") +
           ", " + counted(connections, "connection", "connections") + ". Turned " +
           measureText(turnedXZ_) + " degrees in the x-z plane and " + measureText(turnedYZ_) +
           " degrees in the y-z plane, zoom " + measureText(zoom_) + ".";
}

} // namespace wirevane
