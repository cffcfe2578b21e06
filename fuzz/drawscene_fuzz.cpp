// Fuzzed object text and view values through a few drawings: no crash, no undefined
// behaviour, and a bounded number of attempts per drawing.
#include "core/engine/objectcompiler.h"
#include "core/engine/recordingsurface.h"
#include "core/engine/renderer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

double takeDouble(const std::uint8_t*& data, std::size_t& size) {
    double value = 0;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wirevane::Scene scene;
    const double turnXZ = takeDouble(data, size);
    const double turnYZ = takeDouble(data, size);
    const double zoom = takeDouble(data, size);
    const std::uint8_t flags = size > 0 ? data[0] : 0;
    wirevane::ObjectInput input;
    input.name = "noname.kfm";
    input.axisOrderText = "0";
    input.crossState = flags & 1;
    input.text.assign(reinterpret_cast<const char*>(data), size);
    wirevane::compileObject(scene, &input);

    wirevane::RecordingSurface surface;
    surface.limitToDevice();
    wirevane::RendererState state;
    const wirevane::RenderOptions options{(flags & 2) != 0, (flags & 4) != 0};
    for (int call = 0; call < 3; ++call) {
        scene.turnXZ = turnXZ;
        scene.turnYZ = turnYZ;
        scene.zoomFactor = zoom;
        scene.forceRedraw = (flags >> 3) & 1;
        const auto outcome = wirevane::drawScene(scene, state, surface, options);
        if (outcome.attempts > 200)
            __builtin_trap();
    }
    return 0;
}
