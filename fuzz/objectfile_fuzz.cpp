// The object-file reader on any bytes; what it accepts must save and read back unchanged.
#include "core/documents/objectfile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    wirevane::ObjectFileValues values;
    if (!wirevane::decodeObjectFile(bytes, values).ok())
        return 0;
    std::string saved;
    if (!wirevane::encodeObjectFile(values, bytes, saved).ok())
        __builtin_trap();
    wirevane::ObjectFileValues again;
    if (!wirevane::decodeObjectFile(saved, again).ok() || !(again == values) ||
        saved.size() < wirevane::kObjectFileLength)
        __builtin_trap();
    return 0;
}
