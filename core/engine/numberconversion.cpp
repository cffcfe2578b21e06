#include "core/engine/numberconversion.h"

#include "core/engine/floatingtext.h"

#include <cmath>
#include <string>

namespace wirevane {
namespace {

bool isIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads "&H..." or "&O..." digits (after the prefix) as a non-negative integer.
ConvertedNumber readRadixInteger(std::string_view field, std::size_t pos, int radix) {
    ConvertedNumber result;
    double value = 0;
    for (; pos < field.size(); ++pos) {
        const char c = field[pos];
        if (isIgnored(c))
            continue;
        int digit = -1;
        if (isDigit(c))
            digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
        result.found = true;
        result.end = pos + 1;
    }
    if (!std::isfinite(value))
        result.overflow = true;
    else
        result.value = value;
    return result;
}

} // namespace

ConvertedNumber convertNumber(std::string_view field) {
    std::size_t pos = 0;
    auto skipIgnored = [&] {
        while (pos < field.size() && isIgnored(field[pos]))
            ++pos;
    };
    auto peek = [&]() -> char {
        skipIgnored();
        return pos < field.size() ? field[pos] : '\0';
    };

    ConvertedNumber result;
    if (peek() == '&') {
        ++pos;
        const char kind = peek();
        if (kind == 'H' || kind == 'h')
            return readRadixInteger(field, pos + 1, 16);
        if (kind == 'O' || kind == 'o')
            return readRadixInteger(field, pos + 1, 8);
        return result;
    }

    // Collect the leading number without the ignored characters, then let readDouble, which
    // knows no locale, read it.
    std::string number;
    if (peek() == '+' || peek() == '-') {
        number += field[pos];
        ++pos;
    }
    bool seenDigit = false;
    bool seenPoint = false;
    long mantissaScale = 0; // decimal exponent of the first significant digit, roughly
    bool significant = false;
    for (char c = peek(); isDigit(c) || (c == '.' && !seenPoint); c = peek()) {
        if (c == '.') {
            seenPoint = true;
        } else {
            seenDigit = true;
            if (c != '0')
                significant = true;
            if (significant && !seenPoint)
                ++mantissaScale;
            else if (!significant && seenPoint)
                --mantissaScale;
        }
        number += c;
        ++pos;
        if (seenDigit)
            result.end = pos;
    }
    if (!seenDigit)
        return result;
    result.found = true;

    long exponent = 0;
    const char e = peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        const std::size_t exponentStart = pos;
        ++pos;
        std::string digits;
        bool negative = false;
        if (peek() == '+' || peek() == '-') {
            negative = field[pos] == '-';
            ++pos;
        }
        for (char c = peek(); isDigit(c); c = peek()) {
            if (exponent < 100000)
                exponent = exponent * 10 + (c - '0');
            ++pos;
            digits += c;
        }
        if (digits.empty()) {
            pos = exponentStart; // "1e" is the number 1
        } else {
            if (negative)
                exponent = -exponent;
            result.end = pos;
            number += 'e';
            number += std::to_string(exponent);
        }
    }

    double value = 0;
    const char* first = number.data();
    if (*first == '+')
        ++first;
    const auto [end, error] = readDouble(first, number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too small underflows to 0; too large cannot be held.
        result.overflow = significant && mantissaScale + exponent > 0;
        return result;
    }
    if (error == std::errc())
        result.value = value == 0 ? 0.0 : value; // "-0" reads as a plain 0
    return result;
}

double numberValue(std::string_view field) {
    return convertNumber(field).value;
}

} // namespace wirevane
