// The object text as typed, with the name and axis order cut from the front of the input.
#include "core/engine/objectcompiler.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = bytes.find('\0');
    wirevane::ObjectInput input;
    input.axisOrderText = bytes.substr(0, cut == std::string::npos ? 0 : cut);
    input.text = cut == std::string::npos ? bytes : bytes.substr(cut + 1);
    input.name = "noname.kfm";
    wirevane::Scene scene;
    const auto result = wirevane::compileObject(scene, &input);
    if (scene.pointCount < 0 || scene.pointCount > wirevane::kMaxPoints ||
        scene.connectionCount < 0 || scene.connectionCount > wirevane::kMaxConnectionRows)
        __builtin_trap();
    (void)result;
    return 0;
}
