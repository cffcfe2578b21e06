// wirevane-tool: compiles, renders and packs objects from the command line.
//
// It links no Qt, so a plain picture costs its drawing and not the loading of Qt and its
// libraries. What needs Qt (point numbers as text, SVG drawings, animations) it hands over,
// command line and all, to its companion wirevane-tool-qt.
#include "tools/toolinput.h"
#include "tools/toolrunner.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCompanion = "wirevane-tool-qt";

char** commandLine = nullptr;

// Beside the tool in a build, in its own folder (WIREVANE_COMPANION_DIR from the program's
// folder) when installed.
fs::path companionPath() {
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    const fs::path installed = folder / WIREVANE_COMPANION_DIR / kCompanion;
    const fs::path beside = folder / kCompanion;
    return ::access(beside.c_str(), X_OK) == 0 ? beside : installed.lexically_normal();
}

[[noreturn]] void handOver() {
    const fs::path companion = companionPath();
    std::fflush(nullptr);
    ::execv(companion.c_str(), commandLine);
    throw wirevane::InputError{"cannot run " + companion.string() + " (" + std::strerror(errno) +
                               "), which draws point numbers, SVG drawings and animations"};
}

} // namespace

int main(int argc, char** argv) {
    commandLine = argv;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (wirevane::needsQt(args)) {
        try {
            handOver();
        } catch (const wirevane::InputError& error) {
            std::fprintf(stderr, "wirevane-tool: %s\n", error.message.c_str());
            return 1;
        }
    }
    const wirevane::ToolBackend plain{
        [](wirevane::PictureFormat, bool, const wirevane::PictureSize& size) {
            return wirevane::makeRasterPicture(size);
        },
        [](wirevane::ToolArguments) -> int { handOver(); }};
    return wirevane::runTool(args, plain);
}
