#pragma once

#include "core/engine/animationsession.h"

#include <QTimer>

namespace wirevane {

// The desktop timers the animation speeds were tuned on fire at most every 10 to 16 ms; a
// shorter interval would only spin the processor and turn the scene faster than intended. The
// animation's session says how often, for every front end.
constexpr int kTimerFloorMs = AnimationSession::kTickFloorMs;

// A QTimer that remembers the interval it was asked for (what the program and its tests see)
// and runs at no less than the floor.
class FlooredTimer : public QTimer {
  public:
    using QTimer::QTimer;

    void setRequestedInterval(int ms) {
        requested_ = ms;
        QTimer::setInterval(ms < kTimerFloorMs ? kTimerFloorMs : ms);
    }
    int requestedInterval() const { return requested_; }

  private:
    int requested_ = 0;
};

} // namespace wirevane
