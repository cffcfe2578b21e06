#pragma once

#include "core/engine/surface.h"

#include <array>
#include <functional>

namespace wirevane {

// One star of the credits screen's star field, in star-field units.
struct Star {
    int active = 0; // 0: placed anew on the next step
    double startX = 0, startY = 0;
    double slope = 0; // startY / startX: the ray from the centre the star flies along
    double x = 0;     // the current y is slope * x
    double speed = 0; // distance moved in x per step
    double drawnX = 0, drawnY = 0, drawnRadius = 0; // the circle last drawn, to erase it
};

// Stars that appear at random points and fly outward from the centre, speeding up and growing.
// Each step erases every star's last circle by drawing it in black instead of clearing the
// surface, so only the stars are redrawn.
class StarField {
  public:
    static constexpr int kStarRecords = 502; // indices 0..501; 1..Anzahl are used
    // Uniform random numbers in [0, 1).
    using RandomSource = std::function<double()>;

    // The field's settings, all 0 until start() fills them in.
    double XXX = 0;    // left edge of the coordinate system
    double XX = 0;     // right edge
    double YYY = 0;    // top edge
    double YY = 0;     // bottom edge
    int Anzahl = 0;    // number of stars
    double Beschl = 0; // increase of a star's speed per step

    void start();
    // Places the stars that need it, then moves, redraws and accelerates every star.
    void step(Surface& surface, const RandomSource& random);

    const std::array<Star, kStarRecords>& stars() const { return stars_; }

  private:
    void place(Star& star, const RandomSource& random) const;
    int usedStars() const;

    std::array<Star, kStarRecords> stars_{};
};

// a \ 3: a rounded to a whole number (an exact half to the even neighbour), divided by 3 with
// the remainder dropped.
double circleRadius(double speed);

} // namespace wirevane
