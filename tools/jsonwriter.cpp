#include "tools/jsonwriter.h"

#include "core/documents/codepage1252.h"

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

JsonWriter& JsonWriter::string(std::string_view text) {
    out_ += '"';
    for (std::size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        const std::size_t length = wellFormedUtf8Length(text, pos);
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
