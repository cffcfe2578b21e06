#include "tools/toolrunner.h"

#include "tools/toolcommands.h"
#include "tools/toolinput.h"
#include "tools/tooloutput.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wirevane {
namespace {

const char* const kToolHelp = R"(Usage: wirevane-tool COMMAND [OPTIONS] FILE

Commands:
  compile   compile an object text and print the scene as JSON
  render    compile, draw the scene and write a PNG or SVG or print the drawing as JSON
  animate   compile and write an animated GIF of the scene turning
  info      print the values of an object file as JSON
  pack      write an object file from an object text
  check     report lines the compiler will read differently from how they look
  convert   convert an object to or from OBJ, PLY, STL or OFF
  link      print the share link that opens an object on the web page

Run 'wirevane-tool COMMAND --help' for the options of a command.
)";

// Most commands need nothing of the backend.
template <int (*command)(ToolArguments)>
int withoutBackend(ToolArguments args, const ToolBackend&) {
    return command(std::move(args));
}

// The plain tool's backend hands the command line over to the companion, which animates.
int animateThroughBackend(ToolArguments args, const ToolBackend& backend) {
    return backend.animate(std::move(args));
}

struct ToolCommand {
    std::string_view name;
    int (*run)(ToolArguments, const ToolBackend&);
};

// Every command, by the word that runs it. What needs Qt, needsQt knows by its words.
constexpr ToolCommand kCommands[] = {
    {"compile", withoutBackend<compileCommand>},
    {"render", renderCommand},
    {"info", withoutBackend<infoCommand>},
    {"pack", withoutBackend<packCommand>},
    {"animate", animateThroughBackend},
    {"check", withoutBackend<checkCommand>},
    {"convert", withoutBackend<convertCommand>},
    {"link", withoutBackend<linkCommand>}, // share links for the web page
};

int runCommand(std::vector<std::string> args, const ToolBackend& backend) {
    if (args.empty() || args.front() == "--help" || args.front() == "-h") {
        std::cout << kToolHelp;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    for (const ToolCommand& row : kCommands)
        if (row.name == command)
            return row.run(ToolArguments(std::move(args)), backend);
    throw UsageError{"unknown command '" + command + "'"};
}

} // namespace

bool needsQt(const std::vector<std::string>& args) {
    if (args.empty())
        return false;
    if (args.front() == "animate")
        return true;
    if (args.front() != "render")
        return false;
    try {
        ToolArguments render({args.begin() + 1, args.end()});
        const bool numbers = render.flag("--numbers");
        const auto output = render.option("-o");
        const auto format = output ? pictureFormatOf(*output) : std::nullopt;
        return format == PictureFormat::Svg || (format == PictureFormat::Png && numbers);
    } catch (const UsageError&) {
        return false; // the plain tool says what is wrong
    }
}

int runTool(std::vector<std::string> args, const ToolBackend& backend) {
    removeUnfinishedFileOnInterrupt();
    int status = 0;
    try {
        status = runCommand(std::move(args), backend);
    } catch (const UsageError& error) {
        std::cerr << "wirevane-tool: " << error.message << "\n(see 'wirevane-tool --help')\n";
        return 2;
    } catch (const InputError& error) {
        std::cerr << "wirevane-tool: " << error.message << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "wirevane-tool: not enough memory\n";
        return 1;
    }
    // A cut JSON in a script's pipe must not pass for a whole one.
    errno = 0;
    if (!std::cout.flush()) {
        std::cerr << "wirevane-tool: standard output cannot be written ("
                  << (errno != 0 ? std::strerror(errno) : "write error") << ")\n";
        return 1;
    }
    return status;
}

} // namespace wirevane
