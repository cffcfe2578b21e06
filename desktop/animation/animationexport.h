#pragma once

#include "core/engine/renderer.h"
#include "core/engine/scene.h"
#include "surfaces/sceneexport.h"

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QPoint;

namespace wirevane {

class AnimationWindow;

// The animation window's context menu: "Save picture as ...", "Save animation as ..." and
// "Save object as ..." (OBJ or PLY, for other programs).
// Exports draw from a copy of the scene, so the scene, the picture on screen and the running
// animation go on exactly as they were. The menu does not block: the animation keeps running
// while it is open.
class AnimationExport : public QObject {
    Q_OBJECT

  public:
    // What the navigation bar says about the view at the moment of an export.
    struct View {
        RenderOptions options;
        bool running = false;    // run mode
        int tickIntervalMs = 16; // how often run mode turns the scene
    };
    using ViewSource = std::function<View()>;

    AnimationExport(AnimationWindow& window, const Scene& scene, ViewSource view);

    QMenu* menu() const { return menu_; }
    QAction* savePictureAction() const { return savePicture_; }
    QAction* saveAnimationAction() const { return saveAnimation_; }
    QAction* saveObjectAction() const { return saveObject_; }

    // Asks for a file name and writes the picture the window shows now, or the animation.
    void savePicture();
    void saveAnimation();
    // The object as the animation shows it before any turn, as OBJ or PLY.
    void saveObject();

    // The turn "Save animation as ..." writes: the run-mode turn that is running, or 5 degrees
    // in the x-z plane when nothing turns; one frame per tick, as long as run mode's tick.
    TurnAnimation currentTurn() const;

  private:
    struct Kind; // what an export writes, and how it names its file

    void showMenu(const QPoint& position);
    // The name to write to, or empty when the user cancelled or the name was refused. A name
    // without one of the filter's extensions gets the chosen filter's. Asks before replacing a
    // file, by the name it will write.
    QString askTarget(const Kind& kind);
    void tellFailure(const Kind& kind, const QString& path, const QString& reason);
    static QString notEnoughMemory(QSize size);

    AnimationWindow& window_;
    const Scene& scene_;
    ViewSource view_;
    QMenu* menu_;
    QAction* savePicture_;
    QAction* saveAnimation_;
    QAction* saveObject_;
};

} // namespace wirevane
