#include "core/engine/objecttextrules.h"

#include <algorithm>

namespace wirevane {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

} // namespace

bool PieceCutter::next(std::string_view& piece) {
    if (done_)
        return false;
    const std::size_t end = text_.find(separator_, start_);
    if (end == std::string_view::npos) {
        piece = text_.substr(start_);
        done_ = true;
    } else {
        piece = text_.substr(start_, end - start_);
        start_ = end + separator_.size();
    }
    return true;
}

PieceCutter objectLines(std::string_view text) {
    PieceCutter lines(text, kLineBreak);
    // An empty text gets no line break appended, so it has no lines at all.
    std::string_view none;
    if (text.empty())
        lines.next(none);
    return lines;
}

PieceCutter pointFields(std::string_view line) {
    return PieceCutter(line, "/");
}

PieceCutter connectionFields(std::string_view line) {
    return PieceCutter(line, "-");
}

std::size_t pointFieldCount(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '/')) + 1;
}

std::size_t connectionFieldCount(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '-')) + 1;
}

std::string_view trimSpaces(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = line.find_last_not_of(' ');
    return line.substr(first, last - first + 1);
}

LineRule judgeLine(std::string_view line) {
    const std::string_view trimmed = trimSpaces(line);
    if (trimmed.empty())
        return LineRule::Blank;
    return trimmed.front() == '\'' ? LineRule::Remark : LineRule::Data;
}

PointField pointFieldRole(std::size_t index, std::size_t count) {
    if (index + 1 == count)
        return PointField::Z;
    if (index == 0)
        return PointField::X;
    if (index == 1)
        return PointField::Y;
    return PointField::Dropped;
}

ConnectionField connectionFieldRole(std::size_t index, std::size_t count) {
    if (index + 1 == count)
        return ConnectionField::End;
    return index + 2 == count ? ConnectionField::Start : ConnectionField::Overwritten;
}

} // namespace wirevane
