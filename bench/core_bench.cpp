// Compiling and drawing one object of the size the tables allow: 100 points, 101 rows.
#include "core/engine/objectcompiler.h"
#include "core/engine/recordingsurface.h"
#include "core/engine/renderer.h"
#include "surfaces/imagesurface.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <string>

namespace {

using namespace wirevane;

// 100 points on a spiral, the separator, then 100 connections: 101 rows.
ObjectInput fullObject() {
    ObjectInput input = defaultObjectInput();
    input.crossState = 1;
    for (int i = 0; i < 100; ++i) {
        const double a = i * 0.3;
        input.text += std::to_string(6 * std::cos(a)) + "/" + std::to_string(i * 0.1 - 5) + "/" +
                      std::to_string(6 * std::sin(a)) + "\r\n";
    }
    input.text += "\r\n";
    for (int i = 1; i <= 100; ++i)
        input.text +=
            std::to_string(i) + "-" + std::to_string(i % 100 + 1) + (i < 100 ? "\r\n" : "");
    return input;
}

void BM_Compile(benchmark::State& state) {
    const ObjectInput input = fullObject();
    Scene scene;
    for (auto _ : state) {
        benchmark::DoNotOptimize(compileObject(scene, &input));
    }
    if (scene.pointCount != 100 || scene.connectionCount != 101)
        state.SkipWithError("the object did not fill the tables");
}
BENCHMARK(BM_Compile);

// One turning step per call, so every call draws.
template <typename SurfaceType>
void drawTurning(benchmark::State& state, SurfaceType& surface, bool showData = true) {
    const ObjectInput input = fullObject();
    Scene scene;
    compileObject(scene, &input);
    RendererState rendererState;
    const RenderOptions options{showData, false};
    for (auto _ : state) {
        scene.turnXZ = 2;
        scene.zoomFactor = 1;
        benchmark::DoNotOptimize(drawScene(scene, rendererState, surface, options));
    }
}

void BM_DrawSceneRecording(benchmark::State& state) {
    RecordingSurface surface;
    drawTurning(state, surface);
}
BENCHMARK(BM_DrawSceneRecording);

void BM_DrawSceneRecordingNoData(benchmark::State& state) {
    RecordingSurface surface;
    drawTurning(state, surface, false);
}
BENCHMARK(BM_DrawSceneRecordingNoData);

void BM_DrawSceneImage(benchmark::State& state) {
    ImageSurface surface(PictureSize::kAnimationWidth, PictureSize::kAnimationHeight);
    drawTurning(state, surface);
}
BENCHMARK(BM_DrawSceneImage);

} // namespace

BENCHMARK_MAIN();
