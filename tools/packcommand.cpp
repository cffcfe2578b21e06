// wirevane-tool pack: the object file Save would write for an object text.
#include "core/documents/objectfile.h"
#include "core/documents/objectfiledisk.h"
#include "core/engine/objectcompiler.h"
#include "tools/toolcommands.h"
#include "tools/toolinput.h"

#include <charconv>
#include <cmath>
#include <iostream>

namespace wirevane {
namespace {

const char* const kPackHelp =
    R"(Usage: wirevane-tool pack TEXTFILE -o OUT.kfm [--axis N] [--object-color HEX]
                         [--background-color HEX] [--cross-color HEX] [--cross]

Writes the object file that Save would write for a window holding the object text of TEXTFILE
(UTF-8; its line endings become CR LF) and these values. Defaults are those of a new window.
  --axis N                 axis order (default 0)
  --object-color HEX       colours as 24-bit hexadecimal values, red in the low byte
  --background-color HEX   (defaults C0C000, 0 and E0E0E0)
  --cross-color HEX
  --cross                  cross switch on
)";

Colour parseColour(const std::string& text, const std::string& option) {
    std::string_view digits = text;
    for (const std::string_view prefix : {"0x", "0X", "&H", "&h", "#"})
        if (digits.starts_with(prefix)) {
            digits.remove_prefix(prefix.size());
            break;
        }
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value > 0xFFFFFF)
        throw UsageError{option + " takes a hexadecimal colour from 0 to FFFFFF, not '" + text +
                         "'"};
    return static_cast<Colour>(value);
}

double parseAxis(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        throw UsageError{"--axis takes a number, not '" + text + "'"};
    return value;
}

} // namespace

int packCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kPackHelp;
        return 0;
    }
    const auto output = args.option("-o");
    const ObjectInput defaults = defaultObjectInput();
    ObjectFileValues values;
    values.axisOrder = parseAxis(args.option("--axis").value_or("0"));
    const auto colour = [&](const char* option, Colour fallback) {
        const auto text = args.option(option);
        return text ? parseColour(*text, option) : fallback;
    };
    values.objectColor = colour("--object-color", defaults.objectColor);
    values.backgroundColor = colour("--background-color", defaults.backgroundColor);
    values.crossColor = colour("--cross-color", defaults.crossColor);
    values.showCross = args.flag("--cross") ? 1 : 0;
    const std::string textFile = singleFile(args);
    if (!output)
        throw UsageError{"pack needs -o OUT.kfm"};
    refuseOutputThatIsInput(textFile, *output);
    values.text = toCrLf(readFileBytes(textFile));
    const ObjectFileResult result = writeObjectFileAt(*output, values);
    if (!result.ok())
        throw InputError{*output + ": not written. " + result.reason};
    return 0;
}

} // namespace wirevane
