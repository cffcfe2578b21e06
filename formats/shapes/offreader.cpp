// OFF: a header line, the counts of points and faces, the points, the faces (a corner count,
// then point numbers from 0). Colours and other values after them are ignored.
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapetokens.h"

namespace wirevane {

using namespace shapetext;

namespace {

bool isOffKeyword(std::string_view word) {
    // OFF, COFF, NOFF, STOFF, ...: extras per point that this reader ignores. 4OFF and nOFF
    // have other dimensions.
    return word.ends_with("OFF") && word.find_first_of("4n") == std::string_view::npos;
}

} // namespace

Shape readOffShape(std::string_view bytes, FaceEdges faceEdges) {
    ShapeBuilder builder(faceEdges);
    Lines lines(withoutByteOrderMark(bytes, true));
    // The next line with fields, comments and blank lines skipped.
    std::string_view line;
    auto nextFields = [&](const char* expected) {
        while (lines.next(line)) {
            std::vector<std::string_view> f = fields(line, '#');
            if (!f.empty())
                return f;
        }
        throw ShapeError{lineName(lines.number()) + ": the file ends before " + expected};
    };

    std::vector<std::string_view> f = nextFields("the OFF header");
    if (!isOffKeyword(f[0]))
        throw ShapeError{lineName(lines.number()) + ": an OFF file begins with OFF"};
    f.erase(f.begin());
    if (f.empty())
        f = nextFields("the counts of points and faces");
    if (f.size() < 2)
        throw ShapeError{lineName(lines.number()) + ": the counts of points and faces are missing"};
    const int countLine = lines.number();
    const long long points = integer(f[0], countLine);
    const long long faces = integer(f[1], countLine);
    if (points < 0 || faces < 0)
        throw ShapeError{lineName(countLine) + ": a count is negative"};

    // No room is made for the counts the header claims: a lying header runs out of lines.
    for (long long i = 0; i < points; ++i) {
        f = nextFields("all points are read");
        if (f.size() < 3)
            throw ShapeError{lineName(lines.number()) + ": a point needs x, y and z"};
        const int at = lines.number();
        builder.addPoint(number(f[0], at), number(f[1], at), number(f[2], at),
                         Place{"line", static_cast<std::size_t>(at)});
    }
    std::vector<int> corners;
    for (long long i = 0; i < faces; ++i) {
        f = nextFields("all faces are read");
        const int at = lines.number();
        const long long count = integer(f[0], at);
        if (count < 3)
            throw ShapeError{lineName(at) + ": a face needs at least 3 corners"};
        if (count > static_cast<long long>(f.size()) - 1)
            throw ShapeError{lineName(at) + ": the face has fewer corners than its count"};
        corners.clear();
        for (long long c = 1; c <= count; ++c) {
            const long long index = integer(f[c], at);
            if (index < 0 || index >= points)
                throw ShapeError{lineName(at) + ": " + quoted(f[c]) + " names no point (points: " +
                                 std::to_string(points) + ", numbered from 0)"};
            corners.push_back(static_cast<int>(index + 1));
        }
        builder.addFace(corners);
    }
    return builder.finish();
}

} // namespace wirevane
