// STL, ASCII and binary: triangles, whose identical corners are one point.
#include "core/engine/floatingtext.h"
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapetokens.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wirevane {

using namespace shapetext;

namespace {

constexpr std::size_t kHeaderBytes = 80;
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kTriangleBytes = 50; // normal, three corners, attribute word

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Lower case, for keywords that files write in any case.
std::string lowered(std::string_view word) {
    std::string lower(word);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The shortest decimal that reads back as the same float32, as the program that wrote the file
// showed it: 19.999998, not 19.999998092651367.
double shortestValue(float value) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double read = value;
    readDouble(text, written.ptr, read);
    return read;
#else
    // Without floating-point to_chars: the fewest significant digits that give the float back.
    // printf and strtod agree on the decimal point, whatever the locale.
    char text[32];
    for (int digits = 1; digits < 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        const double read = std::strtod(text, nullptr);
        if (static_cast<float>(read) == value)
            return read;
    }
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return std::strtod(text, nullptr);
#endif
}

bool sizeMatchesCount(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes + kCountBytes)
        return false;
    const std::uint64_t triangles = littleEndian32(bytes, kHeaderBytes);
    return kHeaderBytes + kCountBytes + triangles * kTriangleBytes == bytes.size();
}

Shape readBinary(std::string_view bytes, FaceEdges faceEdges) {
    const std::uint64_t triangles = littleEndian32(bytes, kHeaderBytes);
    const std::uint64_t needed = kHeaderBytes + kCountBytes + triangles * kTriangleBytes;
    if (needed != bytes.size())
        throw ShapeError{"byte 80: the header counts " + std::to_string(triangles) +
                         " triangles, which take " + std::to_string(needed) +
                         " bytes, but the file has " + std::to_string(bytes.size())};
    ShapeBuilder builder(faceEdges);
    std::vector<int> corners(3);
    for (std::uint64_t t = 0; t < triangles; ++t) {
        const std::size_t start = kHeaderBytes + kCountBytes + t * kTriangleBytes;
        for (int c = 0; c < 3; ++c) {
            const std::size_t at = start + 12 + 12 * c; // after the normal
            double xyz[3];
            for (int k = 0; k < 3; ++k)
                xyz[k] = shortestValue(bitCast<float>(littleEndian32(bytes, at + 4 * k)));
            builder.addPoint(xyz[0], xyz[1], xyz[2], Place{"byte", at});
            corners[c] = builder.pointCount();
        }
        builder.addFace(corners);
    }
    return builder.finish();
}

Shape readAscii(std::string_view bytes, FaceEdges faceEdges) {
    ShapeBuilder builder(faceEdges);
    Lines lines(bytes);
    std::vector<int> corners;
    bool inLoop = false;
    for (std::string_view line; lines.next(line);) {
        const int at = lines.number();
        const std::vector<std::string_view> f = fields(line);
        if (f.empty())
            continue;
        const std::string keyword = lowered(f[0]);
        if (keyword == "vertex") {
            if (!inLoop)
                throw ShapeError{lineName(at) + ": a vertex outside 'outer loop'"};
            if (f.size() != 4)
                throw ShapeError{lineName(at) + ": a vertex needs x, y and z"};
            builder.addPoint(number(f[1], at), number(f[2], at), number(f[3], at),
                             Place{"line", static_cast<std::size_t>(at)});
            corners.push_back(builder.pointCount());
        } else if (keyword == "outer") {
            if (inLoop)
                throw ShapeError{lineName(at) + ": 'outer loop' inside a loop"};
            inLoop = true;
            corners.clear();
        } else if (keyword == "endloop") {
            if (!inLoop || corners.size() < 3)
                throw ShapeError{lineName(at) + ": a loop needs at least 3 vertices"};
            inLoop = false;
            builder.addFace(corners);
        } else if (keyword != "solid" && keyword != "endsolid" && keyword != "facet" &&
                   keyword != "endfacet") {
            throw ShapeError{lineName(at) + ": " + quoted(f[0]) + " is no STL keyword"};
        }
    }
    if (inLoop)
        throw ShapeError{lineName(lines.number()) + ": the file ends inside a loop"};
    return builder.finish();
}

} // namespace

// Binary when the size matches the count of triangles, else ASCII when it begins so, else
// refused: a binary file may begin with "solid" too, and its count may lie.
Shape readStlShape(std::string_view bytes, FaceEdges faceEdges) {
    if (sizeMatchesCount(bytes))
        return readBinary(bytes, faceEdges);
    const std::string_view text = withoutByteOrderMark(bytes, false);
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (lowered(text.substr(i, 5)) == "solid")
        return readAscii(text, faceEdges);
    if (bytes.size() < kHeaderBytes + kCountBytes)
        throw ShapeError{"byte " + std::to_string(bytes.size()) +
                         ": a binary STL file has at least 84 bytes"};
    return readBinary(bytes, faceEdges);
}

} // namespace wirevane
