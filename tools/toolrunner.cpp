#include "tools/toolrunner.h"

#include "engine/objectcompiler.h"
#include "engine/pngwriter.h"
#include "engine/rastersurface.h"
#include "engine/recordingsurface.h"
#include "engine/renderer.h"
#include "engine/teesurface.h"
#include "tools/checkcommand.h"
#include "tools/jsonwriter.h"
#include "tools/toolcommands.h"
#include "tools/toolinput.h"
#include "tools/tooloutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace wirevane {
namespace {

constexpr int kMaxSteps = 1'000'000;

const char* const kToolHelp = R"(Usage: wirevane-tool COMMAND [OPTIONS] FILE

Commands:
  compile   compile an object text and print the scene as JSON
  render    compile, draw the scene and write a PNG or SVG or print the drawing as JSON
  animate   compile and write an animated GIF of the scene turning
  info      print the values of an object file as JSON
  pack      write an object file from an object text
  check     report lines the compiler will read differently from how they look

Run 'wirevane-tool COMMAND --help' for the options of a command.
)";

const char* const kCompileHelp =
    R"(Usage: wirevane-tool compile [--axis TEXT] [--name NAME] [--cross] [--raw] FILE

Compiles the object in FILE (an object text, or a .kfm object file) as the Animation command
would and prints the scene as JSON. Line endings of a text file become CR LF unless --raw.
  --axis TEXT   axis order field (default "0")
  --name NAME   object name (default "noname.kfm", or the file name of a .kfm file)
  --cross       cross switch on
  --raw         take the text file's bytes as they stand
)";

const char* const kRenderHelp =
    R"(Usage: wirevane-tool render FILE [-o OUT] [--size WxH] [--turn-xz DEG]
                            [--turn-yz DEG] [--zoom F] [--steps N] [--data] [--numbers]
                            [--json] [compile options]

Compiles FILE onto a scene with the program's start values, then draws it N times (default 1)
with the given turn and zoom set before each drawing, on an image of WxH pixels (default 553x375).
  -o OUT        write the picture: OUT.png an image, OUT.svg a drawing
  --json        print the scene, projection and what the last drawing drew as JSON
  --data        compute the table angles, as with "3D-Data" ticked
  --numbers     draw the point numbers, as with "Number" ticked
)";

// Columns 1 and 2 of rows 1 to count, as the scene's tables keep them (column 0 is unused).
template <typename Table>
void writeColumnPairs(JsonWriter& json, const Table& rows, int count) {
    json.raw("[");
    for (int i = 1; i <= count; ++i)
        json.raw(i > 1 ? ",[" : "[").number(rows[i][1]).raw(",").number(rows[i][2]).raw("]");
    json.raw("]");
}

void writePoints(JsonWriter& json, const PointTable& x, const PointTable& y, const PointTable* z,
                 int count) {
    json.raw("[");
    for (int i = 1; i <= count; ++i) {
        json.raw(i > 1 ? ",[" : "[").number(x[i]).raw(",").number(y[i]);
        if (z)
            json.raw(",").number((*z)[i]);
        json.raw("]");
    }
    json.raw("]");
}

int compileCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kCompileHelp;
        return 0;
    }
    const ToolObject object = readToolObject(args);
    Scene scene;
    const CompileResult result = compileObject(scene, &object.input);

    JsonWriter json;
    json.raw("{");
    json.key("completed").boolean(result.completed);
    json.key("pointCount").number(scene.pointCount);
    json.key("connectionCount").number(scene.connectionCount);
    json.key("axisOrder").number(scene.axisOrder);
    json.key("objectColor").number(scene.objectColor);
    json.key("backgroundColor").number(scene.backgroundColor);
    json.key("crossColor").number(scene.crossColor);
    json.key("showCross").number(scene.showCross);
    json.key("creditsOffered").boolean(result.creditsOffered);
    json.key("raw");
    writePoints(json, scene.rawX, scene.rawY, &scene.rawZ, scene.pointCount);
    json.key("scene");
    writePoints(json, scene.sceneX, scene.sceneY, &scene.sceneZ, scene.pointCount);
    json.key("connections");
    writeColumnPairs(json, scene.connections, scene.connectionCount);
    json.raw("}");
    std::cout << json.text() << '\n';
    return 0;
}

// A PNG picture without text, drawn by the core alone.
class RasterPicture : public ToolPicture {
  public:
    RasterPicture(int width, int height) : raster_(width, height) {}

    Surface& surface() override { return raster_; }
    std::string fileBytes(const std::string&) override {
        return pngFileBytes(raster_.pixels().data(), raster_.width(), raster_.height(),
                            raster_.width());
    }

  private:
    RasterSurface raster_;
};

// The title of a drawing: its file name without the folder and the last extension.
std::string drawingTitle(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    return name.substr(0, name.find_last_of('.'));
}

