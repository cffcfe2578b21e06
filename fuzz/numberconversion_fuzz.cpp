#include "core/engine/numberconversion.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view field(reinterpret_cast<const char*>(data), size);
    const wirevane::ConvertedNumber n = wirevane::convertNumber(field);
    if (n.overflow && n.value != 0)
        __builtin_trap();
    return 0;
}
