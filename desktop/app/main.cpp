// The program: one scene, one animation controller, one frame, started through the splash.
#include "core/engine/scene.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/app/mainwindow.h"
#include "desktop/app/pictures/pictures.h"
#include "desktop/app/startup.h"
#include "desktop/ui/accessibility.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    // Read before Qt sees the arguments, so that no option of Qt's own is taken out of a path.
    const QString commandLine = wirevane::argumentText(argc, argv);
    switch (wirevane::commandLineRequest(commandLine)) {
    case wirevane::CommandLineRequest::Help:
        std::fputs(wirevane::usageText().toLocal8Bit().constData(), stdout);
        return 0;
    case wirevane::CommandLineRequest::Version:
        std::fputs(wirevane::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case wirevane::CommandLineRequest::Start:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(wirevane::logoPicture()));
    // The splash first: the main window, its pictures and the screen reader's view of the
    // controls are built while it is on screen, as its timer runs anyway.
    wirevane::SplashWindow* splash = wirevane::showSplash();
    wirevane::installAccessibility();

    wirevane::Scene scene;
    wirevane::AnimationController animation(scene);
    wirevane::MainWindow frame(scene, animation);

    wirevane::startProgram(scene, frame, commandLine, splash);
    return app.exec();
}
