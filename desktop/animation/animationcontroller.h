#pragma once

#include "core/engine/animationsession.h"
#include "core/engine/objectcompiler.h"
#include "core/engine/renderer.h"
#include "core/engine/scene.h"
#include "desktop/animation/animationexport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

namespace wirevane {

class AnimationWindow;
class CoordinateTable;
class NavigationBar;
class SpokenNote;

// Owns the animation's session and windows, each window created on first use and destroyed
// when closed, and connects them: the session draws into the animation window, and closing
// either window ends the animation.
class AnimationController : public QObject, private AnimationDisplay {
    Q_OBJECT

  public:
    explicit AnimationController(Scene& scene, QObject* parent = nullptr);
    ~AnimationController() override;

    // The Animation command: compiles the active object window's input (nullptr: there is none)
    // into the scene and, when that completed, opens the animation window.
    CompileResult MAnimation_Click(const ObjectInput* activeWindow);

    NavigationBar* navigationBar();
    AnimationWindow* animationWindow();
    CoordinateTable* coordinateTable();
    bool navigationBarExists() const { return !navigationBar_.isNull(); }
    bool animationWindowExists() const { return !animationWindow_.isNull(); }
    bool coordinateTableExists() const { return !coordinateTable_.isNull(); }

    // Runs the navigation bar's own close handling, as when the user closes it.
    void closeNavigationBar();

    // One renderer call into the animation window; nothing while it is not open.
    void redraw() { session_.redraw(); }

    AnimationSession& session() { return session_; }
    const RendererState& rendererState() const { return session_.rendererState(); }
    // How far the picture has been turned and zoomed since the animation started.
    const ViewSummary& viewSummary() const { return session_.view(); }

  signals:
    void animationStarting();
    void animationEnded();
    void creditsRequested();

  private:
    bool showing() const override { return !animationWindow_.isNull(); }
    void draw(Scene& scene, RendererState& state, const RenderOptions& options,
              const Motion& motion) override;
    void clear() override;

    // F6 and Shift+F6 go from one of the animation's windows to the next.
    void addWindowKeys(QWidget& window);
    void activateNextWindow(const QWidget& from, bool forward);
    void finishOpening();
    void describePicture(bool still);
    // What the navigation bar says about the view, for the animation window's exports.
    AnimationExport::View exportView();
    void openCoordinateTable();
    void closeCoordinateTable();
    void coordinateTableClosing();
    void navigationBarClosing();
    void animationWindowClosed();

    Scene& scene_;
    AnimationSession session_;
    QElapsedTimer describedAgo_;
    QPointer<SpokenNote> note_; // over the picture, made on first use
    QString saidDescription_;   // the last one the note said
    QPointer<NavigationBar> navigationBar_;
    QPointer<AnimationWindow> animationWindow_;
    QPointer<CoordinateTable> coordinateTable_;
};

} // namespace wirevane
