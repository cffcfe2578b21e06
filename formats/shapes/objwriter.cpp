#include "core/engine/objectcompiler.h"
#include "formats/shapes/shape.h"
#include "formats/shapes/shapewriters.h"
#include "formats/shapes/shapewriting.h"

namespace wirevane {

WrittenShape writeObjShape(const Scene& scene, const std::string& objectName,
                           const std::set<int>& blankRows) {
    const WritableScene writable = writableScene(scene, blankRows);
    WrittenShape written{"# " + oneLine(objectName) + '\n', writable.edges.leftOut};
    for (int i = 1; i <= scene.pointCount; ++i)
        written.bytes += "v " + coordinates(writable.unturned, i) + '\n';
    for (const auto& [a, b] : writable.edges.edges)
        written.bytes += "l " + std::to_string(a) + ' ' + std::to_string(b) + '\n';
    return written;
}

} // namespace wirevane
