#pragma once

#include "formats/shapes/shape.h"

#include <optional>
#include <string>
#include <string_view>

namespace wirevane {

// Readers of the shape files of other programs. Each refuses a malformed file with a
// ShapeError naming the line or byte; none allocates more than the file's own size warrants.
Shape readObjShape(std::string_view bytes, FaceEdges faceEdges); // Wavefront OBJ
Shape readPlyShape(std::string_view bytes, FaceEdges faceEdges); // ASCII and binary PLY
Shape readStlShape(std::string_view bytes, FaceEdges faceEdges); // ASCII and binary STL
Shape readOffShape(std::string_view bytes, FaceEdges faceEdges); // OFF

enum class ShapeFormat { Obj, Ply, Stl, Off };
// The format a file name's extension names, in any case.
std::optional<ShapeFormat> shapeFormatOf(const std::string& path);
Shape readShape(ShapeFormat format, std::string_view bytes, FaceEdges faceEdges);

} // namespace wirevane
