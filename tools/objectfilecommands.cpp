#include "tools/toolcommands.h"

namespace wirevane {

ObjectInput readToolObject(ToolArguments& args) {
    // Options first, so that what is left is the file.
    const bool raw = args.flag("--raw");
    const auto axis = args.option("--axis");
    const auto name = args.option("--name");
    const bool cross = args.flag("--cross");
    const auto rest = args.positionals();
    if (rest.size() != 1)
        throw UsageError{rest.empty() ? "no FILE given" : "more than one FILE given"};

    ObjectInput input = defaultObjectInput();
    const std::string bytes = readFileBytes(rest.front());
    input.text = raw ? bytes : toCrLf(bytes);
    if (axis)
        input.axisOrderText = *axis;
    if (name)
        input.name = *name;
    if (cross)
        input.crossState = 1;
    return input;
}

int infoCommand(ToolArguments) {
    throw UsageError{"info needs object files, not built yet"};
}
int packCommand(ToolArguments) {
    throw UsageError{"pack needs object files, not built yet"};
}

} // namespace wirevane
