#pragma once

#include "core/engine/picturesize.h"
#include "core/engine/surface.h"
#include "core/engine/surfacescale.h"

#include <array>
#include <limits>
#include <string>
#include <vector>

namespace wirevane {

// A surface that remembers what was asked of it, for tests, benchmarks and wirevane-tool.
class RecordingSurface : public Surface {
  public:
    struct Line {
        float x1, y1, x2, y2;
        Colour colour;
    };
    struct Circle {
        float x, y, radius;
        Colour colour;
    };
    struct Label {
        std::string text;
        Colour colour = 0xFFFFFF;
        double left = 0, top = 0;
    };

    RecordingSurface(int clientWidth = PictureSize::kAnimationWidth,
                     int clientHeight = PictureSize::kAnimationHeight)
        : width_(clientWidth), height_(clientHeight) {}

    // Refuses what every device surface refuses; otherwise it takes every draw.
    void limitToDevice() { limited_ = true; }

    void setScale(double left, double top, double right, double bottom) override;
    void setBackColor(Colour colour) override;
    void clearSurface() override;
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
    bool drawCircle(float x, float y, float radius, Colour colour) override;
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override;
    void setLabelText(int index, const std::string& text) override;

    // Everything drawn since the last clear.
    const std::vector<Line>& lines() const { return lines_; }
    const std::vector<Circle>& circles() const { return circles_; }
    const std::array<Label, kLabelCount>& labels() const { return labels_; }
    Colour backColor() const { return backColor_; }
    const SurfaceScale& scale() const { return scale_; }
    int clearCount() const { return clears_; }
    int failedDraws() const { return failures_; }
    int labelWrites() const { return labelWrites_; }
    void forgetDrawing();

  private:
    int width_, height_;
    bool limited_ = false;
    SurfaceScale scale_;
    Colour backColor_ = 0;
    std::vector<Line> lines_;
    std::vector<Circle> circles_;
    std::array<Label, kLabelCount> labels_{};
    int clears_ = 0;
    int failures_ = 0;
    int labelWrites_ = 0;
};

} // namespace wirevane
