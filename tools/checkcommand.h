#pragma once

#include "tools/toolinput.h"

namespace wirevane {

// wirevane-tool check: what the compiler will make of each object, as compiler diagnostics.
int checkCommand(ToolArguments args);

} // namespace wirevane
