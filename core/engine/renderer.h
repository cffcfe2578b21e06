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

// Zooms and turns the scene in place, projects it and draws it when anything changed.
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
