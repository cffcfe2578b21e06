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

using Point = Shape::Point;

Point minus(const Point& a, const Point& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double dot(const Point& a, const Point& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Newell's method: sound for any planar polygon, convex or not.
Point faceNormal(const std::vector<Point>& corners) {
    Point n;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point& p = corners[i];
        const Point& q = corners[(i + 1) % corners.size()];
        n.x += (p.y - q.y) * (p.z + q.z);
        n.y += (p.z - q.z) * (p.x + q.x);
        n.z += (p.x - q.x) * (p.y + q.y);
    }
    const double length = std::sqrt(dot(n, n));
    if (!(length > 0) || !std::isfinite(length))
        return {};
    return {n.x / length, n.y / length, n.z / length};
}

// Real files carry the rounding of their exporters: diagonals a few hundredths of a degree out
// of plane are still diagonals, while a fold a model means is far larger.
bool onePlane(const Point& a, const Point& b) {
    static const double kLeast = std::cos(kFlatSideDegrees * std::acos(-1.0) / 180);
    // Either winding: files from the web do not wind their faces alike.
    return std::abs(dot(a, b)) >= kLeast;
}

} // namespace

std::size_t ShapeBuilder::KeyHash::operator()(const Key& k) const {
    return std::hash<std::uint64_t>()(k.x * 0x9E3779B97F4A7C15u ^ k.y * 0xC2B2AE3D27D4EB4Fu ^ k.z);
}

void ShapeBuilder::addPoint(double x, double y, double z, Place where) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        throw ShapeError{where.text() + ": a coordinate is not a finite number"};
    // -0 is 0 to the compiler and the same place; write it as such.
    const Point point{x + 0.0, y + 0.0, z + 0.0};
    const Key key{bitCast<std::uint64_t>(point.x), bitCast<std::uint64_t>(point.y),
                  bitCast<std::uint64_t>(point.z)};
    const auto [found, added] =
        pointAt_.try_emplace(key, static_cast<int>(shape_.points.size()) + 1);
    if (added) {
        if (shape_.points.size() >= static_cast<std::size_t>(kMaxPoints))
            throw ShapeError{"the shape has more than " + std::to_string(kMaxPoints) +
                             " points; an object holds at most " + std::to_string(kMaxPoints) +
                             " points and " + std::to_string(kMaxConnectionRows - 1) +
                             " connections."};
        shape_.points.push_back(point);
    }
    shapeNumber_.push_back(found->second);
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
    a = shapeNumber_[a - 1];
    b = shapeNumber_[b - 1];
    if (a != b)
        use(a, b).line = true;
}

void ShapeBuilder::addFace(const std::vector<int>& fileCorners) {
    const int face = faceCount_++;
    std::vector<Point> corners;
    Point middle;
    for (const int corner : fileCorners) {
        corners.push_back(shape_.points[shapeNumber_[corner - 1] - 1]);
        middle = {middle.x + corners.back().x, middle.y + corners.back().y,
                  middle.z + corners.back().z};
    }
    const double n = static_cast<double>(corners.size());
    middle = {middle.x / n, middle.y / n, middle.z / n};
    const Point normal = faceNormal(corners);
    for (std::size_t i = 0; i < fileCorners.size(); ++i) {
        const int a = shapeNumber_[fileCorners[i] - 1];
        const int b = shapeNumber_[fileCorners[(i + 1) % fileCorners.size()] - 1];
        if (a == b)
            continue;
        EdgeUse& edge = use(a, b);
        if (edge.lastFace == face || edge.faces > 2)
            continue;
        edge.lastFace = face;
        // The middle's offset square to the edge, the same way round for every face.
        const Point& from = shape_.points[std::min(a, b) - 1];
        const Point along = minus(shape_.points[std::max(a, b) - 1], from);
        const Point toMiddle = minus(middle, from);
        const double t = dot(toMiddle, along) / dot(along, along);
        const Point inward{toMiddle.x - t * along.x, toMiddle.y - t * along.y,
                           toMiddle.z - t * along.z};
        if (edge.faces < 2)
            edge.sides[edge.faces] = {normal, inward};
        ++edge.faces;
    }
}

Shape ShapeBuilder::finish() {
    if (shape_.points.empty())
        throw ShapeError{"the file holds no points"};
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const EdgeUse& edge = uses_[i];
        // Two faces of one flat side lie on either side of their shared edge; faces folded
        // back onto each other lie on the same side, and their edge is a real one.
        const bool diagonal = !edge.line && faceEdges_ == FaceEdges::ShapeOnly && edge.faces == 2 &&
                              onePlane(edge.sides[0].normal, edge.sides[1].normal) &&
                              dot(edge.sides[0].inward, edge.sides[1].inward) < 0;
        if (!diagonal)
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
