#pragma once

#include "tools/toolbackend.h"
#include "tools/toolinput.h"

namespace wirevane {

// One function a command, each in its own file; runTool picks one by the command's name.
int compileCommand(ToolArguments args);
// Draws on the picture the backend makes.
int renderCommand(ToolArguments args, const ToolBackend& backend);
int infoCommand(ToolArguments args);
int packCommand(ToolArguments args);
int checkCommand(ToolArguments args);
int convertCommand(ToolArguments args);
int linkCommand(ToolArguments args);
// Needs Qt: only the companion has it.
int animateCommand(ToolArguments args);

} // namespace wirevane
