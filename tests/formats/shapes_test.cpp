#include "core/engine/objectcompiler.h"
#include "formats/shapes/shape.h"
#include "formats/shapes/shapeimport.h"
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapewriters.h"

#include <bit>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace wirevane {
namespace {

// The unit cube: corner i at (i & 1, i >> 1 & 1, i >> 2 & 1), each side two triangles.
constexpr int kCubeTriangles[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 5, 7}, {4, 7, 6},
                                       {0, 1, 5}, {0, 5, 4}, {2, 3, 7}, {2, 7, 6},
                                       {0, 2, 6}, {0, 6, 4}, {1, 3, 7}, {1, 7, 5}};
double corner(int i, int axis) {
    return (i >> axis) & 1;
}

std::string cubeObj() {
    std::string s = "# cube\nvn 0 0 1\n";
    for (int i = 0; i < 8; ++i)
        s += "v " + std::to_string(i & 1) + ' ' + std::to_string(i >> 1 & 1) + ' ' +
             std::to_string(i >> 2 & 1) + '\n';
    for (const auto& t : kCubeTriangles)
        s += "f " + std::to_string(t[0] + 1) + "//1 " + std::to_string(t[1] + 1) + "//1 " +
             std::to_string(t[2] - 8) + "//1\n"; // the last corner counted back
    return s;
}
std::string cubeOff() {
    std::string s = "OFF\n# cube\n8 12 0\n";
    for (int i = 0; i < 8; ++i)
        s += std::to_string(i & 1) + ' ' + std::to_string(i >> 1 & 1) + ' ' +
             std::to_string(i >> 2 & 1) + '\n';
    for (const auto& t : kCubeTriangles)
        s += "3 " + std::to_string(t[0]) + ' ' + std::to_string(t[1]) + ' ' + std::to_string(t[2]) +
             " 255 0 0\n";
    return s;
}
std::string cubeStlAscii() {
    std::string s = "solid cube\n";
    for (const auto& t : kCubeTriangles) {
        s += "facet normal 0 0 0\n outer loop\n";
        for (int c : t)
            s += "  vertex " + std::to_string(c & 1) + ' ' + std::to_string(c >> 1 & 1) + ' ' +
                 std::to_string(c >> 2 & 1) + '\n';
        s += " endloop\nendfacet\n";
    }
    return s + "endsolid cube\n";
}
void put32(std::string& s, std::uint32_t v, bool big = false) {
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>(v >> (big ? 24 - 8 * i : 8 * i));
}
std::string cubeStlBinary() {
    std::string s = "solid but binary" + std::string(64, ' ');
    put32(s, 12);
    for (const auto& t : kCubeTriangles) {
        for (int k = 0; k < 3; ++k)
            put32(s, 0);
        for (int c : t)
            for (int axis = 0; axis < 3; ++axis)
                put32(s, std::bit_cast<std::uint32_t>(static_cast<float>(corner(c, axis))));
        s += std::string(2, '\0');
    }
    return s;
}
std::string plyHeader(const std::string& format, int vertices, int faces) {
    return "ply\nformat " + format + " 1.0\ncomment cube\nelement vertex " +
           std::to_string(vertices) +
           "\nproperty float x\nproperty float y\nproperty float z\nproperty uchar red\n"
           "element face " +
           std::to_string(faces) + "\nproperty list uchar int vertex_indices\nend_header\n";
}
std::string cubePlyAscii() {
    std::string s = plyHeader("ascii", 8, 12);
    for (int i = 0; i < 8; ++i)
        s += std::to_string(i & 1) + ' ' + std::to_string(i >> 1 & 1) + ' ' +
             std::to_string(i >> 2 & 1) + " 200\n";
    for (const auto& t : kCubeTriangles)
        s += "3 " + std::to_string(t[0]) + ' ' + std::to_string(t[1]) + ' ' + std::to_string(t[2]) +
             '\n';
    return s;
}
std::string cubePlyBinary(bool big) {
    std::string s = plyHeader(big ? "binary_big_endian" : "binary_little_endian", 8, 12);
    for (int i = 0; i < 8; ++i) {
        for (int axis = 0; axis < 3; ++axis)
            put32(s, std::bit_cast<std::uint32_t>(static_cast<float>(corner(i, axis))), big);
        s += '\xC8';
    }
    for (const auto& t : kCubeTriangles) {
        s += '\3';
        for (int c : t)
            put32(s, c, big);
    }
    return s;
}

