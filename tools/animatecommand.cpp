// wirevane-tool animate: an animated GIF of the scene turning, as run mode shows it.
#include "engine/objectcompiler.h"
#include "engine/sceneexport.h"
#include "tools/toolapplication.h"
#include "tools/toolcommands.h"
#include "tools/toolinput.h"
#include "tools/tooloutput.h"

#include <QFileInfo>
#include <cmath>
#include <iostream>

namespace wirevane {
namespace {

constexpr int kMaxFrames = 10000;
constexpr double kMaxTurn = 360;
// GIF viewers slow shorter delays down; the longest is what a GIF can store.
constexpr int kMinDelayMs = 20;
constexpr int kMaxDelayMs = 655350;

const char* const kAnimateHelp =
    R"(Usage: wirevane-tool animate FILE -o OUT.gif [--size WxH] [--turn-xz DEG | --turn-yz DEG]
                             [--frames N] [--delay MS] [--zoom F] [--cross] [--numbers]
                             [compile options]

Compiles FILE onto a scene with the program's start values and writes an animated GIF of the
scene turning, looping forever. Frame k is what the animation window shows after k + 1 ticks of
run mode with the turn.
  -o OUT.gif      the animation to write
  --size WxH      picture size in pixels (default 553x375, the animation window's)
  --turn-xz DEG   degrees a frame in the x-z plane (default 5)
  --turn-yz DEG   degrees a frame in the y-z plane instead
  --frames N      number of frames (default: one full turn, 72 at 5 degrees)
  --delay MS      time a frame shows, 20 to 655350 milliseconds in steps of 10
                  (default 20, the pace of run mode)
  --zoom F        zoom the scene by F at the first frame (default 1)
  --cross         draw the axis cross
  --numbers       draw the point numbers, as with "Number" ticked

Example: wirevane-tool animate examples/cube.txt --cross -o cube.gif
)";

// The turn options: which plane, how many degrees a frame.
void readTurn(ToolArguments& args, TurnAnimation& turn) {
    const auto xz = args.option("--turn-xz");
    const auto yz = args.option("--turn-yz");
    if (xz && yz)
        throw UsageError{"give --turn-xz or --turn-yz, not both"};
    if (!xz && !yz)
        return;
    const std::string option = xz ? "--turn-xz" : "--turn-yz";
    turn.inYZPlane = yz.has_value();
    turn.step = parseDouble(xz ? *xz : *yz, option);
    if (!(std::fabs(turn.step) <= kMaxTurn) || turn.step == 0)
        throw UsageError{option + " takes degrees from -360 to 360 other than 0, not '" +
                         (xz ? *xz : *yz) + "'"};
}

} // namespace

int animateCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kAnimateHelp;
        return 0;
    }
    const auto output = args.option("-o");
    if (!output)
        throw UsageError{"animate needs -o OUT.gif"};
    if (QFileInfo(QString::fromStdString(*output)).suffix().toLower() != QLatin1String("gif"))
        throw UsageError{"-o takes a file name ending in .gif, not '" + *output + "'"};
    const PictureSize size = sizeOption(args);
    TurnAnimation turn;
    readTurn(args, turn);
    if (const auto frames = args.option("--frames")) {
        turn.frames = parseInt(*frames, "--frames", 1, kMaxFrames);
    } else {
        turn.frames = framesForFullTurn(turn.step);
        if (turn.frames > kMaxFrames)
            throw UsageError{"a full turn at that step takes more than " +
                             std::to_string(kMaxFrames) + " frames; give --frames"};
    }
    if (const auto delay = args.option("--delay"))
        turn.delayMs = parseInt(*delay, "--delay", kMinDelayMs, kMaxDelayMs);
    turn.firstZoom = parseDouble(args.option("--zoom").value_or("1"), "--zoom");
    if (!std::isfinite(turn.firstZoom))
        throw UsageError{"--zoom takes a finite number"};
    RenderOptions options;
    options.showNumbers = args.flag("--numbers");
    const ObjectInput input = readToolObject(args);

    if (options.showNumbers)
        needGuiApplication();
    Scene scene;
    compileObject(scene, &input);
    QString error;
    const QByteArray gif =
        renderTurnAnimation(scene, QSize(size.width, size.height), options, turn, error);
    if (gif.isEmpty())
        throw InputError{*output + ": the animation cannot be made (" + error.toStdString() + ")"};
    writeToolOutput(*output, gif.toStdString());
    return 0;
}

} // namespace wirevane
