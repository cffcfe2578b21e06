// wirevane-tool convert: an object to or from the shape files of other programs.
#include "core/documents/filenames.h"
#include "core/documents/filereplacement.h"
#include "core/documents/objectfiledisk.h"
#include "core/engine/objectcompiler.h"
#include "core/engine/objecttextanalysis.h"
#include "formats/shapes/shape.h"
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapewriters.h"
#include "tools/toolcommands.h"
#include "tools/toolinput.h"
#include "tools/toolobject.h"

#include <algorithm>
#include <iostream>
#include <set>

namespace wirevane {
namespace {

const char* const kConvertHelp =
    R"(Usage: wirevane-tool convert INPUT -o OUTPUT [--all-edges]

Converts an object to or from a shape file of another program, each format by its extension:
.txt (object text), .kfm (object file), .obj (Wavefront OBJ), .ply, .stl and .off in; .txt,
.kfm, .obj and .ply (ASCII) out. '-o -' prints the object text. A shape read in becomes a new
object (at most 100 points and 100 connections) with the default colours; OBJ and PLY are
written with the points as the animation shows them before any turn.
  -o OUTPUT     the file to write, or - for standard output
  --all-edges   keep every edge of a shape's faces, also the diagonals of flat sides
                (an edge between two faces whose planes are within 0.1 degree and which
                lie on either side of it)
)";

enum class Kind { Text, ObjectFile, Obj, Ply, Shape };

Kind outputKind(const std::string& path) {
    if (path == "-")
        return Kind::Text;
    const std::string extension = lowerExtension(path);
    if (extension == "txt")
        return Kind::Text;
    if (extension == "kfm")
        return Kind::ObjectFile;
    if (extension == "obj")
        return Kind::Obj;
    if (extension == "ply")
        return Kind::Ply;
    throw UsageError{"convert writes .txt, .kfm, .obj or .ply files, not '" + path + "'"};
}

// The object the input holds, as Load would open it or as a new window would hold a shape.
ObjectFileValues readInput(const std::string& path, FaceEdges faceEdges) {
    const std::string extension = lowerExtension(path);
    if (extension == "kfm")
        return readObjectFileValues(path);
    const ObjectInput defaults = defaultObjectInput();
    ObjectFileValues values;
    values.objectColor = defaults.objectColor;
    values.backgroundColor = defaults.backgroundColor;
    values.crossColor = defaults.crossColor;
    values.showCross = defaults.crossState;
    if (extension == "txt") {
        values.text = toCrLf(readFileBytes(path));
        return values;
    }
    const std::optional<ShapeFormat> format = shapeFormatOf(path);
    if (!format)
        throw UsageError{"convert reads .txt, .kfm, .obj, .ply, .stl or .off files, not '" + path +
                         "'"};
    const std::string bytes = readFileBytes(path);
    Shape shape;
    try {
        shape = readShape(*format, bytes, faceEdges);
    } catch (const ShapeError& error) {
        throw InputError{path + ": " + error.message};
    }
    try {
        values.text = shapeObjectText(shape, path);
    } catch (const ShapeError& error) {
        throw InputError{error.message};
    }
    return values;
}

void writeOutput(const std::string& path, const std::string& bytes) {
    if (path == "-") {
        std::cout << bytes;
        return;
    }
    const std::string reason = writeFileReplacing(path, bytes);
    if (!reason.empty())
        throw InputError{path + ": cannot be written (" + reason + ")"};
}

} // namespace

int convertCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kConvertHelp;
        return 0;
    }
    const FaceEdges faceEdges = args.flag("--all-edges") ? FaceEdges::All : FaceEdges::ShapeOnly;
    const auto output = args.option("-o");
    const std::string input = singleFile(args);
    if (!output)
        throw UsageError{"convert needs -o OUTPUT"};
    const Kind kind = outputKind(*output);
    if (*output != "-")
        refuseOutputThatIsInput(input, *output);
    if (lowerExtension(input) != "txt" && lowerExtension(input) != "kfm" && !shapeFormatOf(input))
        throw UsageError{"convert reads .txt, .kfm, .obj, .ply, .stl or .off files, not '" + input +
                         "'"};

    const ObjectFileValues values = readInput(input, faceEdges);
    if (kind == Kind::Text) {
        writeOutput(*output, values.text);
        return 0;
    }
    if (kind == Kind::ObjectFile) {
        const ObjectFileResult result = writeObjectFileAt(*output, values);
        if (!result.ok())
            throw InputError{*output + ": not written. " + result.reason};
        return 0;
    }

    ToolObject object{defaultObjectInput(), input};
    object.input.text = values.text;
    object.input.name = fileNamePart(input);
    object.input.axisOrderText = axisOrderText(values.axisOrder);
    object.input.objectColor = values.objectColor;
    Scene scene;
    compileForPicture(scene, object);
    std::set<int> blankRows;
    for (const LineAnalysis& line : analyzeObjectText(values.text).lines)
        if (line.kind == LineKind::BlankRow)
            blankRows.insert(line.number);
    const WrittenShape written = kind == Kind::Obj
                                     ? writeObjShape(scene, object.input.name, blankRows)
                                     : writePlyShape(scene, object.input.name, blankRows);
    if (written.connectionsLeftOut > 0)
        std::cerr << "wirevane-tool: " << input << ": " << written.connectionsLeftOut
                  << (written.connectionsLeftOut == 1 ? " connection names" : " connections name")
                  << " no point and " << (written.connectionsLeftOut == 1 ? "is" : "are")
                  << " left out\n";
    writeOutput(*output, written.bytes);
    return 0;
}

} // namespace wirevane
