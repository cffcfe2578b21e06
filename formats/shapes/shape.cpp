#include "formats/shapes/shape.h"

#include "core/documents/filenames.h"
#include "core/engine/floatingtext.h"
#include "core/engine/scene.h"
#include "formats/shapes/shapewriting.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace wirevane {
namespace {

// Two unit normals this close to parallel are one plane; the slack absorbs the rounding of
// coordinates stored as single floats (STL), far below any fold a model means.
constexpr double kCoplanarSlack = 1e-10;

Shape::Point faceNormal(const std::vector<Shape::Point>& points, const std::vector<int>& corners) {
    // Newell's method: sound for any planar polygon, convex or not.
    Shape::Point n;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Shape::Point& p = points[corners[i] - 1];
        const Shape::Point& q = points[corners[(i + 1) % corners.size()] - 1];
        n.x += (p.y - q.y) * (p.z + q.z);
        n.y += (p.z - q.z) * (p.x + q.x);
        n.z += (p.x - q.x) * (p.y + q.y);
    }
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (!(length > 0) || !std::isfinite(length))
        return {};
    return {n.x / length, n.y / length, n.z / length};
}

bool sameAttitude(const Shape::Point& a, const Shape::Point& b) {
    const double dot = a.x * b.x + a.y * b.y + a.z * b.z;
    // Either winding: files from the web do not wind their faces alike.
    return std::abs(dot) >= 1 - kCoplanarSlack;
}

} // namespace

void ShapeBuilder::addPoint(double x, double y, double z, Place where) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        throw ShapeError{where.text() + ": a coordinate is not a finite number"};
    // -0 is 0 to the compiler; write it as such.
    shape_.points.push_back({x + 0.0, y + 0.0, z + 0.0});
}

ShapeBuilder::EdgeUse& ShapeBuilder::use(int a, int b) {
    const std::uint64_t key = static_cast<std::uint64_t>(std::min(a, b)) << 32 |
                              static_cast<std::uint32_t>(std::max(a, b));
    const auto [it, added] = edgeIndex_.try_emplace(key, order_.size());
    if (added) {
        order_.emplace_back(a, b);
        uses_.emplace_back();
    }
    return uses_[it->second];
}

void ShapeBuilder::addLine(int a, int b) {
    use(a, b).line = true;
}

void ShapeBuilder::addFace(const std::vector<int>& corners) {
    const int face = static_cast<int>(normals_.size());
    normals_.push_back(faceNormal(shape_.points, corners));
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const int a = corners[i];
        const int b = corners[(i + 1) % corners.size()];
        if (a == b)
            continue;
        std::vector<int>& faces = use(a, b).faces;
        if (faces.empty() || faces.back() != face)
            faces.push_back(face);
    }
}

Shape ShapeBuilder::finish() {
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const EdgeUse& edge = uses_[i];
        bool keep = edge.line || faceEdges_ == FaceEdges::All || edge.faces.size() < 2;
        if (!keep) {
            const Shape::Point& first = normals_[edge.faces.front()];
            keep = !std::all_of(edge.faces.begin() + 1, edge.faces.end(),
                                [&](int f) { return sameAttitude(first, normals_[f]); });
        }
        if (keep)
            shape_.edges.push_back(order_[i]);
    }
    return std::move(shape_);
}

std::string exactNumber(double value) {
    return shortestText(value + 0.0);
}

std::string shapeObjectText(const Shape& shape, const std::string& sourceName) {
    const std::size_t points = shape.points.size();
    const std::size_t connections = shape.edges.size();
    if (points > static_cast<std::size_t>(kMaxPoints) ||
        connections > static_cast<std::size_t>(kMaxConnectionRows - 1))
        throw ShapeError{fileNamePart(sourceName) + " has " + std::to_string(points) +
                         " points and " + std::to_string(connections) +
                         " connections; an object holds at most " + std::to_string(kMaxPoints) +
                         " points and " + std::to_string(kMaxConnectionRows - 1) + " connections."};
    // A line break in a file name would end the remark and start a point line.
    std::string text = "' From " + oneLine(fileNamePart(sourceName));
    for (const Shape::Point& p : shape.points)
        text += "\r\n" + exactNumber(p.x) + '/' + exactNumber(p.y) + '/' + exactNumber(p.z);
    text += "\r\n"; // the separator line
    for (const auto& [a, b] : shape.edges)
        text += "\r\n" + std::to_string(a) + '-' + std::to_string(b);
    // No line break after the last connection: the compiler would read one more, blank, row.
    return text;
}

} // namespace wirevane
