// The program: one scene, one animation controller, one frame.
#include "app/mainwindow.h"
#include "documents/filecommands.h"
#include "documents/filenames.h"
#include "engine/animationcontroller.h"
#include "engine/scene.h"

#include <QApplication>
#include <QLineEdit>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    wirevane::Scene scene;
    wirevane::AnimationController animation(scene);
    wirevane::MainWindow frame(scene, animation);

    // The whole argument text names one object file.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    frame.Text1->setText(arguments.join(QLatin1Char(' ')));

    frame.show();
    const QString path = frame.Text1->text();
    if (!path.isEmpty() && wirevane::fileExists(path.toStdString())) {
        frame.fileCommands().currentFileName = path;
        frame.fileCommands().openFileWindow();
    } else {
        frame.MFragezeichenInfo_Click();
    }
    return app.exec();
}
