#pragma once

// What the text readers of shape files share: lines numbered from 1, fields cut at blanks and
// numbers read without a locale.

#include "core/engine/floatingtext.h"
#include "core/engine/numberconversion.h"
#include "formats/shapes/shape.h"

#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wirevane::shapetext {

// The bytes of a file without the UTF-8 byte-order mark some editors put in front. UTF-16 text
// is refused by name, and so, where only text is allowed, is a file with zero bytes in it.
inline std::string_view withoutByteOrderMark(std::string_view bytes, bool textOnly) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        throw ShapeError{"the file is UTF-16 text; save it as UTF-8"};
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (textOnly && bytes.find('\0') != std::string_view::npos) {
        // Text in UTF-16 has a zero in every other byte.
        const bool utf16 = bytes.size() >= 4 && (bytes[1] == '\0') != (bytes[0] == '\0') &&
                           (bytes[3] == '\0') == (bytes[1] == '\0');
        throw ShapeError{utf16 ? "the file is UTF-16 text; save it as UTF-8"
                               : "the file is not text"};
    }
    return bytes;
}

// The lines of a text, LF or CR LF, numbered from 1.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (pos_ >= text_.size())
            return false;
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = text_.substr(pos_, stop - pos_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos_ = stop + 1;
        ++number_;
        return true;
    }
    int number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int number_ = 0;
};

inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The fields of a line cut at blanks, up to a comment character when one is given.
inline std::vector<std::string_view> fields(std::string_view line, char comment = '\0') {
    if (comment != '\0') {
        const std::size_t at = line.find(comment);
        if (at != std::string_view::npos)
            line = line.substr(0, at);
    }
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            result.push_back(line.substr(start, i - start));
    }
    return result;
}

inline std::string lineName(int line) {
    return "line " + std::to_string(line);
}

inline std::string quoted(std::string_view field) {
    constexpr std::size_t kShown = 20; // a million-character field is not echoed whole
    return "'" + std::string(field.substr(0, kShown)) + (field.size() > kShown ? "...'" : "'");
}

// A coordinate: a decimal number, read exactly; anything else is refused.
inline double number(std::string_view field, int line) {
    double value = 0;
    const char* first = field.data();
    if (field.size() > 1 && *first == '+' && first[1] != '-')
        ++first;
    const auto [end, error] = readDouble(first, field.data() + field.size(), value);
    if (error == std::errc::result_out_of_range && end == field.data() + field.size()) {
        // As the compiler reads it: too small is 0, too large cannot be held.
        const ConvertedNumber converted = convertNumber(field);
        if (converted.overflow)
            throw ShapeError{lineName(line) + ": " + quoted(field) + " is too large"};
        return converted.value;
    }
    if (error != std::errc() || end != field.data() + field.size())
        throw ShapeError{lineName(line) + ": " + quoted(field) + " is not a number"};
    return value;
}

// A whole number; out of form or beyond a long long, refused.
inline long long integer(std::string_view field, int line) {
    long long value = 0;
    const char* first = field.data();
    if (field.size() > 1 && *first == '+' && first[1] != '-')
        ++first;
    const auto [end, error] = std::from_chars(first, field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size())
        throw ShapeError{lineName(line) + ": " + quoted(field) + " is not a whole number"};
    return value;
}

} // namespace wirevane::shapetext
