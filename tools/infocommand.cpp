// wirevane-tool info: the values of an object file as JSON.
#include "tools/jsonwriter.h"
#include "tools/scenejson.h"
#include "tools/toolcommands.h"
#include "tools/toolobject.h"

#include <iostream>

namespace wirevane {
namespace {

const char* const kInfoHelp = R"(Usage: wirevane-tool info FILE.kfm

Prints the values of an object file as JSON: axis order, the three colours (24-bit values, red
in the low byte), the cross switch and the object text.
)";

} // namespace

int infoCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kInfoHelp;
        return 0;
    }
    const ObjectFileValues values = readObjectFileValues(singleFile(args));
    JsonWriter json;
    json.raw("{");
    writeObjectValues(json, values.axisOrder, values.objectColor, values.backgroundColor,
                      values.crossColor, values.showCross);
    json.key("text").string(values.text);
    json.raw("}");
    std::cout << json.text() << '\n';
    return 0;
}

} // namespace wirevane
