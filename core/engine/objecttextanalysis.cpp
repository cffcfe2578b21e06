#include "core/engine/objecttextanalysis.h"

#include "core/engine/floatingtext.h"
#include "core/engine/numberconversion.h"
#include "core/engine/objecttextrules.h"
#include "core/engine/renderer.h"
#include "core/engine/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wirevane {
namespace {

constexpr std::size_t kMaxQuoted = 20; // characters of a field shown in a message

// Characters that look blank, as UTF-8 byte sequences; the number conversion ignores only
// space, tab and line feed, and the line rules only the space.
constexpr std::string_view kWideBlanks[] = {
    "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87",
    "\xE2\x80\x88", "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\x8B", "\xE2\x80\xA8",
    "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F", "\xE3\x80\x80", "\xEF\xBB\xBF",
};

// The byte length of the blank-looking character at pos, or 0.
std::size_t blankAt(std::string_view text, std::size_t pos) {
    const char c = text[pos];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')
        return 1;
    if (static_cast<unsigned char>(c) < 0x80)
        return 0;
    for (const std::string_view blank : kWideBlanks)
        if (text.substr(pos, blank.size()) == blank)
            return blank.size();
    return 0;
}

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    for (std::size_t n; pos < text.size() && (n = blankAt(text, pos)) > 0;)
        pos += n;
    return pos;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = skipBlanks(text, 0);
    std::size_t last = text.size();
    while (last > first) {
        std::size_t start = last - 1; // back to the first byte of the last character
        while (start > first && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        if (blankAt(text, start) != last - start)
            break;
        last = start;
    }
    return text.substr(first, last - first);
}

std::size_t characterLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end - pos;
}

int characterCount(std::string_view text) {
    int count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Text from the object as a message quotes it: short, on one line.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    std::size_t shown = 0;
    for (std::size_t pos = 0; pos < text.size(); ++shown) {
        if (shown == kMaxQuoted) {
            out += "...";
            break;
        }
        const std::size_t length = characterLength(text, pos);
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        if (c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += c == '\t'   ? std::string("\\t")
                   : c == '\r' ? std::string("\\r")
                   : c == '\n' ? std::string("\\n")
                               : std::string{'\\', 'x', kHex[c >> 4], kHex[c & 15]};
        } else {
            out += text.substr(pos, length);
        }
        pos += length;
    }
    return out + "\"";
}

// A character the reader stops at, named when it does not show.
std::string named(std::string_view text, std::size_t pos) {
    const std::string_view c = text.substr(pos, characterLength(text, pos));
    if (c == "\t")
        return "a tab";
    if (c == "\r")
        return "a carriage return";
    if (c == "\n")
        return "a line feed";
    if (c == "\xC2\xA0")
        return "a non-breaking space";
    if (blankAt(text, pos) > 0)
        return "a blank character";
    return quoted(c);
}

std::string numberText(double value) {
    return shortestText(value);
}

std::string pointsText(int count) {
    if (count == 0)
        return "no points";
    return count == 1 ? "1 point" : std::to_string(count) + " points";
}

class Analyzer {
  public:
    Analyzer(std::string_view text, std::size_t maxDiagnostics, bool keepLines)
        : text_(text), maxDiagnostics_(maxDiagnostics), keepLines_(keepLines) {}