int renderCommand(ToolArguments args, const ToolBackend& backend) {
    if (args.flag("--help")) {
        std::cout << kRenderHelp;
        return 0;
    }
    const PictureSize size = sizeOption(args);
    const auto output = args.option("-o");
    std::optional<PictureFormat> format;
    if (output && !(format = pictureFormatOf(*output)))
        throw UsageError{"-o takes a file name ending in .png or .svg, not '" + *output + "'"};
    const double turnXZ = parseTurn(args.option("--turn-xz").value_or("0"), "--turn-xz");
    const double turnYZ = parseTurn(args.option("--turn-yz").value_or("0"), "--turn-yz");
    const double zoom = parseDouble(args.option("--zoom").value_or("1"), "--zoom");
    const int steps = parseInt(args.option("--steps").value_or("1"), "--steps", 0, kMaxSteps);
    RenderOptions options;
    options.showData = args.flag("--data");
    options.showNumbers = args.flag("--numbers");
    const bool printJson = args.flag("--json");
    const ToolObject object = readToolObject(args);

    Scene scene;
    compileForPicture(scene, object);

    std::unique_ptr<ToolPicture> picture;
    if (output) {
        try {
            picture = backend.picture(*format, options.showNumbers, size);
        } catch (const std::bad_alloc&) {
            throw InputError{*output + ": " + notEnoughMemory(size)};
        }
    }
    // Without a file to write, the record alone is drawn on, refusing what a picture would.
    RecordingSurface recorded(size.width, size.height);
    recorded.limitToDevice();
    std::optional<TeeSurface> pictureAndRecord;
    Surface* surface = &recorded;
    if (picture)
        surface = printJson ? &pictureAndRecord.emplace(picture->surface(), recorded)
                            : &picture->surface();
    RendererState state;
    DrawOutcome outcome;
    for (int step = 0; step < steps; ++step) {
        scene.turnXZ = turnXZ;
        scene.turnYZ = turnYZ;
        scene.zoomFactor = zoom;
        recorded.forgetDrawing();
        outcome = drawScene(scene, state, *surface, options);
    }

    if (output)
        writeToolOutput(*output, picture->fileBytes(drawingTitle(*output)));
    if (printJson) {
        JsonWriter json;
        json.raw("{");
        json.key("scene");
        writePoints(json, scene.sceneX, scene.sceneY, &scene.sceneZ, scene.pointCount);
        json.key("screen");
        writePoints(json, scene.screenX, scene.screenY, nullptr, scene.pointCount);
        json.key("angles");
        writeColumnPairs(json, scene.pointAngles, scene.pointCount);
        json.key("zoomFactor").number(scene.zoomFactor);
        json.key("drawn").boolean(outcome.drawn);
        // The cross is the first three lines of a drawing; the rest are connections.
        const auto& lines = recorded.lines();
        const std::size_t crossLines = (outcome.drawn && scene.showCross != 0) ? 3 : 0;
        json.key("lines").raw("[");
        for (std::size_t i = crossLines; i < lines.size(); ++i) {
            const auto& line = lines[i];
            json.raw(i > crossLines ? ",[" : "[")
                .number(line.x1)
                .raw(",")
                .number(line.y1)
                .raw(",")
                .number(line.x2)
                .raw(",")
                .number(line.y2)
                .raw("]");
        }
        json.raw("]");
        json.key("circles").raw("[");
        bool first = true;
        for (const auto& circle : recorded.circles()) {
            json.raw(first ? "[" : ",[")
                .number(circle.x)
                .raw(",")
                .number(circle.y)
                .raw(",")
                .number(circle.radius)
                .raw("]");
            first = false;
        }
        json.raw("]}");
        std::cout << json.text() << '\n';
    }
    return 0;
}

} // namespace

std::unique_ptr<ToolPicture> makeRasterPicture(const PictureSize& size) {
    return std::make_unique<RasterPicture>(size.width, size.height);
}

bool needsQt(const std::vector<std::string>& args) {
    if (args.empty())
        return false;
    if (args.front() == "animate")
        return true;
    if (args.front() != "render")
        return false;
    try {
        ToolArguments render({args.begin() + 1, args.end()});
        const bool numbers = render.flag("--numbers");
        const auto output = render.option("-o");
        const auto format = output ? pictureFormatOf(*output) : std::nullopt;
        return format == PictureFormat::Svg || (format == PictureFormat::Png && numbers);
    } catch (const UsageError&) {
        return false; // the plain tool says what is wrong
    }
}

namespace {

int runCommand(std::vector<std::string> args, const ToolBackend& backend) {
    if (args.empty() || args.front() == "--help" || args.front() == "-h") {
        std::cout << kToolHelp;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "compile")
        return compileCommand(ToolArguments(args));
    if (command == "render")
        return renderCommand(ToolArguments(args), backend);
    if (command == "info")
        return infoCommand(ToolArguments(args));
    if (command == "pack")
        return packCommand(ToolArguments(args));
    if (command == "animate")
        return backend.animate(ToolArguments(args));
    if (command == "check")
        return checkCommand(ToolArguments(args));
    throw UsageError{"unknown command '" + command + "'"};
}

} // namespace

int runTool(std::vector<std::string> args, const ToolBackend& backend) {
    removeUnfinishedFileOnInterrupt();
    int status = 0;
    try {
        status = runCommand(std::move(args), backend);
    } catch (const UsageError& error) {
        std::cerr << "wirevane-tool: " << error.message << "\n(see 'wirevane-tool --help')\n";
        return 2;
    } catch (const InputError& error) {
        std::cerr << "wirevane-tool: " << error.message << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "wirevane-tool: not enough memory\n";
        return 1;
    }
    // A cut JSON in a script's pipe must not pass for a whole one.
    errno = 0;
    if (!std::cout.flush()) {
        std::cerr << "wirevane-tool: standard output cannot be written ("
                  << (errno != 0 ? std::strerror(errno) : "write error") << ")\n";
        return 1;
    }
    return status;
}

} // namespace wirevane
