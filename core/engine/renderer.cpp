#include "core/engine/renderer.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

namespace wirevane {
namespace {

constexpr double kEdge = 10000;              // surface units from the centre to each edge
constexpr double kUnitsPerSceneUnit = 1000;  // surface units per scene unit
constexpr double kDepthAngle = 93.0 / 100.0; // direction of the drawn z axis, radians
constexpr double kTwoPi = 6.2831854;
constexpr double kPi = 3.1415927;
constexpr double kFullTurn = 360;
constexpr float kPointMarkRadius = 10;
constexpr double kZAxisHalfLength = 20;
constexpr double kRetryZoom = 0.8;
// Shrinking by 0.8 this often brings any finite coordinate a surface can be asked about
// (up to about 1e19 surface units) into range; beyond that, give up and draw what fits.
constexpr int kMaxAttempts = 200;

double reduceDegrees(double a) {
    return std::fmod(roundHalfEven(a), kFullTurn);
}

bool toSingle(double x, float& out) {
    if (!(std::fabs(x) <= FLT_MAX))
        return false;
    out = static_cast<float>(x);
    return true;
}

// A point number of a connection as a table index, or -1 when it names no projected point.
int pointIndex(double number) {
    const double rounded = roundHalfEven(number);
    if (!(rounded >= 0 && rounded <= kMaxPoints))
        return -1;
    return static_cast<int>(rounded);
}

enum class Attempt { NothingChanged, Drawn, Retry };

class Drawing {
  public:
    Drawing(Scene& scene, RendererState& state, Surface& surface, const RenderOptions& options,
            const Motion& motion)
        : scene_(scene), state_(state), surface_(surface), options_(options), motion_(motion),
          points_(std::clamp(scene.pointCount, 0, kMaxPoints)),
          rows_(std::clamp(scene.connectionCount, 0, kMaxConnectionRows)) {}

    // A retry shrinks the scene once more, with the same turn.
    void shrink() { motion_.zoom = kRetryZoom; }

    Attempt run(bool mayRetry) {
        surface_.setScale(kEdge, -kEdge, -kEdge, kEdge);
        scene_.turnStep = scene_.speedSetting;
        surface_.setBackColor(scene_.backgroundColor);

        for (int i = 1; i <= points_; ++i) {
            scene_.sceneX[i] *= motion_.zoom;
            scene_.sceneY[i] *= motion_.zoom;
            scene_.sceneZ[i] *= motion_.zoom;
        }
        double workingAngle = 0;
        bool changed = false;
        for (int i = 1; i <= points_; ++i) {
            turnPoint(i, workingAngle);
            if (options_.showData) {
                if (motion_.turnXZ == 0)
                    scene_.pointAngles[i][1] =
                        planeAngle(scene_.sceneX[i], scene_.sceneZ[i], workingAngle);
                if (motion_.turnYZ == 0)
                    scene_.pointAngles[i][2] =
                        planeAngle(scene_.sceneY[i], scene_.sceneZ[i], workingAngle);
            }
            changed |= remember(i);
        }

        if (!mustDraw(changed))
            return Attempt::NothingChanged;
        state_.lastObjectColor = scene_.objectColor;
        state_.lastBackgroundColor = scene_.backgroundColor;
        state_.lastCrossColor = scene_.crossColor;
        state_.lastShowCross = scene_.showCross;

        if (scene_.forceRedraw == 0)
            surface_.clearSurface();
        if (scene_.showCross != 0)
            drawCross();
        project();
        placeNumbers();
        return drawObject(mayRetry) ? Attempt::Drawn : Attempt::Retry;
    }

  private:
    void turnPoint(int i, double& workingAngle) {
        double* first;
        double turn;
        int angleColumn;
        if (motion_.turnXZ != 0) {
            first = &scene_.sceneX[i];
            turn = motion_.turnXZ;
            angleColumn = 1;
        } else if (motion_.turnYZ != 0) {
            first = &scene_.sceneY[i];
            turn = motion_.turnYZ;
            angleColumn = 2;
        } else {
            return;
        }
        const double u = *first;
        const double v = scene_.sceneZ[i];
        const double a = planeAngle(u, v, workingAngle) + turn;
        const double r = std::sqrt(u * u + v * v);
        *first = r * std::cos(degreesToRadians(a));
        scene_.sceneZ[i] = r * std::sin(degreesToRadians(a));
        scene_.pointAngles[i][angleColumn] = a;
        workingAngle = a;
    }

    bool remember(int i) {
        const bool changed = scene_.sceneX[i] != state_.lastDrawnX[i] ||
                             scene_.sceneY[i] != state_.lastDrawnY[i] ||
                             scene_.sceneZ[i] != state_.lastDrawnZ[i];
        state_.lastDrawnX[i] = scene_.sceneX[i];
        state_.lastDrawnY[i] = scene_.sceneY[i];
        state_.lastDrawnZ[i] = scene_.sceneZ[i];
        return changed;
    }

    bool mustDraw(bool changed) const {
        return scene_.forceRedraw == 1 || changed || scene_.objectColor != state_.lastObjectColor ||
               scene_.backgroundColor != state_.lastBackgroundColor ||
               scene_.crossColor != state_.lastCrossColor ||
               scene_.showCross != state_.lastShowCross;
    }

