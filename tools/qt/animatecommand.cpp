// wirevane-tool animate: an animated GIF of the scene turning, as run mode shows it.
#include "core/documents/filereplacement.h"
#include "core/engine/objectcompiler.h"
#include "surfaces/sceneexport.h"
#include "tools/qt/toolapplication.h"
#include "tools/toolcommands.h"
#include "tools/toolinput.h"
#include "tools/toolobject.h"

#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <unistd.h>

namespace wirevane {
namespace {

constexpr int kMaxFrames = 10000;
// About a quarter of an hour and a few gigabytes at most; more is a slip of the keyboard.
constexpr std::uint64_t kMaxPixelFrames = std::uint64_t{1} << 31;
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
  --frames N      number of frames (default: until the picture comes back to the first
                  one: 72 at 5 degrees, 360 at 7); width x height x frames at most
                  2147483648
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
    turn.step = parseTurn(xz ? *xz : *yz, option);
    if (turn.step == 0)
        throw UsageError{option + " takes a turn other than 0"};
}

// A GIF stores a frame's time in hundredths of a second.
int readDelay(const std::string& text) {
    const int delay = parseInt(text, "--delay", kMinDelayMs, kMaxDelayMs);
    if (delay % 10 != 0)
        throw UsageError{"--delay takes milliseconds in steps of 10, as a GIF stores them, not '" +
                         text + "'"};
    return delay;
}

// "frame k of N" on a terminal once a run has taken a second; scripts see nothing.
class Progress {
  public:
    explicit Progress(int frames) : frames_(frames), shown_(::isatty(STDERR_FILENO) == 1) {}
    ~Progress() {
        if (written_)
            std::cerr << '\n';
    }
    void framesDone(int done) {
        if (!shown_ || std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1))
            return;
        std::cerr << "\rframe " << done << " of " << frames_ << std::flush;
        written_ = true;
    }

  private:
    int frames_;
    bool shown_;
    bool written_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

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
    const std::uint64_t pixelFrames = static_cast<std::uint64_t>(size.width) *
                                      static_cast<std::uint64_t>(size.height) *
                                      static_cast<std::uint64_t>(turn.frames);
    if (pixelFrames > kMaxPixelFrames)
        throw UsageError{"an animation takes at most " + std::to_string(kMaxPixelFrames) +
                         " pixels in all frames (width x height x frames), not " +
                         std::to_string(pixelFrames) + "; give a smaller --size or --frames"};
    if (const auto delay = args.option("--delay"))
        turn.delayMs = readDelay(*delay);
    turn.firstZoom = parseDouble(args.option("--zoom").value_or("1"), "--zoom");
    RenderOptions options;
    options.showNumbers = args.flag("--numbers");
    const ToolObject object = readToolObject(args);
    refuseOutputThatIsInput(object.file, *output);

    if (options.showNumbers)
        needGuiApplication();
    Scene scene;
    compileForPicture(scene, object);
    // Each frame goes to the file as it is made, so a long animation is not held in memory;
    // the file takes its name only once it is whole.
    FileReplacement replacement(*output);
    if (!replacement.file())
        throw InputError{*output + ": cannot be written (" + replacement.reason() + ")"};
    int writeError = 0;
    const auto write = [&](const char* bytes, std::size_t length) {
        errno = 0;
        if (std::fwrite(bytes, 1, length, replacement.file()) == length)
            return true;
        writeError = errno != 0 ? errno : EIO;
        return false;
    };
    QString error;
    bool made = false;
    try {
        Progress progress(turn.frames);
        made = writeTurnAnimation(scene, QSize(size.width, size.height), options, turn, write,
                                  error, [&](int done) { progress.framesDone(done); });
    } catch (const std::bad_alloc&) {
        throw InputError{*output + ": " + notEnoughMemory(size)};
    }
    if (writeError != 0)
        throw InputError{*output + ": cannot be written (" + std::strerror(writeError) + ")"};
    if (!made)
        throw InputError{*output + ": the animation cannot be made (" + error.toStdString() + ")"};
    if (const std::string failure = replacement.commit(false); !failure.empty())
        throw InputError{*output + ": cannot be written (" + failure + ")"};
    return 0;
}

} // namespace wirevane
