#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace wirevane {

// A wireframe read from a file of another program: points in file order, each connection once
// (whichever way round), in the order first met. Point numbers count from 1, as in an object.
struct Shape {
    struct Point {
        double x = 0, y = 0, z = 0;
    };
    std::vector<Point> points;
    std::vector<std::pair<int, int>> edges;
};

// A file that cannot be read as a shape: the message names the line or byte and what is wrong.
struct ShapeError {
    std::string message;
};

// Where in a file something stands, for a message: "line 7" or "byte 84". Cheap to make, as
// readers make one for every point and the text only when something is wrong.
struct Place {
    const char* unit = "line";
    std::size_t at = 0;
    std::string text() const { return std::string(unit) + ' ' + std::to_string(at); }
};

// Whether faces give all their edges or only those that are edges of the shape: an edge between
// two faces of one flat side (in one plane and on either side of it) is a diagonal, which a
// viewer does not want.
enum class FaceEdges { ShapeOnly, All };

// Two faces lie in one plane when their planes are within this angle.
constexpr double kFlatSideDegrees = 0.1;

// Collects what a reader meets and makes the shape of it. Points at exactly the same place are
// one point, numbered in the order first met. Lines and PLY edges are always kept; face edges
// are decided once all faces are known. Refuses a shape with more points than an object holds
// as soon as it gets there, so a huge file is not read to its end.
class ShapeBuilder {
  public:
    explicit ShapeBuilder(FaceEdges faceEdges) : faceEdges_(faceEdges) {}

    // where: for the message of a coordinate that is not finite.
    void addPoint(double x, double y, double z, Place where);
    // The points of the file so far, each counted, however often it repeats a place.
    int pointCount() const { return static_cast<int>(shapeNumber_.size()); }

    // The file's point numbers, from 1; the reader has checked they exist.
    void addLine(int a, int b);
    void addFace(const std::vector<int>& corners);

    // Refuses a shape without a single point.
    Shape finish();

  private:
    struct Side {            // of a face along one of its edges
        Shape::Point normal; // unit normal, or 0 for a degenerate face
        Shape::Point inward; // from the edge towards the face's middle
    };
    struct EdgeUse {
        bool line = false; // from a line or an edge element: always kept
        int faces = 0;     // counted up to 3: only an edge of exactly two faces may go
        int lastFace = -1;
        Side sides[2];
    };
    EdgeUse& use(int a, int b);

    struct Key {
        std::uint64_t x, y, z;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };

    FaceEdges faceEdges_;
    Shape shape_;
    std::vector<int> shapeNumber_; // of each file point
    std::unordered_map<Key, int, KeyHash> pointAt_;
    std::unordered_map<std::uint64_t, std::size_t> edgeIndex_; // low << 32 | high -> into order_
    std::vector<std::pair<int, int>> order_;
    std::vector<EdgeUse> uses_;
    int faceCount_ = 0;
};

// A shape as a new object's text: a remark naming the source file, the points, the separator
// line and the connections, lines separated by CR LF. A ShapeError when it holds more than an
// object can.
std::string shapeObjectText(const Shape& shape, const std::string& sourceName);

// The number as the compiler reads it back exactly: the shortest form that round-trips.
std::string exactNumber(double value);

} // namespace wirevane
