#pragma once

#include "surfaces/imagesurface.h"

#include <QRegion>
#include <array>
#include <vector>

class QLabel;
class QWidget;

namespace wirevane {

// The animation window's drawing surface: an image the size of the client area, and the window's
// number labels placed in surface units.
//
// The navigation bar redraws many times a second, mostly an unchanged picture over itself. So the
// lines and circles of one renderer call (a frame) are collected first and compared with what the
// image already shows: a frame that would not change a pixel touches nothing, and a changed one
// repaints only the rectangle around what differs. Erasing redraws the previous lines in the back
// colour instead of filling the whole image, which keeps large windows cheap.
class AnimationWindowSurface final : public Surface {
  public:
    AnimationWindowSurface(QWidget& window, const std::array<QLabel*, kLabelCount>& labels);

    // A frame brackets one renderer call. Drawing outside a frame takes effect at once.
    void beginFrame();
    void endFrame();

    // Rebuilds the image at the window's new client size, cleared to the back colour.
    void resizeClient(int clientWidth, int clientHeight);

    // The picture the window copies to the screen.
    const QImage& image() const { return picture_.image(); }
    // The device pixel of a surface point.
    double deviceX(double x) const { return picture_.deviceX(x); }
    double deviceY(double y) const { return picture_.deviceY(y); }

    // How often the surface asked the window to repaint part of itself, and the last part.
    int repaintRequests() const { return repaintRequests_; }
    const QRegion& lastRepaint() const { return lastRepaint_; }

    void setScale(double left, double top, double right, double bottom) override;
    void setBackColor(Colour colour) override;
    void clearSurface() override;
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
    bool drawCircle(float x, float y, float radius, Colour colour) override;
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override;
    void setLabelText(int index, const std::string& text) override;

  private:
    struct Primitive {
        bool circle;
        float x1, y1, x2, y2; // a circle keeps its centre in x1, y1 and its radius in x2
        Colour colour;
        bool operator==(const Primitive&) const = default;
    };

    void record(const Primitive& primitive);
    void paint(const Primitive& primitive, Colour colour);
    void markBox(double x1, double y1, double x2, double y2);
    void markTiles(const std::vector<Primitive>& primitives, std::size_t first);
    QRegion takeMarkedRegion();
    void applyClearingFrame();
    void applyAddedFrame();
    void showLabel(int index);
    void requestRepaint(const QRegion& region);

    ImageSurface picture_;
    QWidget& window_;
    std::array<QLabel*, kLabelCount> labels_;
    std::array<Colour, kLabelCount> labelColours_{};
    std::array<double, 4> scale_{0, 0, 1, 1};
    Colour backColour_ = 0;

    std::vector<Primitive> shown_;     // what the image shows over the back colour, in order
    bool shownKnown_ = true;           // false: the image holds more than shown_ can tell
    std::vector<Primitive> lastAdded_; // the last frame drawn over the picture without clearing
    std::vector<Primitive> frame_;     // the frame being collected
    int frameDepth_ = 0;
    bool frameClears_ = false;
    bool backChanged_ = false;
    int repaintRequests_ = 0;
    QRegion lastRepaint_;

    // What needs repainting, in tiles of the image: the lines of a turning object cover only a
    // small part of their bounding box.
    static constexpr int kTileSize = 32;
    std::vector<unsigned char> tiles_;
    int tileColumns_ = 1;
    int lastPixelX_ = 0, lastPixelY_ = 0;
    bool anyTile_ = false;
};

} // namespace wirevane
