// The frame's interface state on Qt's offscreen platform, with two object windows open:
//  - the cost of one run of Timer1_Timer,
//  - how long a change (selection, clipboard, focus) takes to show in the commands, from the
//    change to the enabled flag, with the event loop running as in the program,
//  - the processor time the idle frame uses.
//
//   bench_interfacestate [--seconds N]     idle measurement over N seconds (10 by default)
#include "core/engine/scene.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/app/interfacestate.h"
#include "desktop/app/mainwindow.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace wirevane;

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void select(QPlainTextEdit* box, int start, int end) {
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

// Runs the event loop until `done` holds; returns the milliseconds it took.
double waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return clock.nsecsElapsed() / 1e6;
}

struct Latencies {
    std::vector<double> ms;
    void report(const char* what) {
        std::sort(ms.begin(), ms.end());
        std::printf("  %-34s median %7.3f ms   max %7.3f ms   (%zu changes)\n", what,
                    ms[ms.size() / 2], ms.back(), ms.size());
    }
};

} // namespace

int main(int argc, char** argv) {
    int seconds = 10;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(1, std::atoi(argv[i + 1]));
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Scene scene;
    AnimationController animation(scene);
    MainWindow frame(scene, animation);
    frame.showNormal();
    frame.resize(1280, 800);
    QApplication::setActiveWindow(&frame);
    ObjectWindow* first = frame.fileCommands().MNew_Click();
    first->setObjectText(QStringLiteral("1/0/0\r\n0/1/0\r\n0/0/1\r\n\r\n1-2\r\n2-3\r\n3-1"));
    ObjectWindow* second = frame.fileCommands().MNew_Click();
    second->setObjectText(first->objectText());
    second->Text1->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("1/2/3"));
    QCoreApplication::processEvents();
    std::printf("== interface state, two object windows\n");

    // One run of the routine.
    constexpr int kRuns = 20000;
    select(second->Text1, 0, 5);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRuns; ++i)
        frame.Timer1_Timer();
    std::printf("  %-34s %7.2f us\n", "Timer1_Timer, one run", clock.nsecsElapsed() / 1e3 / kRuns);

    // From a change to what the commands show.
    Latencies selection, clipboard, focus;
    for (int i = 0; i < 200; ++i) {
        select(second->Text1, 0, 0);
        waitFor([&] { return !frame.MCopy->isEnabled(); });
        select(second->Text1, 0, 3);
        selection.ms.push_back(waitFor([&] { return frame.MCopy->isEnabled(); }));

        QGuiApplication::clipboard()->clear();
        waitFor([&] { return !frame.MPaste->isEnabled(); });
        QGuiApplication::clipboard()->setText(QStringLiteral("x"));
        clipboard.ms.push_back(waitFor([&] { return frame.MPaste->isEnabled(); }));

        second->Check1->setFocus();
        focus.ms.push_back(waitFor([&] { return !frame.MCopy->isEnabled(); }));
        second->Text1->setFocus();
        waitFor([&] { return frame.MCopy->isEnabled(); });
    }
    selection.report("selection -> cut/copy/delete");
    clipboard.report("clipboard text -> paste");
    focus.report("focus to a button -> cut off");

    // The idle frame: nothing happens but the clock and the text cursor blinking.
    select(second->Text1, 0, 0);
    int clockTicks = 0;
    QObject::connect(&frame.Timer1, &QTimer::timeout, [&] { ++clockTicks; });
    QCoreApplication::processEvents();
    const double before = processorSeconds();
    QElapsedTimer idle;
    idle.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double used = processorSeconds() - before;
    const double elapsed = idle.nsecsElapsed() / 1e9;
    std::printf("  %-34s %7.3f %% of one core over %.1f s (%d clock ticks)\n",
                "idle frame, processor time", 100 * used / elapsed, elapsed, clockTicks);
    return 0;
}
