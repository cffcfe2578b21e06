// STL, ASCII and binary: triangles, whose identical corners are welded into one point.
#include "core/engine/floatingtext.h"
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapetokens.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace wirevane {

using namespace shapetext;

namespace {

constexpr std::size_t kHeaderBytes = 80;
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kTriangleBytes = 50; // normal, three corners, attribute word

class Welder {
  public:
    explicit Welder(ShapeBuilder& builder) : builder_(builder) {}
    int corner(double x, double y, double z, Place where) {
        // -0 and 0 are one place.
        const Key key{bitCast<std::uint64_t>(x + 0.0), bitCast<std::uint64_t>(y + 0.0),
                      bitCast<std::uint64_t>(z + 0.0)};
        const auto found = numbers_.find(key);
        if (found != numbers_.end())
            return found->second;
        builder_.addPoint(x, y, z, where);
        numbers_.emplace(key, builder_.pointCount());
        return builder_.pointCount();
    }

  private:
    struct Key {
        std::uint64_t x, y, z;
        bool operator==(const Key&) const = default;
    };
    struct Hash {
        std::size_t operator()(const Key& k) const {
            return std::hash<std::uint64_t>()(k.x * 0x9E3779B97F4A7C15u ^
                                              k.y * 0xC2B2AE3D27D4EB4Fu ^ k.z);
        }
    };
    ShapeBuilder& builder_;
    std::unordered_map<Key, int, Hash> numbers_;
};

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

Shape readBinary(std::string_view bytes, FaceEdges faceEdges) {
    const std::uint64_t triangles = littleEndian32(bytes, kHeaderBytes);
    const std::uint64_t needed = kHeaderBytes + kCountBytes + triangles * kTriangleBytes;
    if (needed != bytes.size())
        throw ShapeError{"byte 80: the header counts " + std::to_string(triangles) +
                         " triangles, which take " + std::to_string(needed) +
                         " bytes, but the file has " + std::to_string(bytes.size())};
    ShapeBuilder builder(faceEdges);
    Welder welder(builder);
    std::vector<int> corners(3);
    for (std::uint64_t t = 0; t < triangles; ++t) {
        const std::size_t start = kHeaderBytes + kCountBytes + t * kTriangleBytes;
        for (int c = 0; c < 3; ++c) {
            const std::size_t at = start + 12 + 12 * c; // after the normal
            float xyz[3];
            for (int k = 0; k < 3; ++k)
                xyz[k] = bitCast<float>(littleEndian32(bytes, at + 4 * k));
            corners[c] = welder.corner(xyz[0], xyz[1], xyz[2], Place{"byte", at});
        }
        builder.addFace(corners);
    }
    return builder.finish();
}

Shape readAscii(std::string_view bytes, FaceEdges faceEdges) {
    ShapeBuilder builder(faceEdges);
    Welder welder(builder);
    Lines lines(bytes);
    std::vector<int> corners;
    bool inLoop = false;
    for (std::string_view line; lines.next(line);) {
        const int at = lines.number();
        const std::vector<std::string_view> f = fields(line);
        if (f.empty())
            continue;
        if (f[0] == "vertex") {
            if (!inLoop)
                throw ShapeError{lineName(at) + ": a vertex outside 'outer loop'"};
            if (f.size() != 4)
                throw ShapeError{lineName(at) + ": a vertex needs x, y and z"};
            corners.push_back(welder.corner(number(f[1], at), number(f[2], at), number(f[3], at),
                                            Place{"line", static_cast<std::size_t>(at)}));
        } else if (f[0] == "outer") {
            if (inLoop)
                throw ShapeError{lineName(at) + ": 'outer loop' inside a loop"};
            inLoop = true;
            corners.clear();
        } else if (f[0] == "endloop") {
            if (!inLoop || corners.size() < 3)
                throw ShapeError{lineName(at) + ": a loop needs at least 3 vertices"};
            inLoop = false;
            builder.addFace(corners);
        } else if (f[0] != "solid" && f[0] != "endsolid" && f[0] != "facet" && f[0] != "endfacet") {
            throw ShapeError{lineName(at) + ": " + quoted(f[0]) + " is no STL keyword"};
        }
    }
    if (inLoop)
        throw ShapeError{lineName(lines.number()) + ": the file ends inside a loop"};
    return builder.finish();
}

bool looksAscii(std::string_view bytes) {
    // A binary file may begin with "solid" too; its size then matches its triangle count.
    std::size_t i = 0;
    while (i < bytes.size() && isBlank(bytes[i]))
        ++i;
    if (bytes.substr(i, 5) != "solid")
        return false;
    if (bytes.size() >= kHeaderBytes + kCountBytes) {
        const std::uint64_t triangles = littleEndian32(bytes, kHeaderBytes);
        if (kHeaderBytes + kCountBytes + triangles * kTriangleBytes == bytes.size())
            return false;
    }
    return true;
}

} // namespace

Shape readStlShape(std::string_view bytes, FaceEdges faceEdges) {
    if (looksAscii(bytes))
        return readAscii(bytes, faceEdges);
    if (bytes.size() < kHeaderBytes + kCountBytes)
        throw ShapeError{"byte " + std::to_string(bytes.size()) +
                         ": a binary STL file has at least 84 bytes"};
    return readBinary(bytes, faceEdges);
}

} // namespace wirevane
