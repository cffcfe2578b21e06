#pragma once

#include "core/engine/objectcompiler.h"
#include "core/engine/picturesize.h"

#include <optional>
#include <string>
#include <vector>

namespace wirevane {

// Bad usage: the message goes to standard error and the tool exits with 2.
struct UsageError {
    std::string message;
};
// Input that cannot be read or output that cannot be written: exit code 1.
struct InputError {
    std::string message;
};

// The command line of one command: flags and options in any order, and positional arguments;
// everything after "--" is positional, so a file may be named "-x".
class ToolArguments {
  public:
    explicit ToolArguments(std::vector<std::string> args);

    bool flag(const std::string& name);
    std::optional<std::string> option(const std::string& name);
    // The remaining arguments once flags and options are taken; a leftover "-x" is an error.
    std::vector<std::string> positionals() const;

  private:
    std::vector<std::string> args_;
    std::vector<std::string> afterDashes_;
};

// The one positional argument once flags and options are taken; a UsageError when there is not
// exactly one.
std::string singleFile(const ToolArguments& args);

// Refuses (a UsageError) an output file that is the input file, under any name or link, so a
// command never writes over what it reads.
void refuseOutputThatIsInput(const std::string& input, const std::string& output);

// Option values; a value out of form or range is a UsageError that names the option.
double parseDouble(const std::string& text, const std::string& option); // finite
constexpr double kMaxTurn = 360;
double parseTurn(const std::string& text, const std::string& option); // -360 to 360 degrees
int parseInt(const std::string& text, const std::string& option, int low, int high);

// The longest side --size takes.
constexpr int kMaxPictureSide = 16384;
// --size WxH, or the animation window's client size when it is not given.
PictureSize sizeOption(ToolArguments& args);
// The message for a picture whose pixels do not fit in memory.
std::string notEnoughMemory(const PictureSize& size);

// LF and CR LF line endings become CR LF; a lone CR stays as it is.
std::string toCrLf(const std::string& text);

// Input is read whole, so it has a cap; an object text holds about ten thousand characters.
constexpr std::size_t kMaxInputBytes = std::size_t{16} << 20;
std::string readFileBytes(const std::string& path);

} // namespace wirevane
