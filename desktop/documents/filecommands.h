#pragma once

#include "core/engine/scene.h"

#include <QObject>
#include <QString>

class QMdiArea;

namespace wirevane {

class ObjectWindow;
struct ObjectFileValues;

// New, Load, Save and Save as, and the saves that the close question of an object window
// starts. Works on the frame's active object window, or creates one in the frame. The five
// numbers of the object saved or loaded last are left in the scene.
class FileCommands : public QObject {
    Q_OBJECT

  public:
    FileCommands(QMdiArea& frame, Scene& scene, QObject* parent = nullptr);

    ObjectWindow* activeObjectWindow() const;

    ObjectWindow* MNew_Click();
    void MLoad_Click();
    void MSave_Click();
    void MSAveas_Click();
    // A new window for the file named by currentFileName, loaded from it. A file that cannot
    // be loaded is reported, and the window stays as a new, unnamed object, so that no save
    // can go to the file it could not read.
    ObjectWindow* openFileWindow();
    // Opens the object file at path in a new window, as Load does, but only when it can be
    // read: a file that cannot is reported and opens nothing. Returns the window or nullptr.
    ObjectWindow* openReadableFile(const QString& path);

    // A new window with a recovered object's name, path and values, counting as unsaved.
    ObjectWindow* openRecovered(const QString& name, const QString& path,
                                const ObjectFileValues& values);

    // Saves a window for its close question; sets cancel when it must stay open.
    void saveWindow(ObjectWindow& window, bool& cancel);
    void saveWindowAs(ObjectWindow& window, bool& cancel);

    // The path being saved or loaded, set by each command just before it acts.
    QString currentFileName;

  signals:
    void windowCreated(ObjectWindow* window);

  private:
    enum class SaveOutcome { Saved, Failed, Cancelled };

    ObjectWindow* createWindow();
    SaveOutcome saveAs(ObjectWindow& window, QWidget* dialogParent, bool setTitle);
    bool saveObjectFile(ObjectWindow& window);
    bool loadObjectFile(ObjectWindow& window);
    bool readObjectFile(QWidget* reportTo, ObjectFileValues& values);
    void showLoaded(ObjectWindow& window, const ObjectFileValues& values);
    void nameWindow(ObjectWindow& window, bool setTitle);

    QMdiArea& frame_;
    Scene& scene_;
};

} // namespace wirevane
