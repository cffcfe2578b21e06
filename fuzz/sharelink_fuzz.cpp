// The share-link reader on any bytes, taken as a payload, as base64url, as a deflate stream and
// as the part of a link after "#v1.": what it accepts must survive a round trip and a save.
#include "core/documents/sharelink.h"
#include "formats/raster/deflate.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void checkValues(const wirevane::ObjectFileValues& values) {
    std::string saved;
    if (!wirevane::encodeObjectFile(values, "", saved).ok())
        __builtin_trap();
    // Written again, "1e5" takes two characters more ("1e+05"), which a payload at the size
    // limit has no room for.
    const std::string payload = wirevane::shareLinkPayload(values);
    if (payload.size() > wirevane::kMaxShareLinkPayload)
        return;
    wirevane::ObjectFileValues again;
    if (!wirevane::readShareLinkPayload(payload, again).ok() || !(again == values))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    wirevane::ObjectFileValues values;
    if (wirevane::readShareLinkPayload(bytes, values).ok())
        checkValues(values);

    // Reading refuses every text but the one the writer makes.
    if (const auto decoded = wirevane::fromBase64Url(bytes);
        decoded && wirevane::toBase64Url(*decoded) != bytes)
        __builtin_trap();

    std::string inflated;
    std::string reason;
    if (wirevane::inflateRaw(bytes, wirevane::kMaxShareLinkPayload, inflated, reason) &&
        inflated.size() > wirevane::kMaxShareLinkPayload)
        __builtin_trap();

    wirevane::ObjectFileValues linked;
    if (wirevane::readShareLink("#v1." + wirevane::toBase64Url(bytes), linked).ok())
        checkValues(linked);
    return 0;
}
