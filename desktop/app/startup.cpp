#include "desktop/app/startup.h"

#include "core/documents/filenames.h"
#include "core/engine/scene.h"
#include "desktop/app/interfacestate.h"
#include "desktop/app/mainwindow.h"
#include "desktop/app/splashwindow.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/recoverykeeper.h"
#include "desktop/documents/shapeimport.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace wirevane {

QString argumentText(const QStringList& arguments) {
    return arguments.mid(1).join(QLatin1Char(' '));
}

QString argumentText(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return argumentText(arguments);
}

CommandLineRequest commandLineRequest(const QString& argumentText) {
    if (argumentText == QLatin1String("--help"))
        return CommandLineRequest::Help;
    if (argumentText == QLatin1String("--version"))
        return CommandLineRequest::Version;
    return CommandLineRequest::Start;
}

QString usageText() {
    return QStringLiteral(
        "Usage: wirevane [FILE]\n"
        "Type in wireframe objects and watch them turn.\n"
        "\n"
        "FILE is an object file (.kfm) to open at the start, or a shape (.obj, .ply, .stl,\n"
        "or .off) to open as a new object; everything after the program name is taken as\n"
        "its path, blanks included. Without it the about box is shown.\n"
        "\n"
        "  --help     show this text and exit\n"
        "  --version  show the version and exit\n");
}

QString versionText() {
    return QStringLiteral("Wirevane Fullversion 3.0\n");
}

void setStartValues(Scene& scene) {
    scene.zoomFactor = 1;
    scene.turnStep = 5;
    scene.showCross = 1;
}

void finishStart(QWidget& menu, const QString& commandLine,
                 const std::function<void(const QString& path)>& openFileWindow,
                 const std::function<void()>& showAboutBox,
                 const std::function<void()>& offerRecovery) {
    menu.show();
    if (offerRecovery)
        offerRecovery();
    if (fileExists(commandLine.toStdString()))
        openFileWindow(commandLine);
    else
        showAboutBox();
}

SplashWindow* showSplash() {
    auto* splash = new SplashWindow;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    // Painted now, not only once the program's events start to flow.
    QCoreApplication::processEvents();
    return splash;
}

SplashWindow* startProgram(Scene& scene, MainWindow& menu, const QString& commandLine,
                           SplashWindow* splash) {
    setStartValues(scene);
    menu.interfaceState().statusFileText = InterfaceState::kNoFile;
    menu.Text1->setText(commandLine);

    if (!splash)
        splash = showSplash();
    menu.addSingleWindow(splash);
    QObject::connect(splash, &SplashWindow::loadFinished, &menu, [&menu] {
        finishStart(
            menu, menu.Text1->text(),
            [&menu](const QString& path) {
                FileCommands& files = menu.fileCommands();
                if (isShapeFile(path)) {
                    openShapeFile(&menu, files, path);
                    return;
                }
                files.currentFileName = path;
                files.openFileWindow();
            },
            [&menu] { menu.aboutBoxOpener(&menu); },
            [&menu] { menu.recovery().offerLeftCopies(&menu); });
    });
    return splash;
}

} // namespace wirevane
