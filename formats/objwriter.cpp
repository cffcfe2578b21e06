#include "formats/shapewriters.h"
#include "formats/shape.h"
#include "formats/shapewriting.h"

namespace wirevane {

WrittenShape writeObjShape(const Scene& scene, const std::string& objectName) {
    const SceneEdges edges = sceneEdges(scene);
    WrittenShape written{"# " + oneLine(objectName) + '\n', edges.leftOut};
    for (int i = 1; i <= scene.pointCount; ++i)
        written.bytes += "v " + exactNumber(scene.sceneX[i]) + ' ' + exactNumber(scene.sceneY[i]) +
                         ' ' + exactNumber(scene.sceneZ[i]) + '\n';
    for (const auto& [a, b] : edges.edges)
        written.bytes += "l " + std::to_string(a) + ' ' + std::to_string(b) + '\n';
    return written;
}

} // namespace wirevane
