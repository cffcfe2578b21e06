// Shape files read into an object: the largest object an OBJ can give, and a binary STL too
// large for one, which is refused as soon as it has more points than an object holds.
#include "formats/shapes/shape.h"
#include "formats/shapes/shapereaders.h"

#include <benchmark/benchmark.h>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

using namespace wirevane;

// 100 points on a spiral and 100 lines joining them in a ring.
std::string hundredPointObj() {
    std::string obj = "# spiral\n";
    for (int i = 0; i < 100; ++i)
        obj += "v " + std::to_string(6 * std::cos(i * 0.3)) + ' ' + std::to_string(i * 0.1 - 5) +
               ' ' + std::to_string(6 * std::sin(i * 0.3)) + '\n';
    for (int i = 1; i <= 100; ++i)
        obj += "l " + std::to_string(i) + ' ' + std::to_string(i % 100 + 1) + '\n';
    return obj;
}

// A strip of 2,000 triangles along a gently bent band, so no two lie in one plane.
std::string twoThousandTriangleStl() {
    std::string stl(80, ' ');
    auto put = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            stl += static_cast<char>(v >> (8 * i));
    };
    auto corner = [&](int i, int side) {
        const double a = i * 0.01;
        for (const double c :
             {std::cos(a) * (10 + side), std::sin(a) * (10 + side), i * 0.001 * side})
            put(std::bit_cast<std::uint32_t>(static_cast<float>(c)));
    };
    put(2000);
    for (int t = 0; t < 2000; ++t) {
        const int i = t / 2;
        for (int k = 0; k < 3; ++k)
            put(0);
        if (t % 2 == 0) {
            corner(i, 0), corner(i, 1), corner(i + 1, 0);
        } else {
            corner(i + 1, 0), corner(i, 1), corner(i + 1, 1);
        }
        stl += std::string(2, '\0');
    }
    return stl;
}

void BM_ImportObj100Points(benchmark::State& state) {
    const std::string obj = hundredPointObj();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            shapeObjectText(readObjShape(obj, FaceEdges::ShapeOnly), "spiral.obj"));
}
BENCHMARK(BM_ImportObj100Points)->Unit(benchmark::kMicrosecond);

void BM_RefuseStl2000Triangles(benchmark::State& state) {
    const std::string stl = twoThousandTriangleStl();
    for (auto _ : state) {
        try {
            shapeObjectText(readStlShape(stl, FaceEdges::ShapeOnly), "band.stl");
            state.SkipWithError("a shape of 2,000 triangles was not refused");
        } catch (const ShapeError& error) {
            benchmark::DoNotOptimize(error.message);
        }
    }
}
BENCHMARK(BM_RefuseStl2000Triangles)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
