// wirevane-tool render: draws the scene as the animation window would and writes the picture or
// prints the drawing as JSON.
#include "core/engine/objectcompiler.h"
#include "core/engine/recordingsurface.h"
#include "core/engine/renderer.h"
#include "core/engine/teesurface.h"
#include "tools/jsonwriter.h"
#include "tools/scenejson.h"
#include "tools/toolcommands.h"
#include "tools/toolobject.h"
#include "tools/tooloutput.h"

#include <iostream>
#include <new>
#include <optional>
#include <string>

namespace wirevane {
namespace {

constexpr int kMaxSteps = 1'000'000;

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

// The title of a drawing: its file name without the folder and the last extension.
std::string drawingTitle(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    return name.substr(0, name.find_last_of('.'));
}

} // namespace

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
    if (output)
        refuseOutputThatIsInput(object.file, *output);

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

    if (output) {
        std::string bytes;
        try {
            bytes = picture->fileBytes(drawingTitle(*output));
        } catch (const std::bad_alloc&) {
            throw InputError{*output + ": " + notEnoughMemory(size)};
        }
        writeToolOutput(*output, bytes);
    }
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

} // namespace wirevane
