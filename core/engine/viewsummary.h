#pragma once

#include "core/engine/renderer.h"
#include "core/engine/scene.h"

#include <string>

namespace wirevane {

// What the animation shows, in words for someone who cannot see it: the object, its counts,
// how far it has been turned in each plane and how far zoomed since the animation started.
// Fed with every renderer call, before the call, since the renderer applies the scene's turn
// and zoom in place.
class ViewSummary {
  public:
    void start(std::string objectName);
    // The turn and zoom one renderer call is about to apply.
    void add(const Motion& motion);

    std::string describe(const Scene& scene) const;

    // The connections that draw a line between two of the object's points. The blank line that
    // ends the points draws none, nor does a row that names no point, as the empty line after a
    // text's last line break (read as 0-0).
    static int drawnConnections(const Scene& scene);

    double turnedXZ() const { return turnedXZ_; }
    double turnedYZ() const { return turnedYZ_; }
    double zoom() const { return zoom_; }

  private:
    std::string name_;
    double turnedXZ_ = 0; // degrees, kept within -180 to 180
    double turnedYZ_ = 0;
    double zoom_ = 1;
};

} // namespace wirevane
