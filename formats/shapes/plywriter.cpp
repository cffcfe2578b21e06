#include "core/engine/objectcompiler.h"
#include "formats/shapes/shape.h"
#include "formats/shapes/shapewriters.h"
#include "formats/shapes/shapewriting.h"

namespace wirevane {

WrittenShape writePlyShape(const Scene& scene, const std::string& objectName,
                           const std::set<int>& blankRows) {
    const WritableScene writable = writableScene(scene, blankRows);
    const SceneEdges& edges = writable.edges;
    // Colours hold red in the low byte.
    const std::string colour = std::to_string(scene.objectColor & 0xFF) + ' ' +
                               std::to_string((scene.objectColor >> 8) & 0xFF) + ' ' +
                               std::to_string((scene.objectColor >> 16) & 0xFF);
    WrittenShape written{"ply\nformat ascii 1.0\ncomment " + asciiLine(objectName) +
                             "\nelement vertex " + std::to_string(scene.pointCount) +
                             "\nproperty double x\nproperty double y\nproperty double z"
                             "\nelement edge " +
                             std::to_string(edges.edges.size()) +
                             "\nproperty int vertex1\nproperty int vertex2"
                             "\nproperty uchar red\nproperty uchar green\nproperty uchar blue"
                             "\nend_header\n",
                         edges.leftOut};
    for (int i = 1; i <= scene.pointCount; ++i)
        written.bytes += coordinates(writable.unturned, i) + '\n';
    for (const auto& [a, b] : edges.edges)
        written.bytes += std::to_string(a - 1) + ' ' + std::to_string(b - 1) + ' ' + colour + '\n';
    return written;
}

} // namespace wirevane
