#pragma once

#include "engine/objectcompiler.h"
#include "tools/toolinput.h"

namespace wirevane {

// The object a command works on: FILE (the one positional argument) read as an object text,
// or as an object file when it is one, with the compile options applied.
struct ToolObject {
    ObjectInput input;
    std::string file;
};
ToolObject readToolObject(ToolArguments& args);

// Compiles the object for a picture or an animation, which the program would not start for an
// object whose compile stops: then an InputError in the words of check.
void compileForPicture(Scene& scene, const ToolObject& object);

int infoCommand(ToolArguments args);
int packCommand(ToolArguments args);
// Needs Qt: only the companion has it.
int animateCommand(ToolArguments args);

} // namespace wirevane
