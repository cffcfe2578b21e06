#pragma once

#include "core/engine/scene.h"

#include <set>
#include <string>

namespace wirevane {

// A compiled object as a file for other programs: the points as the animation shows them
// before any turn (axis order applied) and the connections that name two of them.
struct WrittenShape {
    std::string bytes;
    int connectionsLeftOut = 0; // kept by the compiler, but naming point 0 or none at all
};

// Wavefront OBJ: a comment with the object's name, a "v" a point, an "l" a connection.
// blankRows: connection rows that blank lines of the text make, which name no point and are
// no connection either.
WrittenShape writeObjShape(const Scene& scene, const std::string& objectName,
                           const std::set<int>& blankRows = {});
// ASCII PLY: vertex and edge elements, each edge in the object colour; the name written in
// ASCII.
WrittenShape writePlyShape(const Scene& scene, const std::string& objectName,
                           const std::set<int>& blankRows = {});

} // namespace wirevane
