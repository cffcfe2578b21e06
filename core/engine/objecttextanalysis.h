#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wirevane {

// What the compiler makes of each line of an object text, and what in it is likely a
// mistake, in plain words. Built on the compiler's own line rules and number conversion.

enum class LineKind {
    Remark,     // skipped
    Point,      // defines the next point
    Separator,  // the first blank line: ends the points, connection row 1
    Connection, // a connection row
    BlankRow,   // a blank line after the separator: a row that sets only its end point to 0
};

enum class Severity { Warning, Error };

struct TextDiagnostic {
    int line = 0;   // 1-based, lines cut as the compiler cuts them
    int column = 0; // 1-based, in characters
    Severity severity = Severity::Warning;
    std::string message;
};

struct LineAnalysis {
    LineKind kind = LineKind::Remark;
    int number = 0;          // point number of a point line; row of every other kind but remarks
    std::size_t offset = 0;  // where the line starts in the text, in bytes
    int firstDiagnostic = 0; // this line's diagnostics in TextAnalysis::diagnostics
    int diagnosticCount = 0;
    bool hasError = false;
    bool keepsStart = false; // a connection line without "-": its start point is not set
};

struct TextAnalysis {
    std::vector<LineAnalysis> lines;
    std::vector<TextDiagnostic> diagnostics; // in line order
    int pointCount = 0;                      // point lines, counted on past what the tables hold
    int connectionCount = 0; // connection rows, the separator included, counted the same way
    int stopLine = 0;        // the line at which the Animation command stops; 0 if it does not
    TextDiagnostic stop;     // the error there
    std::size_t diagnosticsLeftOut = 0; // by firstFindings

    std::span<const TextDiagnostic> diagnosticsOf(const LineAnalysis& line) const {
        return std::span(diagnostics)
            .subspan(static_cast<std::size_t>(line.firstDiagnostic),
                     static_cast<std::size_t>(line.diagnosticCount));
    }
};

// Reads an object text (lines separated by CR LF, UTF-8) the way the Animation command does.
TextAnalysis analyzeObjectText(std::string_view text);

// The first maxDiagnostics findings of a text of any length, without the line records, in memory
// that does not grow with the text; the rest are only counted.
TextAnalysis firstFindings(std::string_view text, std::size_t maxDiagnostics);

} // namespace wirevane
