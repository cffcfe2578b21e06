#include "core/documents/sharelink.h"

#include "core/engine/numberconversion.h"

#include <array>

namespace wirevane {
namespace {

constexpr std::string_view kBase64UrlAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr int kHeaderLines = 5;

int base64UrlValue(char c) {
    const auto at = kBase64UrlAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Red first, as people write colours; the Colour keeps red in its low byte.
void appendColour(std::string& out, Colour colour) {
    const auto bits = static_cast<std::uint32_t>(colour);
    for (const int shift : {0, 8, 16}) {
        const std::uint32_t byte = (bits >> shift) & 0xFF;
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0xF];
    }
}

bool readColour(std::string_view line, Colour& colour) {
    if (line.size() != 6)
        return false;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 6; i += 2) {
        const int high = hexValue(line[i]);
        const int low = hexValue(line[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bits |= static_cast<std::uint32_t>(high * 16 + low) << (4 * i);
    }
    colour = static_cast<Colour>(bits);
    return true;
}

// The axis order as axisOrderText writes it: a plain decimal, read by the program's one rule.
ObjectFileResult readAxisOrder(std::string_view line, double& axisOrder) {
    const bool plain =
        !line.empty() && line.find_first_not_of("0123456789+-.eE") == std::string_view::npos;
    const ConvertedNumber number = convertNumber(line);
    if (!plain || !number.found || number.end != line.size())
        return {"The link's axis order is not a number."};
    if (number.overflow)
        return {"The link's axis order is not a finite number."};
    axisOrder = number.value;
    return {};
}

} // namespace

std::string shareLinkPayload(const ObjectFileValues& values) {
    std::string payload = axisOrderText(values.axisOrder);
    payload += '\n';
    for (const Colour colour : {values.objectColor, values.backgroundColor, values.crossColor}) {
        appendColour(payload, colour);
        payload += '\n';
    }
    payload += values.showCross != 0 ? "1\n" : "0\n";
    payload += values.text;
    return payload;
}

ObjectFileResult readShareLinkPayload(std::string_view payload, ObjectFileValues& values) {
    if (payload.size() > kMaxShareLinkPayload)
        return {"The link's object is larger than a share link may hold."};
    std::array<std::string_view, kHeaderLines> lines;
    std::size_t at = 0;
    for (auto& line : lines) {
        const std::size_t end = payload.find('\n', at);
        if (end == std::string_view::npos)
            return {"The link is cut off inside its header."};
        line = payload.substr(at, end - at);
        at = end + 1;
    }

    ObjectFileValues read;
    if (ObjectFileResult result = readAxisOrder(lines[0], read.axisOrder); !result.ok())
        return result;
    if (!readColour(lines[1], read.objectColor))
        return {"The link's object colour is not six hex digits."};
    if (!readColour(lines[2], read.backgroundColor))
        return {"The link's background colour is not six hex digits."};
    if (!readColour(lines[3], read.crossColor))
        return {"The link's cross colour is not six hex digits."};
    if (lines[4] != "0" && lines[4] != "1")
        return {"The link's cross switch is neither 1 nor 0."};
    read.showCross = lines[4] == "1" ? 1 : 0;
    read.text = std::string(payload.substr(at));

    // A link that opens can always be saved: the object file's own rules decide.
    std::string fileBytes;
    if (ObjectFileResult result = encodeObjectFile(read, "", fileBytes); !result.ok())
        return result;
    values = std::move(read);
    return {};
}

std::string toBase64Url(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const char c : bytes) {
        bits = (bits << 8) | static_cast<unsigned char>(c);
        bitCount += 8;
        while (bitCount >= 6) {
            bitCount -= 6;
            text += kBase64UrlAlphabet[(bits >> bitCount) & 0x3F];
        }
    }
    if (bitCount > 0)
        text += kBase64UrlAlphabet[(bits << (6 - bitCount)) & 0x3F];
    return text;
}

std::optional<std::string> fromBase64Url(std::string_view text) {
    if (text.size() % 4 == 1)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const char c : text) {
        const int value = base64UrlValue(c);
        if (value < 0)
            return std::nullopt;
        bits = ((bits << 6) | static_cast<std::uint32_t>(value)) & 0xFFFF;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes += static_cast<char>((bits >> bitCount) & 0xFF);
        }
    }
    if ((bits & ((1u << bitCount) - 1)) != 0)
        return std::nullopt;
    return bytes;
}

std::string shareLink(std::string_view base, std::string_view deflated) {
    std::string link(base);
    link += '#';
    link += kShareLinkVersion;
    link += '.';
    link += toBase64Url(deflated);
    return link;
}

ObjectFileResult shareLinkData(std::string_view link, std::string& deflated) {
    const std::size_t hash = link.find('#');
    if (hash == std::string_view::npos)
        return {"The link holds no object: it has no part after #."};
    const std::string_view fragment = link.substr(hash + 1);
    const std::size_t dot = fragment.find('.');
    const std::string_view version = fragment.substr(0, dot);
    if (version != kShareLinkVersion) {
        const bool looksLikeVersion =
            version.size() > 1 && version[0] == 'v' &&
            version.find_first_not_of("0123456789", 1) == std::string_view::npos;
        // Versions only ever grow: a lower or oddly written number was never made by us.
        const bool newer = looksLikeVersion && version[1] != '0' &&
                           (version.size() > 2 || version[1] > kShareLinkVersion[1]);
        if (newer)
            return {"The link was made by a newer version of Wirevane (link format " +
                    std::string(version) + "); this version reads links of format " +
                    std::string(kShareLinkVersion) + "."};
        if (looksLikeVersion)
            return {"The link is in an unknown link format (" + std::string(version) + ")."};
        return {"The link is not a Wirevane share link."};
    }
    if (dot == std::string_view::npos)
        return {"The link is cut off: it holds no object after its version."};
    const std::string_view data = fragment.substr(dot + 1);
    // Four characters carry three bytes.
    if (data.size() > (kMaxShareLinkDeflated + 2) / 3 * 4)
        return {"The link cannot be opened: it is longer than any object's link."};
    std::optional<std::string> bytes = fromBase64Url(data);
    if (!bytes)
        return {"The link is damaged: its object is not valid base64url."};
    deflated = std::move(*bytes);
    return {};
}

} // namespace wirevane
