#pragma once

#include "core/engine/renderer.h"
#include "core/engine/scene.h"
#include "core/engine/surface.h"
#include "desktop/ui/timers.h"

#include <QWidget>
#include <array>
#include <memory>

class QLabel;

namespace wirevane {

class AnimationWindowSurface;

// "3D-Animation": the window the scene is drawn in. It draws nothing itself; its picture is an
// image that the renderer draws into and that the window only copies to the screen.
class AnimationWindow : public QWidget {
    Q_OBJECT

  public:
    explicit AnimationWindow(Scene& scene, QWidget* parent = nullptr);
    ~AnimationWindow() override;

    // The number labels; label j shows the number of point j.
    std::array<QLabel*, kLabelCount> Label1{};
    // One-off: finishes the opening 100 ms after the window was created.
    FlooredTimer Timer1;

    AnimationWindowSurface& surface() { return *surface_; }

    // One renderer call into this window.
    void draw(RendererState& state, const RenderOptions& options, const Motion& motion);
    // The same with the scene's own turn and zoom.
    void draw(RendererState& state, const RenderOptions& options) {
        draw(state, options, Motion::of(scene_));
    }

    void Form_Resize();
    void Timer1_Timer();

  signals:
    // The window needs a renderer call (it was resized).
    void drawRequested();
    // Timer1 has run: the navigation bar is to be coloured and shown.
    void openingFinished();
    // The user closed the window.
    void closed();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Scene& scene_;
    std::unique_ptr<AnimationWindowSurface> surface_;
};

} // namespace wirevane
