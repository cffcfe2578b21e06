#pragma once

#include "core/documents/objectfile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wirevane {

// A share link is BASE#v1.DATA. DATA is the base64url text (no padding) of the raw DEFLATE
// stream of the payload; the payload is five header lines, each ending in one LF (axis order as
// axisOrderText writes it, object, background and cross colour as RRGGBB, cross switch 1 or 0),
// then the object text exactly as ObjectFileValues holds it. Links are a promise to users: a
// link made once opens in every later version, so this format only ever grows a new version.
// Compression lives with each front end (zlib in the tool, the browser's in the page).
constexpr std::string_view kShareLinkVersion = "v1";

// Readers stop inflating past this many payload bytes, so a small link cannot unpack into
// gigabytes. It holds every object a file can: 10525 text bytes of up to three UTF-8 bytes each
// and the header.
constexpr std::size_t kMaxShareLinkPayload = 32 * 1024;

// The most a valid link's deflated payload can take: deflate stores what it cannot shrink with
// five bytes a block of up to 64 KiB; the rest is room for other encoders.
constexpr std::size_t kMaxShareLinkDeflated = kMaxShareLinkPayload + kMaxShareLinkPayload / 64;

// No valid link holds more characters after its '#' (version and data). A reader may pass on
// only this much of a longer link, and one more character: it is refused as too long all the
// same.
constexpr std::size_t kMaxShareLinkFragment = 16 + (kMaxShareLinkDeflated + 2) / 3 * 4;

// The payload of an object's values. The values are those an object file can hold (a finite
// axis order, a text the code page stores); a colour keeps its low 24 bits.
std::string shareLinkPayload(const ObjectFileValues& values);

// Reads a payload into values; on failure says why as a sentence and leaves values untouched.
// What it accepts an object file can always store.
ObjectFileResult readShareLinkPayload(std::string_view payload, ObjectFileValues& values);

// Base64url without padding (RFC 4648 section 5). Reading refuses any other character,
// padding, a length that leaves a lone character, and set bits in the unused tail.
std::string toBase64Url(std::string_view bytes);
std::optional<std::string> fromBase64Url(std::string_view text); // nullopt when malformed

// The link at base (which holds no '#') to a deflated payload: base + "#v1." + base64url.
std::string shareLink(std::string_view base, std::string_view deflated);

// The deflated payload a link holds after its first '#': refuses a link without one, another
// version than v1, malformed base64url and data longer than any valid link's, the last before
// decoding anything. deflated is set only on success.
ObjectFileResult shareLinkData(std::string_view link, std::string& deflated);

} // namespace wirevane
