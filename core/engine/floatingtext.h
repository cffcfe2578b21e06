#pragma once

#include <bit>
#include <charconv>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>

// Floating-point text and bit casts for both compilers of the core: gcc's library has them all,
// the libc++ of Debian's emscripten has neither floating-point from_chars/to_chars nor bit_cast.
namespace wirevane {

// The shortest decimal text that reads back as value, written as std::to_chars(value) writes it
// ("3", "2.5", "1e+20"), by printf and strtod: for a library without floating-point to_chars.
std::string shortestTextByPrintf(double value);
// Reads a decimal number of [first, last) as std::from_chars(..., chars_format::general) does,
// by strtod: for a library without floating-point from_chars.
std::from_chars_result readDoubleByStrtod(const char* first, const char* last, double& value);

inline std::string shortestText(double value) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
#else
    return shortestTextByPrintf(value);
#endif
}

// value with the given number of decimals ("1.500"), as std::to_chars(..., fixed, decimals)
// writes it; nullopt when that takes more than 60 characters.
std::optional<std::string> fixedText(double value, int decimals);

inline std::from_chars_result readDouble(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    return std::from_chars(first, last, value, std::chars_format::general);
#else
    return readDoubleByStrtod(first, last, value);
#endif
}

template <typename To, typename From> To bitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<From> &&
                  std::is_trivially_copyable_v<To>);
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
#endif
}

} // namespace wirevane
