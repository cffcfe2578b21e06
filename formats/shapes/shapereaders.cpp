#include "formats/shapes/shapereaders.h"

#include "core/documents/filenames.h"

namespace wirevane {

std::optional<ShapeFormat> shapeFormatOf(const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension == "obj")
        return ShapeFormat::Obj;
    if (extension == "ply")
        return ShapeFormat::Ply;
    if (extension == "stl")
        return ShapeFormat::Stl;
    if (extension == "off")
        return ShapeFormat::Off;
    return std::nullopt;
}

Shape readShape(ShapeFormat format, std::string_view bytes, FaceEdges faceEdges) {
    switch (format) {
    case ShapeFormat::Obj:
        return readObjShape(bytes, faceEdges);
    case ShapeFormat::Ply:
        return readPlyShape(bytes, faceEdges);
    case ShapeFormat::Stl:
        return readStlShape(bytes, faceEdges);
    case ShapeFormat::Off:
        return readOffShape(bytes, faceEdges);
    }
    return {};
}

} // namespace wirevane
