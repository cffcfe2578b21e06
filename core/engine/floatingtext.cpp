#include "core/engine/floatingtext.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace wirevane {

std::string shortestTextByPrintf(double value) {
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    if (value == 0)
        return std::signbit(value) ? "-0" : "0";
    // The fewest significant digits that read back exactly; then, as to_chars does, the shorter
    // of the fixed and the scientific way of writing them, fixed on a tie.
    char scientific[40];
    int digits = 1;
    for (; digits <= 17; ++digits) {
        std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
        if (std::strtod(scientific, nullptr) == value)
            break;
    }
    const char* e = std::strchr(scientific, 'e');
    const int exponent = std::atoi(e + 1);
    char fixed[400];
    const int decimals = std::max(0, digits - 1 - exponent);
    std::snprintf(fixed, sizeof fixed, "%.*f", decimals, value);
    const std::string shortScientific = scientific;
    const std::string shortFixed = fixed;
    return shortFixed.size() <= shortScientific.size() ? shortFixed : shortScientific;
}

std::from_chars_result readDoubleByStrtod(const char* first, const char* last, double& value) {
    const std::string text(first, last);
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(text.c_str(), &end);
    const auto used = end - text.c_str();
    if (used == 0)
        return {first, std::errc::invalid_argument};
    if (errno == ERANGE && (std::isinf(read) || read == 0))
        return {first + used, std::errc::result_out_of_range};
    value = read;
    return {first + used, std::errc()};
}

std::optional<std::string> fixedText(double value, int decimals) {
    char buffer[64];
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    const auto result =
        std::to_chars(buffer, buffer + 60, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return std::nullopt;
    return std::string(buffer, result.ptr);
#else
    // Only emscripten's library comes here, and its locale always writes a point.
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    if (length < 0 || length > 60)
        return std::nullopt;
    return std::string(buffer, static_cast<std::size_t>(length));
#endif
}

} // namespace wirevane
