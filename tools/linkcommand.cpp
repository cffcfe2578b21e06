// wirevane-tool link: the share link of an object, for the web page.
#include "formats/raster/deflate.h"
#include "tools/toolcommands.h"
#include "tools/toolobject.h"

#include <iostream>

namespace wirevane {
namespace {

const char* const kLinkHelp = R"(Usage: wirevane-tool link FILE [--base URL]

Prints the share link of an object (a .kfm object file, or an object text with the values of a
new window), one line: the web page at URL opens it with its text, colours, axis order and
cross. The object travels in the link's part after "#", which browsers send to no server.
  --base URL   the web page (default http://localhost:8000/, what 'make web-serve' serves);
               it cannot hold "#"
Exit status: 0 done, 1 unreadable FILE or an object no link can carry, 2 bad usage.

Example:
  $ wirevane-tool link house.kfm --base https://example.org/wirevane/
  https://example.org/wirevane/#v1.VY9JDoMwDEX3lnwH71gZ...
)";

constexpr const char* kDefaultBase = "http://localhost:8000/";

} // namespace

int linkCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kLinkHelp;
        return 0;
    }
    const std::string base = args.option("--base").value_or(kDefaultBase);
    const std::string file = singleFile(args);
    for (const char c : base)
        if (c == '#' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            throw UsageError{"--base takes the address of the web page, without '#' or control "
                             "characters, not '" +
                             base + "'"};
    std::string link;
    const ObjectFileResult result = makeShareLink(base, readWindowValues(file), link);
    if (!result.ok())
        throw InputError{file + ": no link made. " + result.reason};
    std::cout << link << '\n';
    return 0;
}

} // namespace wirevane
