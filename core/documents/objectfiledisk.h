#pragma once

#include "core/documents/objectfile.h"

#include <string>

namespace wirevane {

// Reads the object file at path. Opens it for reading only, so a load never creates or
// changes a file.
ObjectFileResult readObjectFileAt(const std::string& path, ObjectFileValues& values);

// Saves the values to the object file at path. The new content is written completely to a
// temporary file beside the target, which then replaces the target in one step, so a failure
// halfway leaves the old file as it was. Records 2 and 3 and anything past the eighth record
// keep what the old file held; an existing target must be writable.
//
// fault makes one step after the temporary file exists fail, as a full or failing disk would;
// tests use it to show that no such failure harms the old file or leaves the temporary one.
enum class SaveFault { None, Write, Flush, Rename };
ObjectFileResult writeObjectFileAt(const std::string& path, const ObjectFileValues& values,
                                   SaveFault fault = SaveFault::None);

} // namespace wirevane
