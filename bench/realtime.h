#pragma once
// What the real-time benchmarks share: the process's processor time, the event loop run for a
// while, and the bench object's animation opened as the Animation command opens it.

#include "bench/benchobject.h"
#include "desktop/animation/animationcontroller.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
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