    TextAnalysis run() {
        PieceCutter lines = objectLines(text_);
        for (std::string_view line; lines.next(line);) {
            line_ = line;
            ++lineNumber_;
            LineAnalysis info;
            info.offset = static_cast<std::size_t>(line.data() - text_.data());
            info.firstDiagnostic = static_cast<int>(result_.diagnostics.size());
            current_ = &info;
            countedTo_ = 0;
            countedColumns_ = 0;
            const LineRule rule = judgeLine(line);
            if (rule == LineRule::Blank && !separatorSeen_) {
                separatorSeen_ = true;
                info.kind = LineKind::Separator;
                info.number = ++result_.connectionCount;
            } else if (rule == LineRule::Remark) {
                info.kind = LineKind::Remark;
            } else if (!separatorSeen_) {
                readPoint(info);
            } else {
                readConnection(info, rule);
            }
            // A line's diagnostics read from left to right.
            const auto first = result_.diagnostics.begin() + info.firstDiagnostic;
            std::stable_sort(first, result_.diagnostics.end(),
                             [](const TextDiagnostic& a, const TextDiagnostic& b) {
                                 return a.column < b.column;
                             });
            info.diagnosticCount = static_cast<int>(result_.diagnostics.end() - first);
            if (result_.diagnostics.size() > maxDiagnostics_) {
                result_.diagnosticsLeftOut += result_.diagnostics.size() - maxDiagnostics_;
                result_.diagnostics.resize(maxDiagnostics_);
            }
            if (keepLines_)
                result_.lines.push_back(info);
        }
        return std::move(result_);
    }

  private:
    // The start of a line that holds only blank-looking characters, not all spaces: the
    // position of its first blank other than a space. npos for any other line.
    std::size_t looksBlank() const {
        std::size_t firstOther = std::string_view::npos;
        for (std::size_t pos = 0, n; pos < line_.size(); pos += n) {
            n = blankAt(line_, pos);
            if (n == 0)
                return std::string_view::npos;
            if (line_[pos] != ' ' && firstOther == std::string_view::npos)
                firstOther = pos;
        }
        return firstOther;
    }

    // A line whose first character after the blanks is "'" but is not a remark, because a blank
    // other than a space stands before it: the position of that blank, or npos.
    std::size_t looksLikeRemark() const {
        const std::size_t quote = skipBlanks(line_, 0);
        if (quote >= line_.size() || line_[quote] != '\'')
            return std::string_view::npos;
        return line_.find_first_not_of(' ');
    }

    void readPoint(LineAnalysis& info) {
        info.kind = LineKind::Point;
        const int p = info.number = ++result_.pointCount;
        const std::string self = "point " + std::to_string(p);
        if (p == kMaxPoints + 1)
            error(0, self + ": an object holds at most " + std::to_string(kMaxPoints) +
                         " points, so the animation will not start");

        bool quiet = false;
        if (const std::size_t blank = looksBlank(); blank != std::string_view::npos) {
            warn(blank, "this line looks blank, but " + named(line_, blank) + " makes it " + self +
                            ", not the blank line that ends the points");
            quiet = true;
        } else if (const std::size_t blank = looksLikeRemark(); blank != std::string_view::npos) {
            warn(blank, "this line looks like a remark, but " + named(line_, blank) +
                            " before the \"'\" makes it " + self);
            quiet = true;
        }

        const std::size_t count = pointFieldCount(line_);
        if (count == 1 && !quiet) {
            const ConvertedNumber z = convertNumber(line_);
            const std::size_t after = skipBlanks(line_, z.end);
            if (z.found && after < line_.size() && line_[after] == '-') {
                warn(firstCharacter(), "no \"/\": this looks like a connection, but connections "
                                       "come after the first blank line");
                quiet = true;
            } else {
                warn(firstCharacter(), "no \"/\": only z is set, x and y keep old values");
            }
        } else if (count == 2 && !quiet) {
            warn(line_.find('/'), "only one \"/\": x and z are set, y keeps an old value");
        }

        PieceCutter fields = pointFields(line_);
        std::string_view field;
        std::size_t droppedStart = 0, droppedEnd = 0;
        bool remarkCut = false;
        for (std::size_t index = 0; fields.next(field); ++index) {
            const bool last = index + 1 == count;
            switch (pointFieldRole(index, count)) {
            case PointField::X:
                readField(field, "x", last, quiet);
                break;
            case PointField::Y:
                readField(field, "y", last, quiet);
                break;
            case PointField::Z:
                readField(field, "z", last, quiet);
                break;
            case PointField::Dropped:
                if (const std::size_t quote = field.find('\'');
                    quote != field.npos && !quiet && !remarkCut) {
                    warnCutRemark(offsetOf(field) + quote, offsetOf(field) + field.size());
                    remarkCut = true;
                }
                if (droppedStart == 0)
                    droppedStart = offsetOf(field);
                droppedEnd = offsetOf(field) + field.size();
                break;
            }
        }
        if (count > 3 && !quiet)
            warn(droppedStart, "more than two \"/\": " +
                                   quoted(line_.substr(droppedStart, droppedEnd - droppedStart)) +
                                   " is not used, z is the last field");
    }

