#pragma once
// What the real-time benchmarks share: the process's processor time, the event loop run for a
// while, and the bench object's animation opened as the Animation command opens it.

#include "bench/benchobject.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace wirevane {

inline double processSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline void runEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// What a stretch of the event loop cost: its length, the process's processor time as a share
// of it, and the animation window's repaints a second.
struct Stretch {
    double seconds;
    double cpuPercent;
    double repaintsPerSecond;
};

// Runs the event loop for the given time, with start and stop called around it.
inline Stretch runCounted(
    AnimationWindow& window, double seconds, const std::function<void()>& start = [] {},
    const std::function<void()>& stop = [] {}) {
    const int repaintsBefore = window.surface().repaintRequests();
    const double cpuBefore = processSeconds();
    QElapsedTimer wall;
    wall.start();
    start();
    runEvents(static_cast<int>(seconds * 1000));
    stop();
    const double elapsed = wall.nsecsElapsed() / 1e9;
    return {elapsed, 100 * (processSeconds() - cpuBefore) / elapsed,
            (window.surface().repaintRequests() - repaintsBefore) / elapsed};
}

// Opens the bench object's animation and waits until the navigation bar shows.
inline bool startBenchAnimation(AnimationController& controller) {
    const ObjectInput input = benchObject();
    if (!controller.MAnimation_Click(&input).completed) {
        std::fprintf(stderr, "the bench object did not compile\n");
        return false;
    }
    runEvents(300); // the opening step shows the navigation bar
    return true;
}

} // namespace wirevane
