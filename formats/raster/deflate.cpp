#include "formats/raster/deflate.h"

#include "core/documents/sharelink.h"

#include <climits>
#include <new>
#include <zlib.h>

namespace wirevane {
namespace {

constexpr int kRawWindowBits = -15; // negative: no zlib header or trailer
constexpr int kMemoryLevel = 8;     // zlib's default

} // namespace

std::string deflateRaw(std::string_view bytes) {
    if (bytes.size() > UINT_MAX)
        throw std::bad_alloc();
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kRawWindowBits, kMemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&stream, Z_FINISH); // the bound leaves room for one call
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::bad_alloc();
    return out;
}

bool inflateRaw(std::string_view deflated, std::size_t limit, std::string& bytes,
                std::string& reason) {
    if (deflated.size() > UINT_MAX || limit >= UINT_MAX) {
        reason = "The compressed data is too large.";
        return false;
    }
    z_stream stream{};
    if (inflateInit2(&stream, kRawWindowBits) != Z_OK)
        throw std::bad_alloc();
    // One byte of room past the limit tells a stream that fits from one that does not.
    std::string out(limit + 1, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflated.data()));
    stream.avail_in = static_cast<uInt>(deflated.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    const bool ended = status == Z_STREAM_END;
    const std::size_t produced = stream.total_out;
    const uInt left = stream.avail_in;
    inflateEnd(&stream);
    if (status == Z_MEM_ERROR)
        throw std::bad_alloc();
    if (produced > limit) {
        reason = "The compressed data unpacks to more than " + std::to_string(limit) + " bytes.";
        return false;
    }
    if (!ended) {
        reason = status == Z_DATA_ERROR ? "The compressed data is damaged."
                                        : "The compressed data is cut off.";
        return false;
    }
    if (left != 0) {
        reason = "The compressed data is followed by other bytes.";
        return false;
    }
    out.resize(produced);
    bytes = std::move(out);
    return true;
}

ObjectFileResult makeShareLink(std::string_view base, const ObjectFileValues& values,
                               std::string& link) {
    if (base.find('#') != std::string_view::npos)
        return {"The base of a link cannot hold '#', which starts the link's object."};
    const std::string payload = shareLinkPayload(values);
    // The reader's own rules, so every link made opens.
    ObjectFileValues check;
    if (ObjectFileResult result = readShareLinkPayload(payload, check); !result.ok())
        return result;
    link = shareLink(base, deflateRaw(payload));
    return {};
}

ObjectFileResult readShareLink(std::string_view link, ObjectFileValues& values) {
    std::string deflated;
    if (ObjectFileResult result = shareLinkData(link, deflated); !result.ok())
        return result;
    std::string payload;
    std::string reason;
    if (!inflateRaw(deflated, kMaxShareLinkPayload, payload, reason))
        return {"The link cannot be opened. " + reason};
    return readShareLinkPayload(payload, values);
}

} // namespace wirevane
