// wirevane-tool: compiles, renders and packs objects from the command line.
#include "engine/imagesurface.h"
#include "engine/objectcompiler.h"
#include "engine/recordingsurface.h"
#include "engine/renderer.h"
#include "engine/sceneexport.h"
#include "engine/svgsurface.h"
#include "tools/checkcommand.h"
#include "tools/jsonwriter.h"
#include "tools/toolapplication.h"
#include "tools/toolcommands.h"
#include "tools/toolinput.h"
#include "tools/tooloutput.h"

#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <map>
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
    const ObjectInput input = readToolObject(args);
    Scene scene;
    const CompileResult result = compileObject(scene, &input);

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
    json.key("connections").raw("[");
    for (int k = 1; k <= scene.connectionCount; ++k)
        json.raw(k > 1 ? ",[" : "[")
            .number(scene.connections[k][1])
            .raw(",")
            .number(scene.connections[k][2])
            .raw("]");
    json.raw("]}");
    std::cout << json.text() << '\n';
    return 0;
}

// Draws into the image and records what was drawn, so one drawing gives PNG, SVG and JSON.
class RenderSurface : public ImageSurface {
  public:
    RenderSurface(int width, int height) : ImageSurface(width, height), drawing(width, height) {}

    void setScale(double left, double top, double right, double bottom) override {
        ImageSurface::setScale(left, top, right, bottom);
        drawing.setScale(left, top, right, bottom);
    }
    void setBackColor(Colour colour) override {
        ImageSurface::setBackColor(colour);
        drawing.setBackColor(colour);
    }
    void clearSurface() override {
        ImageSurface::clearSurface();
        recorded.forgetDrawing();
        drawing.clearSurface();
    }
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override {
        return ImageSurface::drawLine(x1, y1, x2, y2, colour) &&
               recorded.drawLine(x1, y1, x2, y2, colour) &&
               drawing.drawLine(x1, y1, x2, y2, colour);
    }
    bool drawCircle(float x, float y, float radius, Colour colour) override {
        return ImageSurface::drawCircle(x, y, radius, colour) &&
               recorded.drawCircle(x, y, radius, colour) &&
               drawing.drawCircle(x, y, radius, colour);
    }
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override {
        ImageSurface::placeLabel(index, text, colour, left, top);
        drawing.placeLabel(index, text, colour, left, top);
    }
    void setLabelText(int index, const std::string& text) override {
        ImageSurface::setLabelText(index, text);
        drawing.setLabelText(index, text);
    }

    RecordingSurface recorded; // the last drawing, for JSON
    SvgSurface drawing;        // everything the image shows, for SVG
};

int renderCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kRenderHelp;
        return 0;
    }
    const PictureSize size = sizeOption(args);
    const auto output = args.option("-o");
    std::optional<PictureFormat> format;
    if (output && !(format = pictureFormatOf(QString::fromStdString(*output))))
        throw UsageError{"-o takes a file name ending in .png or .svg, not '" + *output + "'"};
    const double turnXZ = parseDouble(args.option("--turn-xz").value_or("0"), "--turn-xz");
    const double turnYZ = parseDouble(args.option("--turn-yz").value_or("0"), "--turn-yz");
    const double zoom = parseDouble(args.option("--zoom").value_or("1"), "--zoom");
    const int steps = parseInt(args.option("--steps").value_or("1"), "--steps", 0, kMaxSteps);
    RenderOptions options;
    options.showData = args.flag("--data");
    options.showNumbers = args.flag("--numbers");
    const bool printJson = args.flag("--json");
    const ObjectInput input = readToolObject(args);

    Scene scene;
    compileObject(scene, &input);

    if (options.showNumbers || format == PictureFormat::Svg)
        needGuiApplication();
    RenderSurface surface(size.width, size.height);
    RendererState state;
    DrawOutcome outcome;
    for (int step = 0; step < steps; ++step) {
        scene.turnXZ = turnXZ;
        scene.turnYZ = turnYZ;
        scene.zoomFactor = zoom;
        surface.recorded.forgetDrawing();
        outcome = drawScene(scene, state, surface, options);
    }

    if (output) {
        const QString title = QFileInfo(QString::fromStdString(*output)).completeBaseName();
        writeToolOutput(*output, format == PictureFormat::Svg ? svgBytes(surface.drawing, title)
                                                              : pngBytes(surface.composed()));
    }
    if (printJson) {
        JsonWriter json;
        json.raw("{");
        json.key("scene");
        writePoints(json, scene.sceneX, scene.sceneY, &scene.sceneZ, scene.pointCount);
        json.key("screen");
        writePoints(json, scene.screenX, scene.screenY, nullptr, scene.pointCount);
        json.key("angles").raw("[");
        for (int i = 1; i <= scene.pointCount; ++i)
            json.raw(i > 1 ? ",[" : "[")
                .number(scene.pointAngles[i][1])
                .raw(",")
                .number(scene.pointAngles[i][2])
                .raw("]");
        json.raw("]");
        json.key("zoomFactor").number(scene.zoomFactor);
        json.key("drawn").boolean(outcome.drawn);
        // The cross is the first three lines of a drawing; the rest are connections.
        const auto& lines = surface.recorded.lines();
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
        for (const auto& circle : surface.recorded.circles()) {
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

int runTool(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args.front() == "--help" || args.front() == "-h") {
        std::cout << kToolHelp;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    try {
        if (command == "compile")
            return compileCommand(ToolArguments(args));
        if (command == "render")
            return renderCommand(ToolArguments(args));
        if (command == "info")
            return infoCommand(ToolArguments(args));
        if (command == "pack")
            return packCommand(ToolArguments(args));
        if (command == "animate")
            return animateCommand(ToolArguments(args));
        if (command == "check")
            return checkCommand(ToolArguments(args));
        throw UsageError{"unknown command '" + command + "'"};
    } catch (const UsageError& error) {
        std::cerr << "wirevane-tool: " << error.message << "\n(see 'wirevane-tool --help')\n";
        return 2;
    } catch (const InputError& error) {
        std::cerr << "wirevane-tool: " << error.message << '\n';
        return 1;
    }
}

} // namespace wirevane

int main(int argc, char** argv) {
    const int status = wirevane::runTool(argc, argv);
    wirevane::endGuiApplication();
    return status;
}
