#include "tools/toolinput.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace wirevane {

bool ToolArguments::flag(const std::string& name) {
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return false;
    args_.erase(it);
    return true;
}

std::optional<std::string> ToolArguments::option(const std::string& name) {
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return std::nullopt;
    if (it + 1 == args_.end())
        throw UsageError{name + " needs a value"};
    std::string value = *(it + 1);
    args_.erase(it, it + 2);
    return value;
}

std::vector<std::string> ToolArguments::positionals() const {
    for (const std::string& arg : args_)
        if (arg.size() > 1 && arg[0] == '-')
            throw UsageError{"unknown option " + arg};
    return args_;
}

double parseDouble(const std::string& text, const std::string& option) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw UsageError{option + " takes a number, not '" + text + "'"};
    return value;
}

int parseInt(const std::string& text, const std::string& option, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw UsageError{option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'"};
    return value;
}

PictureSize sizeOption(ToolArguments& args) {
    PictureSize size;
    if (auto text = args.option("--size")) {
        const auto x = text->find('x');
        if (x == std::string::npos)
            throw UsageError{"--size takes WxH, not '" + *text + "'"};
        size.width = parseInt(text->substr(0, x), "--size", 1, PictureSize::kMaxSide);
        size.height = parseInt(text->substr(x + 1), "--size", 1, PictureSize::kMaxSide);
    }
    return size;
}

std::string readFileBytes(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw InputError{path + ": is a folder, not a file"};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InputError{path + ": cannot be opened"};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw InputError{path + ": cannot be read"};
    return bytes.str();
}

std::string toCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace wirevane
