#include "tools/jsonwriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace wirevane {

JsonWriter& JsonWriter::raw(std::string_view text) {
    out_ += text;
    return *this;
}

JsonWriter& JsonWriter::number(double value) {
    if (!std::isfinite(value))
        return raw("null");
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
    return *this;
}

namespace {

// The length of the well-formed UTF-8 sequence at pos, or 0 (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF).
std::size_t utf8Length(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else
        return 0;
    if (pos + length > text.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

} // namespace

JsonWriter& JsonWriter::string(std::string_view text) {
    out_ += '"';
    for (std::size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        const std::size_t length = utf8Length(text, pos);
        if (length == 0) {
            // A JSON text is UTF-8: a byte that is not becomes the replacement character.
            out_ += "\xEF\xBF\xBD";
            ++pos;
            continue;
        }
        pos += length;
        switch (c) {
        case '"':
            out_ += "\\\"";
            break;
        case '\\':
            out_ += "\\\\";
            break;
        case '\n':
            out_ += "\\n";
            break;
        case '\r':
            out_ += "\\r";
            break;
        case '\t':
            out_ += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out_ += escaped;
            } else {
                out_.append(text.substr(pos - length, length));
            }
        }
    }
    out_ += '"';
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    return raw(value ? "true" : "false");
}

JsonWriter& JsonWriter::key(std::string_view name) {
    if (!out_.empty() && out_.back() != '{')
        out_ += ',';
    string(name);
    out_ += ':';
    return *this;
}

} // namespace wirevane
