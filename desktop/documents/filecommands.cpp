#include "desktop/documents/filecommands.h"

#include "core/documents/filenames.h"
#include "core/documents/objectfiledisk.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/ui/prompts.h"
#include "desktop/ui/twips.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace wirevane {
namespace {

const QString kFilter = QStringLiteral("Wirevane Files (*.kfm);;Alle Dateien (*.*)");

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

FileCommands::FileCommands(QMdiArea& frame, Scene& scene, QObject* parent)
    : QObject(parent), frame_(frame), scene_(scene) {}

ObjectWindow* FileCommands::activeObjectWindow() const {
    // The current sub-window stays current while the frame's own window is inactive.
    const QMdiSubWindow* sub = frame_.currentSubWindow();
    return sub ? qobject_cast<ObjectWindow*>(sub->widget()) : nullptr;
}

ObjectWindow* FileCommands::createWindow() {
    auto* window = new ObjectWindow;
    QMdiSubWindow* sub = frame_.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(twipsToPixels(ObjectWindow::kOuterWidth),
                twipsToPixels(ObjectWindow::kOuterHeight));
    window->setSaveWindow([commands = QPointer<FileCommands>(this)](ObjectWindow& w, bool& cancel) {
        if (commands)
            commands->saveWindow(w, cancel);
        else
            cancel = true;
    });
    emit windowCreated(window);
    sub->show();
    frame_.setActiveSubWindow(sub);
    window->Text1->setFocus();
    return window;
}

ObjectWindow* FileCommands::MNew_Click() {
    ObjectWindow* window = createWindow();
    window->setWindowTitle(QString::fromLatin1(ObjectWindow::kTitle));
    window->markSaved();
    return window;
}

ObjectWindow* FileCommands::openRecovered(const QString& name, const QString& path,
                                          const ObjectFileValues& values) {
    ObjectWindow* window = createWindow();
    window->Text2->setText(name);
    window->Text4->setText(path);
    window->setWindowTitle(path.isEmpty() ? QString::fromLatin1(ObjectWindow::kTitle)
                                          : QString::fromLatin1(ObjectWindow::kTitle) +
                                                QStringLiteral(" - ") + path);
    showLoaded(*window, values);
    window->forgetSavedState();
    return window;
}

void FileCommands::MLoad_Click() {
    const QString path = prompts().openFileName(frame_.window(), QStringLiteral("Load"), kFilter);
    if (path.isEmpty())
        return;
    currentFileName = path;
    openFileWindow();
}

ObjectWindow* FileCommands::openFileWindow() {
    ObjectWindow* window = createWindow();
    nameWindow(*window, true);
    if (!loadObjectFile(*window)) {
        // Nothing may carry the name of a file that could not be read: a later save would
        // write an empty object over it without asking.
        window->Text2->setText(QString::fromLatin1(ObjectWindow::kNoName));
        window->Text4->clear();
        window->setWindowTitle(QString::fromLatin1(ObjectWindow::kTitle));
        window->markSaved();
    }
    return window;
}

void FileCommands::MSave_Click() {
    ObjectWindow* window = activeObjectWindow();
    if (!window)
        return;
    if (window->Text2->text() == QLatin1String(ObjectWindow::kNoName)) {
        MSAveas_Click();
        return;
    }
    currentFileName = window->Text4->text();
    saveObjectFile(*window);
}

void FileCommands::MSAveas_Click() {
    if (ObjectWindow* window = activeObjectWindow())
        saveAs(*window, frame_.window(), true);
}

void FileCommands::saveWindow(ObjectWindow& window, bool& cancel) {
    if (window.Text2->text() == QLatin1String(ObjectWindow::kNoName)) {
        saveWindowAs(window, cancel);
        return;
    }
    currentFileName = window.Text4->text();
    if (!saveObjectFile(window))
        cancel = true;
}

void FileCommands::saveWindowAs(ObjectWindow& window, bool& cancel) {
    if (saveAs(window, &window, false) != SaveOutcome::Saved)
        cancel = true;
}

FileCommands::SaveOutcome FileCommands::saveAs(ObjectWindow& window, QWidget* dialogParent,
                                               bool setTitle) {
    for (;;) {
        const QString path = prompts().saveFileName(dialogParent, QStringLiteral("Save"), kFilter);
        if (path.isEmpty())
            return SaveOutcome::Cancelled;
        currentFileName = path;
        if (fileExists(localPath(currentFileName))) {
            const Prompts::Answer answer =
                prompts().askYesNoCancel(dialogParent, QStringLiteral("Overwrite file?"),
                                         QStringLiteral("File allready exist, overwrite?"));
            if (answer == Prompts::Answer::No)
                continue;
            if (answer == Prompts::Answer::Cancel)
                return SaveOutcome::Cancelled;
        }
        if (!saveObjectFile(window))
            return SaveOutcome::Failed; // the window keeps the name of what it was saved as
        nameWindow(window, setTitle);
        return SaveOutcome::Saved;
    }
}

void FileCommands::nameWindow(ObjectWindow& window, bool setTitle) {
    window.Text2->setText(QString::fromStdString(fileNamePart(currentFileName.toStdString())));
    window.Text4->setText(currentFileName);
    if (setTitle)
        window.setWindowTitle(QString::fromLatin1(ObjectWindow::kTitle) + QStringLiteral(" - ") +
                              currentFileName);
}

bool FileCommands::saveObjectFile(ObjectWindow& window) {
    const ObjectFileValues values = window.fileValues();
    scene_.backgroundColor = values.backgroundColor;
    scene_.objectColor = values.objectColor;
    scene_.crossColor = values.crossColor;
    scene_.axisOrder = values.axisOrder;
    scene_.showCross = values.showCross;

    const ObjectFileResult result = writeObjectFileAt(localPath(currentFileName), values);
    if (!result.ok()) {
        prompts().tellError(&window, QStringLiteral("File not saved"),
                            QStringLiteral("The file %1 could not be saved.\n\n%2")
                                .arg(currentFileName, QString::fromStdString(result.reason)));
        return false;
    }
    window.markSaved();
    return true;
}

bool FileCommands::loadObjectFile(ObjectWindow& window) {
    ObjectFileValues values;
    if (!readObjectFile(&window, values))
        return false;
    showLoaded(window, values);
    return true;
}

ObjectWindow* FileCommands::openReadableFile(const QString& path) {
    currentFileName = path;
    ObjectFileValues values;
    if (!readObjectFile(frame_.window(), values))
        return nullptr;
    ObjectWindow* window = createWindow();
    nameWindow(*window, true);
    showLoaded(*window, values);
    return window;
}

bool FileCommands::readObjectFile(QWidget* reportTo, ObjectFileValues& values) {
    const ObjectFileResult result = readObjectFileAt(localPath(currentFileName), values);
    if (!result.ok()) {
        prompts().tellError(reportTo, QStringLiteral("File not loaded"),
                            QStringLiteral("The file %1 could not be loaded.\n\n%2")
                                .arg(currentFileName, QString::fromStdString(result.reason)));
        return false;
    }
    return true;
}

void FileCommands::showLoaded(ObjectWindow& window, const ObjectFileValues& values) {
    scene_.axisOrder = values.axisOrder;
    scene_.objectColor = values.objectColor;
    scene_.backgroundColor = values.backgroundColor;
    scene_.crossColor = values.crossColor;
    scene_.showCross = values.showCross;

    window.setObjectText(QString::fromStdString(values.text));
    window.Command2->setColour(values.backgroundColor);
    window.Command1->setColour(values.objectColor);
    window.Command3->setColour(values.crossColor);
    window.Text3->setText(QString::fromStdString(axisOrderText(values.axisOrder)));
    window.Check1->setChecked(values.showCross != 0);
    window.markSaved();
}

} // namespace wirevane
