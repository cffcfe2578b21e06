#pragma once

#include "core/documents/objectfile.h"
#include "core/engine/objectcompiler.h"
#include "core/engine/objecttextanalysis.h"
#include "tools/toolinput.h"

#include <string>

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

// The values of the object file at path; an InputError that names the file when it cannot be
// read.
ObjectFileValues readObjectFileValues(const std::string& path);

// What an object window holds once it has opened file: an object file's values, or a new
// window's with the object text of a text file (its line endings as CR LF).
ObjectFileValues readWindowValues(const std::string& file);

// Where a finding stands, as check reports it: FILE:LINE:COLUMN.
std::string findingPosition(const std::string& file, const TextDiagnostic& diagnostic);
// A file name on one line: control characters as \n, \r, \t or \xNN, so that no name can make
// a line of its own in a message.
std::string printableName(const std::string& name);

} // namespace wirevane
