#include "documents/filenames.h"
#include "documents/objectfile.h"
#include "documents/objectfiledisk.h"
#include "tools/jsonwriter.h"
#include "tools/toolcommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>

namespace wirevane {
namespace {

const char* const kInfoHelp = R"(Usage: wirevane-tool info FILE.kfm

Prints the values of an object file as JSON: axis order, the three colours (24-bit values, red
in the low byte), the cross switch and the object text.
)";

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

bool isObjectFile(const std::string& path) {
    std::string name = fileNamePart(path);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.size() > 4 && name.ends_with(".kfm");
}

ObjectFileValues readValues(const std::string& path) {
    ObjectFileValues values;
    const ObjectFileResult result = readObjectFileAt(path, values);
    if (!result.ok())
        throw InputError{path + ": " + result.reason};
    return values;
}

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

std::string singleFile(const ToolArguments& args) {
    const auto rest = args.positionals();
    if (rest.size() != 1)
        throw UsageError{rest.empty() ? "no FILE given" : "more than one FILE given"};
    return rest.front();
}

} // namespace

ToolObject readToolObject(ToolArguments& args) {
    // Options first, so that what is left is the file.
    const bool raw = args.flag("--raw");
    const auto axis = args.option("--axis");
    const auto name = args.option("--name");
    const bool cross = args.flag("--cross");
    const std::string file = singleFile(args);

    ObjectInput input = defaultObjectInput();
    if (isObjectFile(file)) {
        // What the window shows once the file is loaded.
        const ObjectFileValues values = readValues(file);
        input.text = values.text;
        input.name = fileNamePart(file);
        input.axisOrderText = axisOrderText(values.axisOrder);
        input.objectColor = values.objectColor;
        input.backgroundColor = values.backgroundColor;
        input.crossColor = values.crossColor;
        input.crossState = values.showCross;
    } else {
        const std::string bytes = readFileBytes(file);
        input.text = raw ? bytes : toCrLf(bytes);
    }
    if (axis)
        input.axisOrderText = *axis;
    if (name)
        input.name = *name;
    if (cross)
        input.crossState = 1;
    return {std::move(input), file};
}

int infoCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kInfoHelp;
        return 0;
    }
    const ObjectFileValues values = readValues(singleFile(args));
    JsonWriter json;
    json.raw("{");
    json.key("axisOrder").number(values.axisOrder);
    json.key("objectColor").number(values.objectColor);
    json.key("backgroundColor").number(values.backgroundColor);
    json.key("crossColor").number(values.crossColor);
    json.key("showCross").number(values.showCross);
    json.key("text").string(values.text);
    json.raw("}");
    std::cout << json.text() << '\n';
    return 0;
}

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
    values.text = toCrLf(readFileBytes(textFile));
    const ObjectFileResult result = writeObjectFileAt(*output, values);
    if (!result.ok())
        throw InputError{*output + ": not written. " + result.reason};
    return 0;
}

} // namespace wirevane
