#include "tools/toolobject.h"

#include "core/documents/filenames.h"
#include "core/documents/objectfiledisk.h"

#include <algorithm>

namespace wirevane {
namespace {

bool isObjectFile(const std::string& path) {
    return lowerExtension(path) == "kfm";
}

} // namespace

ObjectFileValues readObjectFileValues(const std::string& path) {
    ObjectFileValues values;
    const ObjectFileResult result = readObjectFileAt(path, values);
    if (!result.ok())
        throw InputError{path + ": " + result.reason};
    return values;
}

ObjectFileValues readWindowValues(const std::string& file) {
    if (isObjectFile(file))
        return readObjectFileValues(file);
    ObjectFileValues values;
    values.objectColor = kDefaultObjectColour;
    values.backgroundColor = kDefaultBackgroundColour;
    values.crossColor = kDefaultCrossColour;
    values.text = toCrLf(readFileBytes(file));
    return values;
}

std::string printableName(const std::string& name) {
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += c;
            continue;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : "";
        if (c != '\n' && c != '\r' && c != '\t')
            out += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    }
    return out;
}

std::string findingPosition(const std::string& file, const TextDiagnostic& diagnostic) {
    return printableName(file) + ':' + std::to_string(diagnostic.line) + ':' +
           std::to_string(diagnostic.column);
}

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
        const ObjectFileValues values = readObjectFileValues(file);
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

void compileForPicture(Scene& scene, const ToolObject& object) {
    if (compileObject(scene, &object.input).completed)
        return;
    const TextAnalysis analysis = firstFindings(object.input.text, 0);
    if (analysis.stopLine > 0)
        throw InputError{findingPosition(object.file, analysis.stop) + ": " +
                         analysis.stop.message};
    throw InputError{object.file + ": the animation will not start for this object"};
}

} // namespace wirevane
