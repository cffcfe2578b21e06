#pragma once

namespace wirevane {

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
};

} // namespace wirevane
