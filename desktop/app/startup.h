#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace wirevane {

class MainWindow;
class SplashWindow;
struct Scene;

// What the command line asks of the program besides starting it.
enum class CommandLineRequest { Start, Help, Version };

// The argument text: the arguments after the program name, joined with single blanks, so
// that a path with blanks needs no quotes.
QString argumentText(const QStringList& arguments);
QString argumentText(int argc, char** argv);
CommandLineRequest commandLineRequest(const QString& argumentText);
QString usageText();
QString versionText();

// The scene values that do not start at zero.
void setStartValues(Scene& scene);

// The end of the start: shows the main window, offers what a run that ended without saving
// left behind, then opens the file the command line names in an object window or, when it
// names none, shows the about box over the main window.
void finishStart(QWidget& menu, const QString& commandLine,
                 const std::function<void(const QString& path)>& openFileWindow,
                 const std::function<void()>& showAboutBox,
                 const std::function<void()>& offerRecovery = {});

// The splash, shown and painted at once: the first thing a user sees, before the rest of the
// program is built.
SplashWindow* showSplash();

// The start routine: start values, the status text, the command line into the hidden main
// window, and the splash (shown here when not given), whose last tick runs finishStart.
SplashWindow* startProgram(Scene& scene, MainWindow& menu, const QString& commandLine,
                           SplashWindow* splash = nullptr);

} // namespace wirevane