// The unit cube as six quads that each repeat their corners, as many exporters write it.
constexpr int kCubeQuads[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                  {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
std::string cubeQuadsObj() {
    std::string s;
    for (const auto& q : kCubeQuads) {
        for (int c : q)
            s += "v " + std::to_string(c & 1) + ' ' + std::to_string(c >> 1 & 1) + ' ' +
                 std::to_string(c >> 2 & 1) + '\n';
        s += "f -4 -3 -2 -1\n";
    }
    return s;
}
std::string cubeQuadsOff() {
    std::string s = "OFF\n24 6 0\n";
    for (const auto& q : kCubeQuads)
        for (int c : q)
            s += std::to_string(c & 1) + ' ' + std::to_string(c >> 1 & 1) + ' ' +
                 std::to_string(c >> 2 & 1) + '\n';
    for (int f = 0; f < 6; ++f)
        s += "4 " + std::to_string(4 * f) + ' ' + std::to_string(4 * f + 1) + ' ' +
             std::to_string(4 * f + 2) + ' ' + std::to_string(4 * f + 3) + '\n';
    return s;
}
// A unit square split along 1-3 (OBJ numbers), corner 3 raised by height: folded by 0.2 degrees
// at 0.0025 and by 0.05 degrees at 0.0006.
std::string foldedSquare(const char* height) {
    return std::string("v 0 0 0\nv 1 0 0\nv 1 1 ") + height + "\nv 0 1 0\nf 1 2 3\nf 1 3 4\n";
}
const std::string kPlySquareVertices = "element vertex 4\nproperty float x\nproperty float y\n"
                                       "property float z\n";
const std::string kPlySquarePoints = "0 0 0\n1 0 0\n1 1 0\n0 1 0\n";
std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
const std::string kByteOrderMark = "\xEF\xBB\xBF";

TEST(ShapeReaders, KeepOnlyTheEdgesOfTheShapeUnlessAllAreAsked) {
    struct Case {
        const char* name;
        ShapeFormat format;
        std::string bytes;
        std::size_t points, shapeEdges, allEdges;
    };
    const Case cases[] = {
        {"OBJ cube", ShapeFormat::Obj, cubeObj(), 8, 12, 18},
        {"OFF cube", ShapeFormat::Off, cubeOff(), 8, 12, 18},
        {"ASCII STL cube, corners welded", ShapeFormat::Stl, cubeStlAscii(), 8, 12, 18},
        {"binary STL cube", ShapeFormat::Stl, cubeStlBinary(), 8, 12, 18},
        {"ASCII PLY cube", ShapeFormat::Ply, cubePlyAscii(), 8, 12, 18},
        {"little-endian PLY cube", ShapeFormat::Ply, cubePlyBinary(false), 8, 12, 18},
        {"big-endian PLY cube", ShapeFormat::Ply, cubePlyBinary(true), 8, 12, 18},
        // a line along a flat face's diagonal is kept all the same
        {"OBJ cube and a line", ShapeFormat::Obj, cubeObj() + "l 1 4\n", 8, 13, 18},
        // no two faces of a tetrahedron lie in one plane
        {"tetrahedron", ShapeFormat::Off,
         "OFF 4 4 0\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 1 2\n3 0 1 3\n3 0 2 3\n3 1 2 3\n", 4, 6, 6},
        // a square as two triangles wound opposite ways is still flat
        {"square, mixed winding", ShapeFormat::Obj,
         "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 4 3\n", 4, 4, 5},
        {"unused OBJ points kept", ShapeFormat::Obj, "v 0 0 0\nv 1 1 1\nv 2 2 2\nl 3 1\n", 3, 1, 1},
        // a double-sided triangle: its faces lie on the same side of every edge
        {"faces folded onto each other", ShapeFormat::Off,
         "OFF\n3 2 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n3 0 2 1\n", 3, 3, 3},
        {"square folded by 0.2 degrees", ShapeFormat::Obj, foldedSquare("0.0025"), 4, 5, 5},
        {"square folded by 0.05 degrees", ShapeFormat::Obj, foldedSquare("0.0006"), 4, 4, 5},
        {"OBJ quads repeating their corners", ShapeFormat::Obj, cubeQuadsObj(), 8, 12, 12},
        {"OFF quads repeating their corners", ShapeFormat::Off, cubeQuadsOff(), 8, 12, 12},
        {"OBJ after a byte-order mark", ShapeFormat::Obj, kByteOrderMark + cubeObj(), 8, 12, 18},
        {"STL after a byte-order mark", ShapeFormat::Stl, kByteOrderMark + cubeStlAscii(), 8, 12,
         18},
        {"PLY after a byte-order mark", ShapeFormat::Ply, kByteOrderMark + cubePlyAscii(), 8, 12,
         18},
        {"ASCII STL in capitals", ShapeFormat::Stl, upper(cubeStlAscii()), 8, 12, 18},
        {"OBJ lines continued", ShapeFormat::Obj,
         "v 0 0 \\\n0\nv 1 0 0\nv 0 1 0\nf 1 \\\n2 \\\n3\n", 3, 3, 3},
        {"PLY faces before the points", ShapeFormat::Ply,
         "ply\nformat ascii 1.0\nelement face 2\nproperty list uchar int vertex_indices\n" +
             kPlySquareVertices + "end_header\n3 0 1 2\n3 0 2 3\n" + kPlySquarePoints,
         4, 4, 5},
        {"PLY triangle strips", ShapeFormat::Ply,
         "ply\nformat ascii 1.0\n" + kPlySquareVertices +
             "element tristrips 1\nproperty list int int vertex_indices\nend_header\n" +
             kPlySquarePoints + "6 1 2 0 3 -1 1\n",
         4, 4, 5},
    };
    for (const Case& c : cases) {
        for (const FaceEdges mode : {FaceEdges::ShapeOnly, FaceEdges::All}) {
            try {
                const Shape shape = readShape(c.format, c.bytes, mode);
                EXPECT_EQ(shape.points.size(), c.points) << c.name;
                EXPECT_EQ(shape.edges.size(), mode == FaceEdges::All ? c.allEdges : c.shapeEdges)
                    << c.name << (mode == FaceEdges::All ? ", all edges" : "");
            } catch (const ShapeError& error) {
                ADD_FAILURE() << c.name << ": " << error.message;
            }
        }
    }
}

std::string oneTriangleStl(float x, float y) {
    std::string s(80, ' ');
    put32(s, 1);
    for (const float v : {0.f, 0.f, 0.f, 0.f, 0.f, 0.f, x, 0.f, 0.f, 0.f, y, 0.f})
        put32(s, std::bit_cast<std::uint32_t>(v));
    return s + std::string(2, '\0');
}

TEST(ShapeReaders, MakeTheObjectText) {
    struct Case {
        ShapeFormat format;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        // numbers as written, in first-met order, each connection once; w is ignored
        {ShapeFormat::Obj, "v 0.3 -0 1e-7 1\nv 1.5E+20 2 3\r\nv 4 5 6\nl 1 2 3 2 1\n",
         "' From in.obj\r\n0.3/0/1e-07\r\n1.5e+20/2/3\r\n4/5/6\r\n\r\n1-2\r\n2-3"},
        // a face gives its closing edge; an index counted back
        {ShapeFormat::Obj, "v 0 0 0\nv 1 0 0\nv 0 1 0\ng x\nusemtl y\nf 1/1/1 2/2/2 -1/3/3\n",
         "' From in.obj\r\n0/0/0\r\n1/0/0\r\n0/1/0\r\n\r\n1-2\r\n2-3\r\n3-1"},
        {ShapeFormat::Ply,
         "ply\nformat ascii 1.0\nelement vertex 2\nproperty double x\nproperty double y\n"
         "property double z\nelement edge 1\nproperty int vertex1\nproperty int vertex2\n"
         "end_header\n0.1 0.2 0.7\n-1 -2 -3\n1 0\n",
         "' From in.ply\r\n0.1/0.2/0.7\r\n-1/-2/-3\r\n\r\n2-1"},
        // no connections: the separator line ends the text
        {ShapeFormat::Off, "OFF\n1 0 0\n1 2 3\n", "' From in.off\r\n1/2/3\r\n"},
        // a repeated place is the point it first was
        {ShapeFormat::Obj, "v 1 1 1\nv 0 0 0\nv 1 1 1\nl 3 2\n",
         "' From in.obj\r\n1/1/1\r\n0/0/0\r\n\r\n1-2"},
        // float32 values as short as they read back
        {ShapeFormat::Stl, oneTriangleStl(19.999998f, 0.1f),
         "' From in.stl\r\n0/0/0\r\n19.999998/0/0\r\n0/0.1/0\r\n\r\n1-2\r\n2-3\r\n3-1"},
    };
    for (const Case& c : cases) {
        const std::string name = c.format == ShapeFormat::Obj   ? "in.obj"
                                 : c.format == ShapeFormat::Ply ? "in.ply"
                                 : c.format == ShapeFormat::Stl ? "in.stl"
                                                                : "in.off";
        try {
            EXPECT_EQ(shapeObjectText(readShape(c.format, c.bytes, FaceEdges::ShapeOnly),
                                      "/some/folder/" + name),
                      c.text);
        } catch (const ShapeError& error) {
            ADD_FAILURE() << c.bytes << ": " << error.message;
        }
    }
}

std::string distinctPoints(int count) {
    std::string s;
    for (int i = 1; i <= count; ++i)
        s += "v " + std::to_string(i) + " 0 0\n";
    return s;
}
std::string fifteenPointsAllPairs() {
    std::string s = distinctPoints(15);
    for (int a = 1; a <= 15; ++a)
        for (int b = a + 1; b <= 15; ++b)
            s += "l " + std::to_string(a) + ' ' + std::to_string(b) + '\n';
    return s;
}

TEST(ShapeReaders, RefuseWithWhereAndWhat) {
    struct Case {
        ShapeFormat format;
        std::string bytes;
        std::string message;
    };
    std::string shortBinary = std::string(80, 'x');
    put32(shortBinary, 2);
    shortBinary += std::string(60, '\0');
    std::string lyingSolid = "solid" + std::string(75, ' ');
    put32(lyingSolid, 5);
    lyingSolid += std::string(50, '\0');
    const std::string lyingPly =
        "ply\nformat binary_little_endian 1.0\nelement vertex 2147483648\nproperty float x\n"
        "property float y\nproperty float z\nend_header\n\1\2\3";
    const Case cases[] = {
        {ShapeFormat::Obj, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n",
         "line 4: '4' names no point (points so far: 3)"},
        {ShapeFormat::Obj, "v 1 2 3\nl 1 0\n", "line 2: '0' names no point (points so far: 1)"},
        {ShapeFormat::Obj, "v 0 nan 0\n", "line 1: a coordinate is not a finite number"},
        {ShapeFormat::Obj, "\n\nv 0 0 1e400\n", "line 3: '1e400' is too large"},
        {ShapeFormat::Obj, "v 0 0x1 0\n", "line 1: '0x1' is not a number"},
        {ShapeFormat::Obj, "v 1 2\n", "line 1: a point needs x, y and z"},
        {ShapeFormat::Obj, "v 1 2 3\nl 1 99999999999999999999\n",
         "line 2: '99999999999999999999' is not a whole number"},
        {ShapeFormat::Obj, distinctPoints(100) + "v 1 2 3\n" + distinctPoints(1),
         "the shape has more than 100 points; an object holds at most 100 points and 100 "
         "connections."},
        {ShapeFormat::Obj, "", "the file holds no points"},
        {ShapeFormat::Obj,
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         "the file is not text"},
        {ShapeFormat::Obj,
         "\xFF\xFEv\0 \0"
         "1\0",
         "the file is UTF-16 text; save it as UTF-8"},
        {ShapeFormat::Obj,
         std::string("v\0 \0"
                     "1\0",
                     6),
         "the file is UTF-16 text; save it as UTF-8"},
        {ShapeFormat::Stl, lyingSolid, "the file holds no points"},
        {ShapeFormat::Obj, fifteenPointsAllPairs(),
         "in.obj has 15 points and 105 connections; an object holds at most 100 points and 100 "
         "connections."},
        {ShapeFormat::Stl, shortBinary,
         "byte 80: the header counts 2 triangles, which take 184 bytes, but the file has 144"},
        {ShapeFormat::Stl, "abc", "byte 3: a binary STL file has at least 84 bytes"},
        {ShapeFormat::Stl, "solid x\nfacet normal 0 0 0\nouter loop\nvertex 1 2 inf\n",
         "line 4: a coordinate is not a finite number"},
        {ShapeFormat::Stl, "solid x\nouter loop\nvertex 1 2 3\nendloop\n",
         "line 4: a loop needs at least 3 vertices"},
        {ShapeFormat::Ply, lyingPly,
         "byte 124: the header claims 2147483648 vertex elements, more than the 3 bytes left "
         "can hold"},
        {ShapeFormat::Ply, plyHeader("ascii", 3, 1) + "0 0 0 1\n1 0 0 1\n0 1 0 1\n3 0 1 3\n",
         "line 15: face 1 of 1 names no point: 3 (points: 3, numbered from 0)"},
        {ShapeFormat::Ply, plyHeader("ascii", 3, 0) + "0 0 0 1\n1 0 0 1\n",
         "line 13: the file ends before vertex 3 of 3"},
        {ShapeFormat::Ply,
         "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\n"
         "property float z\nelement edge 1\nproperty float vertex1\nproperty float vertex2\n"
         "end_header\n0 0 0\n0 0.5\n",
         "line 12: edge 1 of 1 names no point: 0.5 (points: 1, numbered from 0)"},
        {ShapeFormat::Ply, "ply\nformat ascii 2.0\nend_header\n",
         "line 2: the format line is not of PLY 1.0"},
        {ShapeFormat::Ply, "plx\n", "line 1: a PLY file begins with 'ply'"},
        {ShapeFormat::Off, "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 3\n",
         "line 6: '3' names no point (points: 3, numbered from 0)"},
        {ShapeFormat::Off, "OFF\n1000000000 0 0\n0 0 0\n",
         "line 3: the file ends before all points are read"},
        {ShapeFormat::Off, "cube\n", "line 1: an OFF file begins with OFF"},
    };
    for (const Case& c : cases) {
        const std::string name = c.format == ShapeFormat::Obj ? "in.obj" : "in.x";
        try {
            shapeObjectText(readShape(c.format, c.bytes, FaceEdges::ShapeOnly), name);
            ADD_FAILURE() << "accepted: " << c.bytes.substr(0, 60);
        } catch (const ShapeError& error) {
            EXPECT_EQ(error.message, c.message);
        }
    }
}

std::string readExample(const std::string& name) {
    std::ifstream in(std::string(WIREVANE_EXAMPLES) + "/" + name, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    std::string crlf;
    for (char ch : text)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    return crlf;
}

Scene compiled(const std::string& text) {
    ObjectInput input = defaultObjectInput();
    input.text = text;
    Scene scene;
    EXPECT_TRUE(compileObject(scene, &input).completed);
    return scene;
}

// The connections that name two points, which is what a shape file can carry.
std::vector<std::pair<double, double>> namedConnections(const Scene& scene) {
    std::vector<std::pair<double, double>> result;
    for (int k = 2; k <= scene.connectionCount; ++k) {
        const double a = scene.connections[k][1], b = scene.connections[k][2];
        if (a >= 1 && a <= scene.pointCount && b >= 1 && b <= scene.pointCount)
            result.emplace_back(a, b);
    }
    return result;
}

TEST(ShapeWriters, GiveTheSameObjectBack) {
    const char* const objects[] = {"cube.txt",    "house.txt", "octahedron.txt",
                                   "pyramid.txt", "star.txt",  nullptr};
    const std::string awkward = "' numbers a decimal reader may get wrong\r\n0.3/-1e-07/"
                                "123456789.12345679\r\n2.2250738585072014e-308/5e-324/1e+300"
                                "\r\n\r\n1-2\r\n2-1\r\n1-0\r\n2-3";
    for (const char* const* name = objects;; ++name) {
        const std::string text = *name ? readExample(*name) : awkward;
        const Scene original = compiled(text);
        for (const ShapeFormat format : {ShapeFormat::Obj, ShapeFormat::Ply}) {
            const WrittenShape written = format == ShapeFormat::Obj ? writeObjShape(original, "x")
                                                                    : writePlyShape(original, "x");
            try {
                const Scene back = compiled(
                    shapeObjectText(readShape(format, written.bytes, FaceEdges::All), "x"));
                const std::string label =
                    (*name ? *name : "awkward numbers") +
                    std::string(format == ShapeFormat::Obj ? ", OBJ" : ", PLY");
                ASSERT_EQ(back.pointCount, original.pointCount) << label;
                for (int i = 1; i <= original.pointCount; ++i) {
                    EXPECT_EQ(back.rawX[i], original.rawX[i]) << label << " point " << i;
                    EXPECT_EQ(back.rawY[i], original.rawY[i]) << label << " point " << i;
                    EXPECT_EQ(back.rawZ[i], original.rawZ[i]) << label << " point " << i;
                }
                // 2-1 after 1-2 is the same connection, kept once
                auto expected = namedConnections(original);
                if (!*name)
                    expected.erase(expected.begin() + 1);
                EXPECT_EQ(namedConnections(back), expected) << label;
            } catch (const ShapeError& error) {
                ADD_FAILURE() << error.message;
            }
        }
        if (!*name)
            break;
    }
}

} // namespace
} // namespace wirevane

namespace wirevane {
namespace {

TEST(ImportShape, ANewObjectOrWhyNotNamingTheFile) {
    const struct {
        std::string path, bytes, reasonPart; // reasonPart empty: opens
    } cases[] = {
        {"/home/a/tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", ""},
        {"/home/a/big.stl", std::string((16 << 20) + 1, ' '),
         "The file /home/a/big.stl is larger than 16 MiB."},
        {"/home/a/bad.off", "OFF\n1 0 0\nx y z\n", "/home/a/bad.off: "},
        {"/home/a/notes.txt", "v 0 0 0\n", "not a shape file"},
    };
    for (const auto& c : cases) {
        const ImportedShape shape = importShape(c.path, c.bytes);
        if (c.reasonPart.empty()) {
            EXPECT_EQ(shape.reason, "") << c.path;
            EXPECT_NE(shape.text.find("tri.obj"), std::string::npos) << shape.text;
        } else {
            EXPECT_NE(shape.reason.find(c.reasonPart), std::string::npos) << shape.reason;
        }
    }
}

} // namespace
} // namespace wirevane
