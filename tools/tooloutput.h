#pragma once

#include <string>

namespace wirevane {

// Writes a command's output file through a temporary file and a rename; an InputError (exit 1)
// that names the file and the reason when it cannot, and then no file is left behind.
void writeToolOutput(const std::string& path, const std::string& bytes);

// An interrupt or a termination then removes the temporary file of an output under way.
void removeUnfinishedFileOnInterrupt();

} // namespace wirevane
