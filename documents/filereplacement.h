#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace wirevane {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A new, empty file beside the target, named so that it is never taken for the target itself
// (".NAME.123456.tmp"); null with the reason's errno in error when none can be made.
File createTemporaryBeside(const std::filesystem::path& target,
                           std::filesystem::path& temporary, int& error);

// Writes bytes to path through a temporary file beside it and a rename, so a failed write
// leaves no half file and the old file as it was. Empty when it worked, else the reason.
// Exports are made again in a moment, so unlike object files they are not forced to the disk.
std::string writeFileReplacing(const std::string& path, std::string_view bytes);

} // namespace wirevane
