#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wirevane {

// As much as a shape file may hold: far more than any shape an object can hold.
constexpr std::size_t kMaxShapeFileBytes = std::size_t{16} << 20;

// A shape file of another program as the text of a new object, or why it cannot be one.
struct ImportedShape {
    std::string text;   // lines separated by CR LF
    std::string reason; // empty when it worked; a sentence that names the file
};

// Reads the shape in bytes, its format told by the path's extension, keeping the edges of its
// faces but the diagonals of flat ones, as the desktop and the page open such a file. The text's
// remark names the file, the reasons name the path.
ImportedShape importShape(const std::string& path, std::string_view bytes);

} // namespace wirevane
