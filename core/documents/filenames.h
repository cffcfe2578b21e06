#pragma once

#include <string>
#include <string_view>

namespace wirevane {

// The part of a path after its last separator: the backslash, and on this platform also the
// slash. The whole path when it has none; empty when it ends with one.
std::string fileNamePart(std::string_view path);

// The extension of the path's file name, lower-cased and without its dot; empty when the name
// has none. A name whose only dot is its first character (".kfm") has none.
std::string lowerExtension(std::string_view path);

// Whether the path names an entry, a file or a folder. False when it has no file-name part.
bool fileExists(const std::string& path);

} // namespace wirevane
