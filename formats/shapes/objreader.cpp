// Wavefront OBJ: v, l and f; every other statement is ignored. Our own reader rather than
// tinyobjloader, which reads "0.3" as 0.30000000000000004 (so a written object would not come
// back as it was), reads "nan" and unreadable numbers as 0 without a word, and keeps a shape's
// lines apart from its faces, which loses the order connections are first met in.
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapetokens.h"

namespace wirevane {

using namespace shapetext;

namespace {

// A corner "7", "7/2", "7/2/5" or "7//5", or a negative number counting back from the last point.
int pointNumber(std::string_view field, int points, int line) {
    const std::string_view index = field.substr(0, field.find('/'));
    const long long value = integer(index, line);
    const long long number = value < 0 ? points + 1 + value : value;
    if (value == 0 || number < 1 || number > points)
        throw ShapeError{lineName(line) + ": " + quoted(index) +
                         " names no point (points so far: " + std::to_string(points) + ")"};
    return static_cast<int>(number);
}

} // namespace

Shape readObjShape(std::string_view bytes, FaceEdges faceEdges) {
    ShapeBuilder builder(faceEdges);
    Lines lines(withoutByteOrderMark(bytes, true));
    std::vector<int> corners;
    std::string joined;
    for (std::string_view line; lines.next(line);) {
        const int at = lines.number();
        // A line that ends in a backslash goes on in the next one.
        if (line.ends_with('\\')) {
            joined.assign(line.substr(0, line.size() - 1));
            for (std::string_view more; lines.next(more);) {
                joined += ' ';
                joined += more;
                if (!more.ends_with('\\'))
                    break;
                joined.pop_back();
            }
            line = joined;
        }
        const std::vector<std::string_view> f = fields(line, '#');
        if (f.empty())
            continue;
        if (f[0] == "v") {
            // x y z, then w or a colour that some programs add
            if (f.size() < 4)
                throw ShapeError{lineName(at) + ": a point needs x, y and z"};
            for (std::size_t i = 4; i < f.size(); ++i)
                number(f[i], at);
            builder.addPoint(number(f[1], at), number(f[2], at), number(f[3], at),
                             Place{"line", static_cast<std::size_t>(at)});
        } else if (f[0] == "l" || f[0] == "f") {
            const bool face = f[0] == "f";
            if (f.size() < (face ? 4u : 3u))
                throw ShapeError{lineName(at) + (face ? ": a face needs at least 3 corners"
                                                      : ": a line needs at least 2 points")};
            corners.clear();
            for (std::size_t i = 1; i < f.size(); ++i)
                corners.push_back(pointNumber(f[i], builder.pointCount(), at));
            if (face) {
                builder.addFace(corners);
            } else {
                for (std::size_t i = 0; i + 1 < corners.size(); ++i)
                    builder.addLine(corners[i], corners[i + 1]);
            }
        }
    }
    return builder.finish();
}

} // namespace wirevane
