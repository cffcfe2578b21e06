#include "tools/qt/toolapplication.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>

namespace wirevane {
namespace {

std::unique_ptr<QGuiApplication> application;

// Qt's start-up notes concern a desktop session (such as a missing runtime folder); the tool's
// standard error is for its own messages. Only serious ones pass.
void passSeriousOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

void needGuiApplication() {
    if (application)
        return;
    // The offscreen platform needs no display. Qt keeps argc and argv for the application's life.
    static int argc = 3;
    static char program[] = "wirevane-tool";
    static char platformFlag[] = "-platform";
    static char platformName[] = "offscreen";
    static char* argv[] = {program, platformFlag, platformName, nullptr};
    const QtMessageHandler previous = qInstallMessageHandler(passSeriousOnly);
    application = std::make_unique<QGuiApplication>(argc, argv);
    qInstallMessageHandler(previous);
}

void endGuiApplication() {
    application.reset();
}

} // namespace wirevane
