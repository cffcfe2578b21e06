#pragma once

#include "engine/objectcompiler.h"
#include "tools/toolinput.h"

namespace wirevane {

// The object a command works on: FILE (the one positional argument) read as an object text,
// or as an object file when it is one, with the compile options applied.
ObjectInput readToolObject(ToolArguments& args);

int infoCommand(ToolArguments args);
int packCommand(ToolArguments args);
// Needs Qt: only the companion has it.
int animateCommand(ToolArguments args);

} // namespace wirevane
