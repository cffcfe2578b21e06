#pragma once

#include "core/documents/objectfile.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace wirevane {

// Raw DEFLATE streams (RFC 1951: no zlib or gzip header), as share links carry them, through
// zlib. The core links no zlib; the web page compresses in the browser instead.
std::string deflateRaw(std::string_view bytes); // best compression

// Inflates one whole stream. Refuses with a reason, leaving bytes untouched, a damaged or cut-off
// stream, bytes after its end, and one that unpacks to more than limit bytes: it stops there,
// so a small stream cannot unpack into gigabytes.
bool inflateRaw(std::string_view deflated, std::size_t limit, std::string& bytes,
                std::string& reason);

// The share link of values at base; refuses base holding '#' and values no link can carry (a
// text an object file cannot store, a payload larger than a link may hold).
ObjectFileResult makeShareLink(std::string_view base, const ObjectFileValues& values,
                               std::string& link);

// The values a share link holds; on failure says why and leaves values untouched.
ObjectFileResult readShareLink(std::string_view link, ObjectFileValues& values);

} // namespace wirevane
