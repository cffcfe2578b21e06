#pragma once

#include <cstddef>
#include <string_view>

namespace wirevane {

struct ConvertedNumber {
    double value = 0;
    bool overflow = false; // the field names a number too large for a double
    bool found = false;    // the field begins with a number (else it reads as 0)
    std::size_t end = 0;   // where the number stops: one past its last character in the field
};

// The one rule by which object-text fields and the axis order become numbers: spaces, tabs and
// line feeds are ignored, the longest leading decimal number counts (full stop as separator,
// E or D exponent), "&H" and "&O" start hexadecimal and octal integers, and anything else is 0.
ConvertedNumber convertNumber(std::string_view field);

// convertNumber's value alone, for callers that can live with an overflow reading as 0.
double numberValue(std::string_view field);

} // namespace wirevane
