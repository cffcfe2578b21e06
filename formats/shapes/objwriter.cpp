#include "core/engine/objectcompiler.h"
#include "formats/shapes/shape.h"
#include "formats/shapes/shapewriters.h"
#include "formats/shapes/shapewriting.h"

namespace wirevane {

WrittenShape writeObjShape(const Scene& scene, const std::string& objectName,
                           const std::set<int>& blankRows) {
    const SceneEdges edges = sceneEdges(scene, blankRows);
    // The animation window's scene is turned and zoomed in place.
    Scene unturned = scene;
    mapAxes(unturned);
    WrittenShape written{"# " + oneLine(objectName) + '\n', edges.leftOut};
    for (int i = 1; i <= scene.pointCount; ++i)
        written.bytes += "v " + exactNumber(unturned.sceneX[i]) + ' ' +
                         exactNumber(unturned.sceneY[i]) + ' ' + exactNumber(unturned.sceneZ[i]) +
                         '\n';
    for (const auto& [a, b] : edges.edges)
        written.bytes += "l " + std::to_string(a) + ' ' + std::to_string(b) + '\n';
    return written;
}

} // namespace wirevane
