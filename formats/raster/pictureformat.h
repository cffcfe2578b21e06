#pragma once

#include <optional>
#include <string>

namespace wirevane {

enum class PictureFormat { Png, Svg };

// The picture format a file name asks for by its extension, in any case; none for another one.
inline std::optional<PictureFormat> pictureFormatOf(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return std::nullopt;
    std::string suffix = name.substr(dot + 1);
    for (char& c : suffix)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (suffix == "png")
        return PictureFormat::Png;
    if (suffix == "svg")
        return PictureFormat::Svg;
    return std::nullopt;
}

} // namespace wirevane