    void drawCross() {
        const double c = kUnitsPerSceneUnit * std::cos(kDepthAngle);
        const double s = kUnitsPerSceneUnit * std::sin(kDepthAngle);
        const Colour colour = scene_.crossColor;
        const auto k = static_cast<float>(kEdge);
        surface_.drawLine(k, 0, -k, 0, colour);
        surface_.drawLine(0, -k, 0, k, colour);
        surface_.drawLine(static_cast<float>(-kZAxisHalfLength * c),
                          static_cast<float>(-kZAxisHalfLength * s),
                          static_cast<float>(kZAxisHalfLength * c),
                          static_cast<float>(kZAxisHalfLength * s), colour);
    }

    void project() {
        const double cosDepth = std::cos(kDepthAngle);
        const double sinDepth = std::sin(kDepthAngle);
        for (int i = 1; i <= points_; ++i) {
            scene_.screenX[i] =
                (scene_.sceneZ[i] * cosDepth - scene_.sceneX[i]) * kUnitsPerSceneUnit;
            scene_.screenY[i] =
                (scene_.sceneZ[i] * sinDepth - scene_.sceneY[i]) * kUnitsPerSceneUnit;
        }
    }

    void placeNumbers() {
        if (options_.showNumbers) {
            for (int j = 1; j <= points_; ++j)
                surface_.placeLabel(j, std::to_string(j), scene_.objectColor, scene_.screenX[j],
                                    scene_.screenY[j]);
            state_.numbersShown = 1;
        } else if (state_.numbersShown != 0) {
            for (int j = 0; j <= kMaxPoints; ++j)
                surface_.setLabelText(j, {});
            state_.numbersShown = 0;
        }
    }

    // Returns false when a draw failed in a way that shrinking the scene can cure.
    bool drawObject(bool mayRetry) {
        if (points_ == 1) {
            const double x = scene_.screenX[1];
            const double y = scene_.screenY[1];
            float fx, fy;
            if (toSingle(x, fx) && toSingle(y, fy) &&
                surface_.drawCircle(fx, fy, kPointMarkRadius, scene_.objectColor))
                return true;
            return !(mayRetry && std::isfinite(x) && std::isfinite(y));
        }
        for (int k = 2; k <= rows_; ++k) {
            const int a = pointIndex(scene_.connections[k][1]);
            const int b = pointIndex(scene_.connections[k][2]);
            if (a < 0 || b < 0)
                continue; // names no point; shrinking would not help
            const double ends[4] = {scene_.screenX[a], scene_.screenY[a], scene_.screenX[b],
                                    scene_.screenY[b]};
            float f[4];
            bool fits = true;
            for (int e = 0; e < 4; ++e)
                fits = toSingle(ends[e], f[e]) && fits;
            if (fits && surface_.drawLine(f[0], f[1], f[2], f[3], scene_.objectColor))
                continue;
            // An end above the count keeps a projection from an earlier, larger object, which
            // shrinking this one does not move.
            if (a > points_ || b > points_)
                continue;
            const bool finite = std::all_of(std::begin(ends), std::end(ends),
                                            [](double d) { return std::isfinite(d); });
            if (mayRetry && finite)
                return false;
        }
        return true;
    }

    Scene& scene_;
    RendererState& state_;
    Surface& surface_;
    const RenderOptions& options_;
    Motion motion_;
    const int points_;
    const int rows_;
};

} // namespace

double roundHalfEven(double x) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default;
    // it stays in floating point, so huge or non-finite values are safe.
    return std::nearbyint(x);
}

double radiansToDegrees(double x) {
    return x / kTwoPi * kFullTurn;
}
double degreesToRadians(double x) {
    return x * 2 * kPi / kFullTurn;
}

double planeAngle(double u, double v, double& workingAngle) {
    double a;
    if (u != 0)
        a = reduceDegrees(radiansToDegrees(std::atan(v / u)));
    else if (v > 0)
        a = 90;
    else if (v < 0)
        a = -90;
    else
        a = workingAngle;
    if (u < 0)
        a += 180; // both halves left of the v axis
    a = reduceDegrees(a);
    workingAngle = a;
    return a;
}

DrawOutcome drawScene(Scene& scene, RendererState& state, Surface& surface,
                      const RenderOptions& options) {
    return drawScene(scene, state, surface, options, Motion::of(scene));
}

DrawOutcome drawScene(Scene& scene, RendererState& state, Surface& surface,
                      const RenderOptions& options, const Motion& motion) {
    DrawOutcome outcome;
    Drawing drawing(scene, state, surface, options, motion);
    for (;;) {
        ++outcome.attempts;
        switch (drawing.run(outcome.attempts < kMaxAttempts)) {
        case Attempt::NothingChanged:
            return outcome;
        case Attempt::Drawn:
            outcome.drawn = true;
            return outcome;
        case Attempt::Retry:
            drawing.shrink();
            scene.zoomFactor = kRetryZoom;
            break;
        }
    }
}

} // namespace wirevane
