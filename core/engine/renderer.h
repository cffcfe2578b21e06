#pragma once

#include "core/engine/scene.h"
#include "core/engine/surface.h"

namespace wirevane {

// What the renderer remembers from one call to the next; owned by the caller, starts at 0.
struct RendererState {
    PointTable lastDrawnX{}, lastDrawnY{}, lastDrawnZ{};
    Colour lastObjectColor = 0;
    Colour lastBackgroundColor = 0;
    Colour lastCrossColor = 0;
    int lastShowCross = 0;
    int numbersShown = 0;
};

// The navigation bar's "3D-Data" and "Number" check boxes, as the renderer reads them.
struct RenderOptions {
    bool showData = false;
    bool showNumbers = false;
};

struct DrawOutcome {
    bool drawn = false; // false: nothing had changed, the call returned before drawing
    int attempts = 0;   // drawings tried; more than one means the scene was shrunk to fit
};

// The turn and zoom one drawing applies to the scene.
struct Motion {
    double turnXZ = 0;
    double turnYZ = 0;
    double zoom = 1;

    // What the scene's own turn and zoom ask for.
    static Motion of(const Scene& scene) { return {scene.turnXZ, scene.turnYZ, scene.zoomFactor}; }
    bool still() const { return turnXZ == 0 && turnYZ == 0 && zoom == 1; }
};

// Zooms and turns the scene in place by motion, projects it and draws it when anything
// changed. A drawing that had to shrink the scene to fit leaves the shrinking zoom in the
// scene's zoomFactor.
DrawOutcome drawScene(Scene& scene, RendererState& state, Surface& surface,
                      const RenderOptions& options, const Motion& motion);
// The same with the scene's own turn and zoom.
DrawOutcome drawScene(Scene& scene, RendererState& state, Surface& surface,
                      const RenderOptions& options);

// The angle of (u, v) from the u axis toward the v axis in whole degrees (-359..359).
// workingAngle is the angle carried between computations of one drawing; it is updated.
double planeAngle(double u, double v, double& workingAngle);

double radiansToDegrees(double x);
double degreesToRadians(double x);

// Rounds to the nearest whole number, an exact half to the even neighbour.
double roundHalfEven(double x);

} // namespace wirevane
