#pragma once

#include "core/engine/navigation.h"
#include "core/engine/renderer.h"
#include "core/engine/scene.h"
#include "core/engine/viewsummary.h"

#include <string>

namespace wirevane {

// Where an animation's pictures go: the animation window on the desktop, the canvas's pixels
// on the web page.
class AnimationDisplay {
  public:
    virtual ~AnimationDisplay() = default;

    // Whether there is a picture to draw into; the session draws nothing while there is none.
    virtual bool showing() const { return true; }
    // One renderer call, drawScene with these arguments onto the display's surface. It must
    // be done when it returns: one-off drawings change the scene only for their length.
    virtual void draw(Scene& scene, RendererState& state, const RenderOptions& options,
                      const Motion& motion) = 0;
    // Empties the picture, so that nothing of the old one stays.
    virtual void clear() = 0;
};

enum class Axis { X, Y, Z };

// One running animation, the same on every front end: what the navigation bar's buttons, its
// two timers, a drag, a flick and the wheel do to the scene, the speed, the render options,
// and which changes clear or redraw the picture. The front ends only show its state and pass
// on what the user does.
class AnimationSession {
  public:
    static constexpr double kMoveStep = 0.1;
    static constexpr double kZoomIn = 1.2;
    static constexpr double kZoomOut = 0.8;
    static constexpr int kSpeedMin = 0;
    static constexpr int kSpeedMax = 25;
    static constexpr int kSpeedAtStart = 2;
    // The timers the animation was tuned on never fired faster than this; a shorter interval
    // would only spin the processor and turn the scene faster than intended.
    static constexpr int kTickFloorMs = 16;

    AnimationSession(Scene& scene, AnimationDisplay& display);

    Scene& scene() { return scene_; }
    const RendererState& rendererState() const { return state_; }
    const RenderOptions& options() const { return options_; }
    // How far the picture has been turned and zoomed since the object was shown.
    const ViewSummary& view() const { return view_; }
    // The picture in words, for someone who cannot see it.
    std::string description() const { return view_.describe(scene_); }
    // While the picture moves its description is said at most this often, so that a screen
    // reader is not flooded; a still picture's at once.
    static constexpr int kDescriptionIntervalMs = 1000;

    // A new object in the scene: the picture starts afresh and the view is counted anew.
    void begin(std::string objectName);
    // The controls as a new navigation bar shows them: speed 2, stopped, no table, no numbers,
    // the cross switch off.
    void resetControls();

    // One renderer call with the scene's own turn and zoom.
    void redraw();
    // One renderer call without turning.
    void redrawUnturned();

    // The turn pad: one turn by the speed's degrees; in run mode it keeps turning that way.
    void turnUp() { turn(0, scene_.turnStep); }
    void turnDown() { turn(0, -scene_.turnStep); }
    void turnRight() { turn(scene_.turnStep, 0); }
    void turnLeft() { turn(-scene_.turnStep, 0); }
    // Moves every point by one step along the axis, toward plus or minus, without turning.
    void move(Axis axis, bool plus);
    void zoomIn() { zoom(kZoomIn); }
    void zoomOut() { zoom(kZoomOut); }

    // The axis cross: the old picture is cleared, the new one drawn.
    void setCross(bool on);
    bool cross() const { return scene_.showCross != 0; }
    // The point numbers: shown at once while stepping, with the next turn while running.
    void setNumbers(bool on);
    // The coordinate table ("3D-Data"): its values come with the next drawing, which follows
    // at once; the timers slow down while it is shown.
    void setShowData(bool on);
    // A colour of the scene; the renderer sees the change and redraws at the next tick.
    void setColour(Colour Scene::*which, Colour colour);
    // Degrees a turn takes from the next drawing on, within 0 to 25.
    void setSpeed(int degrees);
    int speed() const { return speed_; }

    // Run mode: a turn keeps turning with every run tick; step mode redraws as things stand.
    void setRunning(bool on) { running_ = on; }
    bool running() const { return running_; }
    // Step mode's tick (Timer1).
    void stepTick();
    // Run mode's tick (Timer2): the turn that is running goes on at the speed.
    void runTick();
    // The tick of the mode the session is in.
    void tick() { running_ ? runTick() : stepTick(); }
    // The intervals the timers are asked for, in milliseconds; they run at no less than
    // kTickFloorMs.
    int stepIntervalMs() const { return stepIntervalMs_; }
    int runIntervalMs() const { return runIntervalMs_; }
    // How often the mode's tick, and run mode's, really come.
    int tickIntervalMs() const;
    int runTickIntervalMs() const;

    // A left-button drag on the picture: pressed, moved by (dx, dy) pixels over a picture of
    // width x height pixels, let go (in run mode it flicks the turning the drag's way).
    void press();
    void drag(double dx, double dy, double width, double height);
    void release();
    // Wheel movement in eighths of a degree: whole notches zoom in (up) or out.
    void wheel(int delta);

  private:
    void draw(const Motion& motion);
    void turn(double xz, double yz);
    void zoom(double factor);
    void settle();

    Scene& scene_;
    AnimationDisplay& display_;
    RendererState state_;
    RenderOptions options_;
    ViewSummary view_;
    DragTurn drag_;
    WheelNotches wheel_;
    int speed_ = kSpeedAtStart;
    bool running_ = false;
    bool crossShown_ = false; // the cross as the picture last showed it
    int stepIntervalMs_ = kDesignIntervalMs;
    int runIntervalMs_ = kDesignIntervalMs;

    static constexpr int kDesignIntervalMs = 5;
    static constexpr int kTableStepIntervalMs = 10;
    static constexpr int kTableRunIntervalMs = 50;
    static constexpr int kNoTableIntervalMs = 1;
};

} // namespace wirevane
