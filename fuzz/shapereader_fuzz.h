// What every shape reader must hold to on any bytes: a refusal or a shape whose connections
// name its points, each once; all face edges a superset of the shape's; and an object text
// that the compiler reads back to the same points.
#include "core/engine/objectcompiler.h"
#include "formats/shapes/shape.h"
#include "formats/shapes/shapereaders.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>

namespace wirevane::fuzz {

inline void checkShapeReader(Shape (*read)(std::string_view, FaceEdges), const std::uint8_t* data,
                             std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Shape shape, all;
    try {
        shape = read(bytes, FaceEdges::ShapeOnly);
    } catch (const ShapeError&) {
        try {
            read(bytes, FaceEdges::All);
        } catch (const ShapeError&) {
            return;
        }
        __builtin_trap(); // the option must not decide whether a file is readable
    }
    all = read(bytes, FaceEdges::All);
    const int points = static_cast<int>(shape.points.size());
    std::set<std::pair<int, int>> seen;
    for (const auto& [a, b] : shape.edges) {
        if (a < 1 || b < 1 || a > points || b > points ||
            !seen.insert({std::min(a, b), std::max(a, b)}).second)
            __builtin_trap();
    }
    std::set<std::pair<int, int>> allSeen;
    for (const auto& [a, b] : all.edges)
        allSeen.insert({std::min(a, b), std::max(a, b)});
    if (all.points.size() != shape.points.size() ||
        !std::includes(allSeen.begin(), allSeen.end(), seen.begin(), seen.end()))
        __builtin_trap();

    std::string text;
    try {
        text = shapeObjectText(shape, "fuzz.shape");
    } catch (const ShapeError&) {
        if (points <= kMaxPoints && shape.edges.size() < kMaxConnectionRows)
            __builtin_trap();
        return;
    }
    ObjectInput input = defaultObjectInput();
    input.text = text;
    Scene scene;
    if (!compileObject(scene, &input).completed || scene.pointCount != points ||
        scene.connectionCount != static_cast<int>(shape.edges.size()) + 1)
        __builtin_trap();
    for (int i = 1; i <= points; ++i) {
        const Shape::Point& p = shape.points[i - 1];
        if (scene.rawX[i] != p.x || scene.rawY[i] != p.y || scene.rawZ[i] != p.z)
            __builtin_trap();
    }
}

} // namespace wirevane::fuzz
