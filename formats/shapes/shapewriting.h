#pragma once

// What the OBJ and PLY writers share.

#include "core/engine/renderer.h"
#include "core/engine/scene.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace wirevane {

struct SceneEdges {
    std::vector<std::pair<int, int>> edges; // point numbers from 1
    int leftOut = 0;
};

// The connections as the renderer reads them (rounded half to even), those naming no point
// left out and counted. Row 1 is the separator line, no connection.
inline SceneEdges sceneEdges(const Scene& scene) {
    SceneEdges result;
    const int rows = std::clamp(scene.connectionCount, 0, kMaxConnectionRows);
    const int points = std::clamp(scene.pointCount, 0, kMaxPoints);
    auto named = [&](double number) {
        const double rounded = roundHalfEven(number);
        return rounded >= 1 && rounded <= points ? static_cast<int>(rounded) : 0;
    };
    for (int k = 2; k <= rows; ++k) {
        const int a = named(scene.connections[k][1]);
        const int b = named(scene.connections[k][2]);
        if (a == 0 || b == 0)
            ++result.leftOut;
        else
            result.edges.emplace_back(a, b);
    }
    return result;
}

// A name on one comment line.
inline std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace wirevane
