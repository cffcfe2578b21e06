#include "core/documents/codepage1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace wirevane {
namespace {

// Code points of the bytes 80..9F; the undefined ones keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads one UTF-8 character at pos; returns the number of bytes it takes, or 0 when the bytes
// there are not UTF-8 (overlong forms and surrogates included).
std::size_t readUtf8(std::string_view text, std::size_t pos, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

int byteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

} // namespace

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte < 0x80)
            out += b;
        else if (byte < 0xA0)
            appendUtf8(out, kHighControls[byte - 0x80]);
        else
            appendUtf8(out, byte);
    }
    return out;
}

bool utf8ToWindows1252(std::string_view text, std::string& bytes, std::string& reason) {
    bytes.clear();
    bytes.reserve(text.size());
    long line = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        const std::size_t length = readUtf8(text, pos, c);
        if (length == 0) {
            reason = "Line " + std::to_string(line) + " holds bytes that are not UTF-8 text.";
            return false;
        }
        const int byte = byteFor(c);
        if (byte < 0) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            reason = "Line " + std::to_string(line) + " holds the character \"" +
                     std::string(text.substr(pos, length)) + "\" (" + code +
                     "), which an object file cannot store.";
            return false;
        }
        if (c == '\n' && pos > 0 && text[pos - 1] == '\r')
            ++line;
        bytes += static_cast<char>(byte);
        pos += length;
    }
    return true;
}

// The length of the well-formed UTF-8 sequence at pos, or 0 (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF).
std::size_t wellFormedUtf8Length(std::string_view text, std::size_t pos) {
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

bool isWellFormedUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = wellFormedUtf8Length(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

} // namespace wirevane