    void readConnection(LineAnalysis& info, LineRule rule) {
        const int row = info.number = ++result_.connectionCount;
        const std::string self = "connection row " + std::to_string(row);
        if (row == kMaxConnectionRows + 1) {
            std::string message = self + ": an object holds at most " +
                                  std::to_string(kMaxConnectionRows) +
                                  " connection rows, the first blank line included, so the "
                                  "animation will not start";
            if (line_.empty() && offsetInText() == text_.size())
                message += " (the line break at the end of the text makes this row)";
            error(0, message);
        }
        // A blank row only sets its end point to 0, whatever blanks it holds.
        if (rule == LineRule::Blank || looksBlank() != std::string_view::npos) {
            info.kind = LineKind::BlankRow;
            // Its start point is whatever the row held before, its end point 0, which sits in
            // the middle of the window. Most texts end with such a row; only others are told.
            if (offsetInText() + line_.size() < text_.size())
                warn(0, "this blank line is " + self +
                            ", which may draw a stray line to the middle of the window");
            return;
        }
        info.kind = LineKind::Connection;

        bool quiet = false;
        const std::size_t count = connectionFieldCount(line_);
        info.keepsStart = count == 1;
        if (const std::size_t blank = looksLikeRemark(); blank != std::string_view::npos) {
            warn(blank, "this line looks like a remark, but " + named(line_, blank) +
                            " before the \"'\" makes it " + self);
            quiet = true;
        } else if (count == 1 && line_.find('/') != std::string_view::npos) {
            warn(firstCharacter(), "no \"-\": this looks like a point, but points come before "
                                   "the first blank line");
            quiet = true;
        } else if (count == 1) {
            warn(firstCharacter(), "no \"-\": only the end point is set, the start point keeps "
                                   "an old value");
        }

        PieceCutter fields = connectionFields(line_);
        std::string_view field;
        std::size_t unusedEnd = 0;
        for (std::size_t index = 0; fields.next(field); ++index) {
            const bool last = index + 1 == count;
            switch (connectionFieldRole(index, count)) {
            case ConnectionField::Overwritten:
                readField(field, "start point", last, true);
                unusedEnd = offsetOf(field) + field.size();
                break;
            case ConnectionField::Start:
                checkPoint(field, readField(field, "start point", last, quiet), quiet);
                break;
            case ConnectionField::End:
                checkPoint(field, readField(field, "end point", last, quiet), quiet);
                break;
            }
        }
        const std::string_view unused = line_.substr(0, unusedEnd);
        if (count > 2 && !quiet && !trimBlanks(unused).empty())
            warn(0, "more than one \"-\": " + quoted(unused) +
                        " is not used, only the last two numbers count");
    }

    // Reports what the compiler makes of one field; quiet reports only what stops the compile.
    ConvertedNumber readField(std::string_view field, const std::string& name, bool lastOnLine,
                              bool quiet) {
        const ConvertedNumber number = convertNumber(field);
        const std::size_t at = offsetOf(field);
        const std::size_t start = skipBlanks(field, 0);
        if (number.overflow) {
            // The command stops at the first; one error a line is enough.
            if (!current_->hasError)
                error(at + start, name + " " + quoted(trimBlanks(field)) +
                                      " is too large a number, so the animation will not start");
            return number;
        }
        if (quiet)
            return number;
        if (!number.found) {
            if (start == field.size())
                warn(at + start, name + " is empty and reads as 0");
            else
                warn(at + start,
                     name + " " + quoted(trimBlanks(field)) + " is not a number and reads as 0");
            return number;
        }
        warnJoinedDigits(field, name, start, number);
        const std::size_t rest = skipBlanks(field, number.end);
        if (rest == field.size())
            return number;
        if (field[rest] == '\'') {
            if (!lastOnLine)
                warnCutRemark(at + rest, at + field.size());
            return number;
        }
        warn(at + rest, name + " " + quoted(trimBlanks(field)) + " reads as " +
                            numberText(number.value) + ": the number ends at " +
                            named(field, rest));
        return number;
    }

