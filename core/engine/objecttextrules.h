#pragma once

#include <cstddef>
#include <string_view>

namespace wirevane {

// The rules by which the compiler reads an object text, shared with everything that needs to
// know what the compiler makes of a text (the object-text analysis), so the two never disagree.

// Cuts text into the pieces between separators, left to right. The last piece is always
// returned, even when empty: "1-" gives "1" and "", "" gives one empty piece.
class PieceCutter {
  public:
    PieceCutter(std::string_view text, std::string_view separator)
        : text_(text), separator_(separator) {}

    // The next piece, or false after the last one.
    bool next(std::string_view& piece);

  private:
    std::string_view text_;
    std::string_view separator_;
    std::size_t start_ = 0;
    bool done_ = false;
};

// The lines of an object text: the text is read as if a line break (CR LF) were appended
// unless it is empty, and a line ends at each CR LF pair; a lone CR or LF is an ordinary
// character of its line. So a text ending with a line break has one more, blank, line.
PieceCutter objectLines(std::string_view text);

// The fields of a point line (cut at "/") and of a connection line (cut at "-").
PieceCutter pointFields(std::string_view line);
PieceCutter connectionFields(std::string_view line);
std::size_t pointFieldCount(std::string_view line);
std::size_t connectionFieldCount(std::string_view line);

// The trimmed form the line rules judge: only the space character is trimmed.
std::string_view trimSpaces(std::string_view line);

enum class LineRule {
    Remark, // trimmed line begins with "'": skipped wherever it stands
    Blank,  // trimmed line is empty: the first one ends the points
    Data,   // a point line before the first blank line, a connection line after it
};
LineRule judgeLine(std::string_view line);

// Where field `index` of a point line with `count` fields goes: the first to x (when there is
// a "/"), the second to y (when there are two), the last to z; fields between are dropped.
enum class PointField { X, Y, Z, Dropped };
PointField pointFieldRole(std::size_t index, std::size_t count);

// Where field `index` of a connection line with `count` fields goes: every field before a "-"
// is stored as the start point in turn, so only the one before the last "-" stays (the ones
// before it are overwritten); the field after the last "-" is the end point.
enum class ConnectionField { Overwritten, Start, End };
ConnectionField connectionFieldRole(std::size_t index, std::size_t count);

} // namespace wirevane
