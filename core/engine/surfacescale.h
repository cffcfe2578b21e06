#pragma once

#include <algorithm>
#include <cmath>

namespace wirevane {

// Device positions beyond this many pixels from the origin cannot be drawn, as on a 16-bit
// device; the renderer then shrinks the scene until it fits.
constexpr double kDeviceLimit = 32767;

// False for NaN as well.
inline bool inDeviceRange(double pixels) {
    return std::fabs(pixels) <= kDeviceLimit;
}

// The user coordinate scale of a surface: maps surface units to device pixels of a client area.
struct SurfaceScale {
    double left = 0, top = 0, right = 1, bottom = 1;

    double toDeviceX(double x, int clientWidth) const {
        return (x - left) / (right - left) * clientWidth;
    }
    double toDeviceY(double y, int clientHeight) const {
        return (y - top) / (bottom - top) * clientHeight;
    }
    // A horizontal length (a circle's radius) in device pixels.
    double toDeviceLength(double length, int clientWidth) const {
        const double width = right - left;
        return length / (width < 0 ? -width : width) * clientWidth;
    }

    // What every surface of clientWidth x clientHeight pixels can draw, and so when the renderer
    // shrinks the scene and draws again.
    bool takesPoint(double x, double y, int clientWidth, int clientHeight) const {
        return inDeviceRange(toDeviceX(x, clientWidth)) &&
               inDeviceRange(toDeviceY(y, clientHeight));
    }
    bool takesLine(double x1, double y1, double x2, double y2, int clientWidth,
                   int clientHeight) const {
        return takesPoint(x1, y1, clientWidth, clientHeight) &&
               takesPoint(x2, y2, clientWidth, clientHeight);
    }
    bool takesCircle(double x, double y, double radius, int clientWidth, int clientHeight) const {
        return takesPoint(x, y, clientWidth, clientHeight) &&
               inDeviceRange(toDeviceLength(radius, clientWidth));
    }
};

// Liang-Barsky: cuts the segment to the box 0..maxX, 0..maxY; false when none of it is inside.
inline bool clipToBox(double& x1, double& y1, double& x2, double& y2, double maxX, double maxY) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1, maxX - x1, y1, maxY - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = x1 + t0 * dx;
    y1 = y1 + t0 * dy;
    return true;
}

} // namespace wirevane
