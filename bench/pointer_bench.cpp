// Turning the scene by dragging, in real time on Qt's offscreen platform: the animation runs in
// step mode as it does while a user drags, and the pointer sends 60 moves a second around a
// circle (once around every two seconds), first only passing over the window, then dragging
// with the left button. Reports the processor time of the whole process in both cases, the
// difference (what the turning costs, against a budget of 3% of one core), and the repaints.
//
//   bench_pointer [--seconds N]      measure (5 s per case by default)
#include "bench/realtime.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/animation/navigationbar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using namespace wirevane;

constexpr int kPointerEventsPerSecond = 60;
constexpr double kBudgetPercent = 3;

void sendMouse(QWidget& window, QEvent::Type type, const QPointF& at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, window.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
}

struct Measure {
    double cpuPercent;
    double eventsPerSecond;
    double repaintsPerSecond;
};

// Runs the event loop for the given time, dragging or not; returns what the process used.
Measure measure(AnimationWindow& window, bool drag, double seconds) {
    runEvents(300); // settle
    const QPointF centre(window.width() / 2.0, window.height() / 2.0);
    const double radius = std::min(window.width(), window.height()) / 4.0;
    int events = 0;
    QElapsedTimer wall;
    QTimer pointer;
    pointer.setTimerType(Qt::PreciseTimer);
    pointer.setInterval(1000 / kPointerEventsPerSecond);
    QObject::connect(&pointer, &QTimer::timeout, [&] {
        const double a = wall.nsecsElapsed() / 1e9 * M_PI; // half a circle a second
        sendMouse(window, QEvent::MouseMove, centre + radius * QPointF(std::cos(a), std::sin(a)),
                  drag ? Qt::LeftButton : Qt::NoButton);
        ++events;
    });
    if (drag)
        sendMouse(window, QEvent::MouseButtonPress, centre + QPointF(radius, 0), Qt::LeftButton);
    const Stretch stretch = runCounted(
        window, seconds,
        [&] {
            wall.start();
            pointer.start();
        },
        [&] { pointer.stop(); });
    if (drag)
        sendMouse(window, QEvent::MouseButtonRelease, centre, Qt::NoButton);
    return {stretch.cpuPercent, events / stretch.seconds, stretch.repaintsPerSecond};
}

int benchmark(double seconds) {
    Scene scene;
    AnimationController controller(scene);
    if (!startBenchAnimation(controller))
        return 1;
    AnimationWindow* window = controller.animationWindow();

    std::printf("%-10s %12s %12s %9s %11s %12s %8s\n", "window", "CPU % pass", "CPU % drag",
                "events/s", "repaints/s", "drag costs %", "budget");
    for (const QSize size : {window->size(), QSize(1920, 1080)}) {
        window->resize(size);
        const Measure passing = measure(*window, false, seconds);
        const Measure dragged = measure(*window, true, seconds);
        const double cost = dragged.cpuPercent - passing.cpuPercent;
        const std::string name = std::to_string(size.width()) + "x" + std::to_string(size.height());
        std::printf("%-10s %12.2f %12.2f %9.1f %11.1f %12.2f %8s\n", name.c_str(),
                    passing.cpuPercent, dragged.cpuPercent, dragged.eventsPerSecond,
                    dragged.repaintsPerSecond, cost, cost < kBudgetPercent ? "met" : "MISSED");
    }
    std::printf("(%.0f s per case, Qt platform %s; pass: the pointer passes over without a button; "
                "budget: under %.0f%% of one core)\n",
                seconds, qPrintable(QGuiApplication::platformName()), kBudgetPercent);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc)
            seconds = std::max(0.5, std::atof(argv[++i]));
        // Other arguments (those meant for Google Benchmark programs) are ignored.
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return benchmark(seconds);
}