    // The conversion skips blanks inside a number, so "1 2" reads as 12, not as 1.
    void warnJoinedDigits(std::string_view field, const std::string& name, std::size_t start,
                          const ConvertedNumber& number) {
        const std::string_view written = field.substr(start, number.end - start);
        const std::size_t firstDigit = written.find_first_of("0123456789.");
        if (firstDigit == written.npos)
            return;
        const std::size_t blank = written.find_first_of(" \t\n", firstDigit);
        if (blank == written.npos)
            return;
        warn(offsetOf(field) + start + blank, name + " " + quoted(written) + " reads as " +
                                                  numberText(number.value) +
                                                  ": blanks inside a number are skipped");
    }

    // A remark that a field separator cuts: what follows the separator is data again.
    void warnCutRemark(std::size_t quote, std::size_t separator) {
        warn(quote, std::string("this remark is cut at \"") + line_[separator] +
                        "\": what follows it is read as the next field");
    }

    // A connection end names a point by its rounded number; it must be one of this object's.
    void checkPoint(std::string_view field, const ConvertedNumber& number, bool quiet) {
        if (quiet || !number.found || number.overflow)
            return;
        const std::size_t at = offsetOf(field) + skipBlanks(field, 0);
        const double point = roundHalfEven(number.value);
        if (point != number.value)
            warn(at, quoted(trimBlanks(field)) + " is not a whole number: it names point " +
                         numberText(point));
        if (point < 1)
            warn(at, "there is no point " + numberText(point) + ": points are numbered from 1");
        else if (point > result_.pointCount)
            warn(at, "there is no point " + numberText(point) + ": this object has " +
                         pointsText(result_.pointCount));
    }

    std::size_t firstCharacter() const {
        const std::size_t first = skipBlanks(line_, 0);
        return first < line_.size() ? first : 0;
    }
    std::size_t offsetOf(std::string_view part) const {
        return static_cast<std::size_t>(part.data() - line_.data());
    }
    std::size_t offsetInText() const {
        return static_cast<std::size_t>(line_.data() - text_.data());
    }

    void warn(std::size_t pos, std::string message) { add(pos, Severity::Warning, message); }
    void error(std::size_t pos, std::string message) {
        add(pos, Severity::Error, message);
        current_->hasError = true;
        if (result_.stopLine == 0) {
            result_.stopLine = lineNumber_;
            result_.stop = result_.diagnostics.back();
        }
    }
    void add(std::size_t pos, Severity severity, std::string& message) {
        // Counted on from the last finding of the line, so a long line is read once.
        if (pos < countedTo_)
            countedTo_ = countedColumns_ = 0;
        countedColumns_ += characterCount(line_.substr(countedTo_, pos - countedTo_));
        countedTo_ = pos;
        result_.diagnostics.push_back(
            {lineNumber_, countedColumns_ + 1, severity, std::move(message)});
    }

    std::string_view text_;
    std::size_t maxDiagnostics_;
    bool keepLines_;
    std::string_view line_;
    int lineNumber_ = 0;
    std::size_t countedTo_ = 0; // the line's characters before countedTo_ are countedColumns_
    int countedColumns_ = 0;
    bool separatorSeen_ = false;
    LineAnalysis* current_ = nullptr;
    TextAnalysis result_;
};

} // namespace

TextAnalysis analyzeObjectText(std::string_view text) {
    return Analyzer(text, SIZE_MAX, true).run();
}

TextAnalysis firstFindings(std::string_view text, std::size_t maxDiagnostics) {
    return Analyzer(text, maxDiagnostics, false).run();
}

} // namespace wirevane
