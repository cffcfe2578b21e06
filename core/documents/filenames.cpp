#include "core/documents/filenames.h"

#include <filesystem>
#include <system_error>

namespace wirevane {

std::string fileNamePart(std::string_view path) {
#ifdef _WIN32
    constexpr std::string_view kSeparators = "\\";
#else
    constexpr std::string_view kSeparators = "\\/";
#endif
    const std::size_t last = path.find_last_of(kSeparators);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string lowerExtension(std::string_view path) {
    const std::string name = fileNamePart(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

bool fileExists(const std::string& path) {
    if (fileNamePart(path).empty())
        return false;
    // A dangling link is an entry too: saving there would replace what it points to.
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

} // namespace wirevane
