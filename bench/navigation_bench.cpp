// Runs the navigation bar in real time on Qt's offscreen platform, as a user would leave the
// animation running: step mode and run mode, at the animation window's design size and at full
// HD. Reports timer ticks per second against the rate the timers are set to, and the processor
// time the whole process used.
//
//   bench_navigation [--seconds N]      measure (10 s per case by default)
//   bench_navigation --try FILE.txt     open the animation of an object text to try it by hand
#include "bench/realtime.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/animation/navigationbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using namespace wirevane;

struct Case {
    const char* mode;
    QSize window;
    double ticksPerSecond;
    double expected;
    double cpuPercent;
    double repaintsPerSecond;
};

Case measure(const char* mode, FlooredTimer& timer, AnimationWindow& window, double seconds) {
    runEvents(500); // settle
    int ticks = 0;
    const auto counting = QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    const Stretch stretch = runCounted(window, seconds);
    QObject::disconnect(counting);
    return {mode,
            window.size(),
            ticks / stretch.seconds,
            1000.0 / timer.interval(),
            stretch.cpuPercent,
            stretch.repaintsPerSecond};
}

int benchmark(double seconds) {
    Scene scene;
    AnimationController controller(scene);
    if (!startBenchAnimation(controller))
        return 1;
    NavigationBar* bar = controller.navigationBar();
    AnimationWindow* window = controller.animationWindow();

    std::vector<Case> cases;
    // What the platform costs for waking up this often, with nothing to do.
    FlooredTimer idle;
    idle.setRequestedInterval(bar->Timer1.requestedInterval());
    const bool stepping = bar->Timer1.isActive();
    bar->Timer1.stop();
    idle.start();
    cases.push_back(measure("idle", idle, *window, seconds));
    idle.stop();
    if (stepping)
        bar->Timer1.start();

    for (const QSize size : {window->size(), QSize(1920, 1080)}) {
        window->resize(size);
        if (bar->Check3->isChecked())
            bar->Check3->click(); // back to step mode
        cases.push_back(measure("step", bar->Timer1, *window, seconds));
        bar->Check3->click();   // "Run"
        bar->Command2->click(); // keep turning right by the speed, 2 degrees a tick
        cases.push_back(measure("run", bar->Timer2, *window, seconds));
    }

    std::printf("%-5s %-10s %10s %9s %8s %11s %10s\n", "mode", "window", "ticks/s", "expected",
                "within", "repaints/s", "CPU %");
    for (const Case& c : cases) {
        const double off = 100 * std::fabs(c.ticksPerSecond - c.expected) / c.expected;
        const std::string size =
            std::to_string(c.window.width()) + "x" + std::to_string(c.window.height());
        std::printf("%-5s %-10s %10.1f %9.1f %7.1f%% %11.1f %10.2f\n", c.mode, size.c_str(),
                    c.ticksPerSecond, c.expected, off, c.repaintsPerSecond, c.cpuPercent);
    }
    std::printf("(%.0f s per case, Qt platform %s; idle: an empty timer at the same interval)\n",
                seconds, qPrintable(QGuiApplication::platformName()));
    return 0;
}

// Opens the animation of an object text file on the running platform, until it is closed.
int tryByHand(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    ObjectInput input = benchObject();
    input.name = "example.kfm";
    input.text.clear();
    for (const QByteArray& line : file.readAll().replace("\r\n", "\n").split('\n'))
        input.text += line.toStdString() + "\r\n";
    Scene scene;
    AnimationController controller(scene);
    QObject::connect(&controller, &AnimationController::animationEnded, qApp,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    if (!controller.MAnimation_Click(&input).completed) {
        std::fprintf(stderr, "%s does not compile (more than 100 points or 101 rows)\n",
                     qPrintable(path));
        return 1;
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QString tryFile;
    double seconds = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--try" && i + 1 < argc)
            tryFile = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--seconds" && i + 1 < argc)
            seconds = std::max(0.5, std::atof(argv[++i]));
        // Other arguments (those meant for Google Benchmark programs) are ignored.
    }
    if (tryFile.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return tryFile.isEmpty() ? benchmark(seconds) : tryByHand(tryFile);
}
