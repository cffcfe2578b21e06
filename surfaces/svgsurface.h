#pragma once

#include "core/engine/picturesize.h"
#include "core/engine/recordingsurface.h"

#include <QString>

class QIODevice;

namespace wirevane {

// A surface that keeps what is drawn on it and writes it as an SVG drawing: the background, lines
// and circles as vector elements in the device pixels of a client area, the number labels as
// text. Draws fail beyond the same device range as the image surface's, so the renderer shrinks
// a scene for both alike and the drawing matches the picture.
class SvgSurface : public RecordingSurface {
  public:
    explicit SvgSurface(int clientWidth = PictureSize::kAnimationWidth,
                        int clientHeight = PictureSize::kAnimationHeight);

    int clientWidth() const { return width_; }
    int clientHeight() const { return height_; }
    double deviceX(double x) const { return scale().toDeviceX(x, width_); }
    double deviceY(double y) const { return scale().toDeviceY(y, height_); }

    // Writes the drawing; false when the device does not take it. Text needs a QGuiApplication.
    bool write(QIODevice& device, const QString& title) const;

  private:
    int width_, height_;
};

} // namespace wirevane
