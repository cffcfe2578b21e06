#include "tools/toolinput.h"

#include "core/documents/filereplacement.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace wirevane {

ToolArguments::ToolArguments(std::vector<std::string> args) : args_(std::move(args)) {
    const auto dashes = std::find(args_.begin(), args_.end(), "--");
    if (dashes != args_.end()) {
        afterDashes_.assign(dashes + 1, args_.end());
        args_.erase(dashes, args_.end());
    }
}

bool ToolArguments::flag(const std::string& name) {
    return std::erase(args_, name) > 0;
}

std::optional<std::string> ToolArguments::option(const std::string& name) {
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return std::nullopt;
    if (it + 1 == args_.end())
        throw UsageError{name + " needs a value"};
    std::string value = *(it + 1);
    args_.erase(it, it + 2);
    if (std::find(args_.begin(), args_.end(), name) != args_.end())
        throw UsageError{name + " is given twice"};
    return value;
}

std::vector<std::string> ToolArguments::positionals() const {
    for (const std::string& arg : args_)
        if (arg.size() > 1 && arg[0] == '-')
            throw UsageError{"unknown option " + arg};
    std::vector<std::string> all = args_;
    all.insert(all.end(), afterDashes_.begin(), afterDashes_.end());
    return all;
}

std::string singleFile(const ToolArguments& args) {
    const auto rest = args.positionals();
    if (rest.size() != 1)
        throw UsageError{rest.empty() ? "no FILE given" : "more than one FILE given"};
    return rest.front();
}

void refuseOutputThatIsInput(const std::string& input, const std::string& output) {
    struct stat in {
    }, out{};
    if (::stat(input.c_str(), &in) == 0 && ::stat(output.c_str(), &out) == 0 &&
        in.st_dev == out.st_dev && in.st_ino == out.st_ino)
        throw UsageError{"the output '" + output + "' is the input file; name another one"};
}

double parseDouble(const std::string& text, const std::string& option) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        throw UsageError{option + " takes a number, not '" + text + "'"};
    return value;
}

double parseTurn(const std::string& text, const std::string& option) {
    const double value = parseDouble(text, option);
    if (!(std::fabs(value) <= kMaxTurn))
        throw UsageError{option + " takes degrees from -360 to 360, not '" + text + "'"};
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
        size.width = parseInt(text->substr(0, x), "--size", 1, kMaxPictureSide);
        size.height = parseInt(text->substr(x + 1), "--size", 1, kMaxPictureSide);
    }
    return size;
}

std::string notEnoughMemory(const PictureSize& size) {
    return "not enough memory for a " + std::to_string(size.width) + "\u00d7" +
           std::to_string(size.height) + " picture";
}

std::string readFileBytes(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw InputError{path + ": is a folder, not a file"};
    const auto tooLarge = [&] {
        return InputError{path + ": is larger than " + std::to_string(kMaxInputBytes >> 20) +
                          " MiB, far more than an object holds"};
    };
    // A file's size is known before it is read; a pipe or a device is read up to the cap.
    if (const auto size = std::filesystem::file_size(path, error); !error && size > kMaxInputBytes)
        throw tooLarge();
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw InputError{path + ": cannot be opened (" + std::strerror(errno) + ")"};
    std::string bytes;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (bytes.size() + got > kMaxInputBytes)
            throw tooLarge();
        bytes.append(chunk, got);
    }
    if (std::ferror(file.get()))
        throw InputError{path + ": cannot be read (" + std::strerror(errno) + ")"};
    return bytes;
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
