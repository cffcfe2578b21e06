#pragma once

#include "engine/surface.h"
#include "engine/surfacescale.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <span>
#include <string>
#include <vector>

namespace wirevane {

// Memory for the pixels of a picture, handed over with its pages in place: a short-lived process
// (wirevane-tool) otherwise takes a page fault for every 4 KB it first touches.
template <typename T> struct PrefaultedAllocator {
    using value_type = T;
    PrefaultedAllocator() = default;
    template <typename U> PrefaultedAllocator(const PrefaultedAllocator<U>&) {}
    T* allocate(std::size_t count);
    // The pages come zeroed and are filled with the back colour next; no third pass.
    template <typename U> void construct(U* p) { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    void deallocate(T* memory, std::size_t count);
    bool operator==(const PrefaultedAllocator&) const = default;
};

// A colour as a 32-bit pixel 0xFFRRGGBB, the layout of a QImage of Format_RGB32.
std::uint32_t rasterPixel(Colour colour);

// A surface that draws one-pixel lines and circles straight into 32-bit pixels the size of a
// client area, which is several times faster than a general painter for this many short aliased
// lines. Labels are kept as data for whoever can draw text. The pixels live in a vector unless a
// subclass keeps them elsewhere (the image surface keeps them in a QImage).
class RasterSurface : public Surface {
  public:
    struct Label {
        std::string text;
        Colour colour = 0xFFFFFF;
        double left = 0, top = 0;
    };

    explicit RasterSurface(int clientWidth = 553, int clientHeight = 375);

    // Makes the pixels a new client size, cleared to the back colour.
    void resize(int clientWidth, int clientHeight);
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixels row after row, width() of them a row; empty when a subclass keeps them.
    std::span<const std::uint32_t> pixels() const { return pixels_; }

    // The device pixel of a surface point, for placing the number labels.
    double deviceX(double x) const { return scale_.toDeviceX(x, width_); }
    double deviceY(double y) const { return scale_.toDeviceY(y, height_); }
    const SurfaceScale& scale() const { return scale_; }
    const std::array<Label, kLabelCount>& labels() const { return labels_; }
    bool anyLabelText() const;

    void setScale(double left, double top, double right, double bottom) override;
    void setBackColor(Colour colour) override;
    void clearSurface() override;
    bool drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
    bool drawCircle(float x, float y, float radius, Colour colour) override;
    void placeLabel(int index, const std::string& text, Colour colour, double left,
                    double top) override;
    void setLabelText(int index, const std::string& text) override;

  protected:
    struct PixelRows {
        std::uint32_t* first;
        std::ptrdiff_t stride; // pixels from one row to the next
    };
    struct KeptElsewhere {};
    // For a subclass that keeps the pixels: it calls resize() once it is built.
    explicit RasterSurface(KeptElsewhere) {}

    // Where the pixels are now; valid until the next call. A subclass that keeps the pixels
    // overrides both.
    virtual PixelRows pixelRows();
    virtual void allocatePixels(int width, int height);

  private:
    void plot(const PixelRows& rows, int x, int y, std::uint32_t pixel) const;

    std::vector<std::uint32_t, PrefaultedAllocator<std::uint32_t>> pixels_;
    int width_ = 1, height_ = 1;
    SurfaceScale scale_;
    Colour backColor_ = 0;
    std::array<Label, kLabelCount> labels_{};
};

} // namespace wirevane
