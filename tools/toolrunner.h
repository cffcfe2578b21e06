#pragma once

#include "tools/toolbackend.h"

#include <string>
#include <vector>

namespace wirevane {

// Whether the command line (without the program name) needs what only the Qt companion has:
// decided from its words alone, before any input is read, as a pipe can be read only once.
bool needsQt(const std::vector<std::string>& args);

// Runs the command line (without the program name); the exit status.
int runTool(std::vector<std::string> args, const ToolBackend& backend);

} // namespace wirevane
