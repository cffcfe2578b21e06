// wirevane-tool check: what the compiler will make of each object, as compiler diagnostics.
#include "core/documents/codepage1252.h"
#include "core/documents/objectfile.h"
#include "core/engine/objecttextanalysis.h"
#include "tools/jsonwriter.h"
#include "tools/toolcommands.h"
#include "tools/toolobject.h"

#include <algorithm>
#include <iostream>
#include <optional>

namespace wirevane {
namespace {

const char* const kCheckHelp = R"(Usage: wirevane-tool check [--json] [--raw] [--] FILE...

Reads each object (an object text, or a .kfm object file) as the Animation command would and
reports what it will likely not do as intended: numbers that stop early or are missing, point
lines with too few or too many "/", lines that look blank or like remarks but are not, blank
lines among the connections, connections to points the object does not have, the line at
which the tables are full, and a text longer than an object file holds (10525 characters).
One line per finding, FILE:LINE:COLUMN: warning|error: message, lines counted in the object
text and columns in characters; an error means the animation will not start.
  --json   print the findings as a JSON list of objects instead
  --raw    take a text file's bytes as they stand (line endings are otherwise CR LF)
Exit status: 0 nothing found, 1 findings or an unreadable FILE, 2 bad usage.

Example:
  $ wirevane-tool check cube.txt
  cube.txt:3:2: warning: x "1,5" reads as 1: the number ends at ","
)";

// Enough to mend a text by; a generated or binary file may have a finding on every line.
constexpr std::size_t kMaxFindingsPerFile = 100;

// Save and the share link refuse a text longer than an object file holds: a finding at the
// first character past it. The code page stores one byte a character.
std::optional<TextDiagnostic> tooLongForAFile(const std::string& text) {
    const auto characterAt = [&](std::size_t at) {
        return std::max<std::size_t>(1, wellFormedUtf8Length(text, at));
    };
    std::size_t characters = 0;
    int line = 1, column = 1;
    for (std::size_t at = 0; at < text.size();) {
        if (characters >= kMaxObjectTextBytes) {
            std::size_t total = characters;
            for (std::size_t rest = at; rest < text.size(); rest += characterAt(rest))
                ++total;
            return TextDiagnostic{line, column, Severity::Warning,
                                  "the text is " + std::to_string(total) +
                                      " characters long; an object file holds at most " +
                                      std::to_string(kMaxObjectTextBytes) +
                                      ", so Save will refuse it"};
        }
        if (text.compare(at, 2, "\r\n") == 0) {
            at += 2;
            characters += 2;
            ++line;
            column = 1;
        } else {
            at += characterAt(at);
            ++characters;
            ++column;
        }
    }
    return std::nullopt;
}

const char* severityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

} // namespace

int checkCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kCheckHelp;
        return 0;
    }
    const bool json = args.flag("--json");
    const bool raw = args.flag("--raw");
    const std::vector<std::string> files = args.positionals();
    if (files.empty())
        throw UsageError{"no FILE given"};

    bool found = false;
    JsonWriter list;
    list.raw("[");
    for (const std::string& file : files) {
        ToolObject object;
        try {
            std::vector<std::string> one;
            if (raw)
                one.push_back("--raw");
            one.insert(one.end(), {"--", file});
            ToolArguments fileArgs(std::move(one));
            object = readToolObject(fileArgs);
        } catch (const InputError& error) {
            // The other files are still worth checking.
            std::cerr << "wirevane-tool: " << printableName(error.message) << '\n';
            found = true;
            continue;
        }
        TextAnalysis analysis = firstFindings(object.input.text, kMaxFindingsPerFile);
        if (const auto tooLong = tooLongForAFile(object.input.text)) {
            auto& list = analysis.diagnostics;
            list.insert(std::upper_bound(list.begin(), list.end(), *tooLong,
                                         [](const TextDiagnostic& a, const TextDiagnostic& b) {
                                             return a.line < b.line;
                                         }),
                        *tooLong);
        }
        for (const TextDiagnostic& diagnostic : analysis.diagnostics) {
            found = true;
            if (json) {
                list.raw(list.text().size() > 1 ? ",{" : "{");
                list.key("file").string(file);
                list.key("line").number(diagnostic.line);
                list.key("column").number(diagnostic.column);
                list.key("severity").string(severityName(diagnostic.severity));
                list.key("message").string(diagnostic.message);
                list.raw("}");
            } else {
                std::cout << findingPosition(file, diagnostic) << ": "
                          << severityName(diagnostic.severity) << ": " << diagnostic.message
                          << '\n';
            }
        }
        // Beside the JSON list, which holds findings only.
        if (analysis.diagnosticsLeftOut > 0)
            (json ? std::cerr : std::cout)
                << printableName(file) << ": " << analysis.diagnosticsLeftOut
                << " more findings not shown\n";
    }
    if (json)
        std::cout << list.raw("]").text() << '\n';
    return found ? 1 : 0;
}

} // namespace wirevane
