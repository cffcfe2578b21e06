#pragma once

#include <array>
#include <cstdint>

namespace wirevane {

// A 24-bit RGB colour, red in the low byte (0xC0C000 is red 0, green 192, blue 192).
using Colour = std::int32_t;

constexpr int kMaxPoints = 100; // points are numbered 1..100
constexpr int kPointRows = kMaxPoints + 1;
constexpr int kMaxConnectionRows = 101; // row 1 is the separator line
constexpr int kConnectionRows = kMaxConnectionRows + 1;
constexpr int kTableColumns = 4;

using PointTable = std::array<double, kPointRows>;
using ConnectionTable = std::array<std::array<double, kTableColumns>, kConnectionRows>;
using AngleTable = std::array<std::array<double, kTableColumns>, kPointRows>;

// The one scene the whole animation engine works on. Tables are never cleared: a compile
// writes only the rows it reaches, and rows above the new counts keep older values.
struct Scene {
    // Compiled object.
    int pointCount = 0;
    int connectionCount = 0;
    PointTable rawX{}, rawY{}, rawZ{};
    PointTable sceneX{}, sceneY{}, sceneZ{};
    ConnectionTable connections{}; // column 1 from-point, column 2 to-point
    double axisOrder = 0;
    Colour objectColor = 0;
    Colour backgroundColor = 0;
    Colour crossColor = 0;
    int showCross = 1;
    std::int16_t modeFlag = 0;

    // View state.
    double zoomFactor = 1;
    double turnXZ = 0;
    double turnYZ = 0;
    double turnStep = 5;
    int speedSetting = 0;
    int forceRedraw = 0;
    AngleTable pointAngles{}; // column 1 x-z angle, column 2 y-z angle, degrees
    PointTable screenX{}, screenY{};
    int tableInitialized = 0;
};

} // namespace wirevane
