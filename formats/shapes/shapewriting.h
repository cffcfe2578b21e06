#pragma once

// What the OBJ and PLY writers share.

#include "core/engine/objectcompiler.h"
#include "core/engine/renderer.h"
#include "core/engine/scene.h"
#include "formats/shapes/shape.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace wirevane {

struct SceneEdges {
    std::vector<std::pair<int, int>> edges; // point numbers from 1
    int leftOut = 0;
};

// The connections as the renderer reads them (rounded half to even), those naming no point
// left out and counted. Row 1 is the separator line, no connection; blank rows are none either.
inline SceneEdges sceneEdges(const Scene& scene, const std::set<int>& blankRows) {
    SceneEdges result;
    const int rows = std::clamp(scene.connectionCount, 0, kMaxConnectionRows);
    const int points = std::clamp(scene.pointCount, 0, kMaxPoints);
    auto named = [&](double number) {
        const double rounded = roundHalfEven(number);
        return rounded >= 1 && rounded <= points ? static_cast<int>(rounded) : 0;
    };
    for (int k = 2; k <= rows; ++k) {
        if (blankRows.count(k) != 0)
            continue;
        const int a = named(scene.connections[k][1]);
        const int b = named(scene.connections[k][2]);
        if (a == 0 || b == 0)
            ++result.leftOut;
        else
            result.edges.emplace_back(a, b);
    }
    return result;
}

// What a writer writes of a scene: its points as the animation shows them before any turn (the
// animation window's scene is turned and zoomed in place) and its connections.
struct WritableScene {
    Scene unturned;
    SceneEdges edges;
};

inline WritableScene writableScene(const Scene& scene, const std::set<int>& blankRows) {
    WritableScene writable{scene, sceneEdges(scene, blankRows)};
    mapAxes(writable.unturned);
    return writable;
}

// A point's three coordinates, each exactly, between blanks.
inline std::string coordinates(const Scene& scene, int i) {
    return exactNumber(scene.sceneX[i]) + ' ' + exactNumber(scene.sceneY[i]) + ' ' +
           exactNumber(scene.sceneZ[i]);
}

// A name on one comment line.
inline std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// A name on one comment line in ASCII, as a PLY header must be: other bytes as \xNN.
inline std::string asciiLine(const std::string& text) {
    std::string out;
    for (const char c : oneLine(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            out += c;
        } else {
            constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

} // namespace wirevane
