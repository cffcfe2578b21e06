#pragma once
// wirevane-tool run as a process, the way scripts run it.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs in the source folder unless setUp, which prepares the process before it starts
// (folder, environment, user), says otherwise; input goes to the standard input.
inline ToolRun runTool(const QStringList& args, const std::function<void(QProcess&)>& setUp = {},
                       const QString& program = WIREVANE_TOOL, const QByteArray& input = {}) {
    QProcess process;
    process.setWorkingDirectory(WIREVANE_SOURCE);
    if (setUp)
        setUp(process);
    process.start(program, args);
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
