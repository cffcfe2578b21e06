#include "core/credits/starfield.h"

#include "core/engine/renderer.h"

#include <algorithm>
#include <cmath>

namespace wirevane {
namespace {

constexpr Colour kBlack = 0;
constexpr Colour kWhite = 0xFFFFFF;
// How far beyond an edge a star may fly before it is placed anew.
constexpr double kLeaveMargin = 50;

} // namespace

double circleRadius(double speed) {
    return std::trunc(roundHalfEven(speed) / 3);
}

void StarField::start() {
    Anzahl = 100;
    Beschl = 0.5;
    XXX = -2000;
    XX = 2000;
    YYY = -1500;
    YY = 1500;
}

int StarField::usedStars() const {
    return std::clamp(Anzahl, 0, kStarRecords - 1);
}

void StarField::place(Star& star, const RandomSource& random) const {
    // A star on the vertical axis would have no slope.
    do {
        star.startX = XXX + std::floor((-XXX - XXX) * random());
        star.startY = YYY + std::floor((-YYY - YYY) * random());
    } while (star.startX == 0);
    star.slope = star.startY / star.startX;
    star.active = 1;
    star.x = star.startX;
}

void StarField::step(Surface& surface, const RandomSource& random) {
    surface.setScale(XXX, YYY, XX, YY);
    const int count = usedStars();
    for (int i = 1; i <= count; ++i) {
        if (stars_[i].active == 0)
            place(stars_[i], random);
    }
    for (int i = 1; i <= count; ++i) {
        Star& star = stars_[i];
        star.x += star.startX > 0 ? star.speed : -star.speed;
        surface.drawCircle(static_cast<float>(star.drawnX), static_cast<float>(star.drawnY),
                           static_cast<float>(circleRadius(star.drawnRadius)), kBlack);
        star.drawnX = star.x;
        star.drawnY = star.slope * star.x;
        star.drawnRadius = star.speed;
        surface.drawCircle(static_cast<float>(star.x), static_cast<float>(star.slope * star.x),
                           static_cast<float>(circleRadius(star.speed)), kWhite);
        star.speed += Beschl;
        const double y = star.slope * star.x;
        if (star.x > XX + kLeaveMargin || star.x < XXX - kLeaveMargin || y < YYY - kLeaveMargin ||
            y > YY + kLeaveMargin) {
            star.active = 0;
            star.x = 0;
            star.speed = 0;
        }
    }
}

} // namespace wirevane
