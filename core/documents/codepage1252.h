#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wirevane {

// Object files store their text one byte a character in Windows-1252; the program works on
// UTF-8. The five bytes the code page leaves undefined (81, 8D, 8F, 90, 9D) stand for the
// control characters of the same number, as on the desktop the files come from, so every
// byte survives a load and a save.
std::string windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text. When a character has no byte in the code page (or
// the text is not UTF-8), returns false and says in reason which line holds it; lines are
// counted at CR LF, as the object text separates them.
// The length of the well-formed UTF-8 sequence at pos, or 0 (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF, nothing cut off).
std::size_t wellFormedUtf8Length(std::string_view text, std::size_t pos);
bool isWellFormedUtf8(std::string_view text);

bool utf8ToWindows1252(std::string_view text, std::string& bytes, std::string& reason);

} // namespace wirevane
