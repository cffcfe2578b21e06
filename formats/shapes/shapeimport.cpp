#include "formats/shapes/shapeimport.h"

#include "core/documents/objectfile.h"
#include "formats/shapes/shape.h"
#include "formats/shapes/shapereaders.h"

namespace wirevane {
namespace {

// Characters, not bytes: the limit of an object text counts what the text box shows.
std::size_t characters(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

ImportedShape importShape(const std::string& path, std::string_view bytes) {
    const std::string fileName = path.substr(path.find_last_of('/') + 1);
    const auto format = shapeFormatOf(fileName);
    if (!format)
        return {{}, "The file " + path + " is not a shape file (OBJ, PLY, STL or OFF)."};
    if (bytes.size() > kMaxShapeFileBytes)
        return {{}, "The file " + path + " is larger than 16 MiB."};
    ImportedShape imported;
    try {
        const Shape shape = readShape(*format, bytes, FaceEdges::ShapeOnly);
        imported.text = shapeObjectText(shape, fileName);
    } catch (const ShapeError& error) {
        // The limits name the file themselves; a malformed file is named here.
        imported.reason =
            error.message.starts_with(fileName) ? error.message : path + ": " + error.message;
        return imported;
    }
    if (characters(imported.text) > kMaxObjectTextBytes)
        return {{},
                "The shape in " + path + " is too large for an object text, which holds at most " +
                    std::to_string(kMaxObjectTextBytes) + " characters."};
    return imported;
}

} // namespace wirevane
