#include "desktop/animation/animationwindowsurface.h"

#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace wirevane {
namespace {

// Beyond this many kept primitives (about ten full scenes drawn over one another without a
// clear) the surface stops tracking them and erases by filling the whole image.
constexpr std::size_t kKeptPrimitives = 1200;
constexpr Colour kDesignLabelColour = 0xFFFFFF;

} // namespace

AnimationWindowSurface::AnimationWindowSurface(QWidget& window,
                                               const std::array<QLabel*, kLabelCount>& labels)
    : picture_(std::max(window.width(), 1), std::max(window.height(), 1)), window_(window),
      labels_(labels) {
    labelColours_.fill(kDesignLabelColour);
    resizeClient(image().width(), image().height());
    repaintRequests_ = 0;
}

void AnimationWindowSurface::beginFrame() {
    ++frameDepth_;
}

void AnimationWindowSurface::endFrame() {
    if (frameDepth_ == 0 || --frameDepth_ > 0)
        return;
    if (frameClears_)
        applyClearingFrame();
    else
        applyAddedFrame();
    frame_.clear();
    frameClears_ = false;
    backChanged_ = false;
}

void AnimationWindowSurface::resizeClient(int clientWidth, int clientHeight) {
    picture_.resize(clientWidth, clientHeight);
    lastPixelX_ = image().width() - 1;
    lastPixelY_ = image().height() - 1;
    tileColumns_ = (image().width() + kTileSize - 1) / kTileSize;
    tiles_.assign(
        static_cast<std::size_t>(tileColumns_ * ((image().height() + kTileSize - 1) / kTileSize)),
        0);
    anyTile_ = false;
    shown_.clear();
    shownKnown_ = true;
    lastAdded_.clear();
    requestRepaint(image().rect());
}

void AnimationWindowSurface::setScale(double left, double top, double right, double bottom) {
    picture_.setScale(left, top, right, bottom);
    const std::array<double, 4> scale{left, top, right, bottom};
    if (scale == scale_)
        return;
    scale_ = scale;
    // What the image shows was placed by the old scale; it can no longer be erased or matched.
    shownKnown_ = shown_.empty();
    shown_.clear();
    lastAdded_.clear();
}

void AnimationWindowSurface::setBackColor(Colour colour) {
    if (colour == backColour_)
        return;
    backColour_ = colour;
    // The picture fills itself with the new colour.
    picture_.setBackColor(colour);
    shown_.clear();
    shownKnown_ = true;
    lastAdded_.clear();
    if (frameDepth_ == 0) {
        requestRepaint(image().rect());
        return;
    }
    frame_.clear();
    frameClears_ = true;
    backChanged_ = true;
}

void AnimationWindowSurface::clearSurface() {
    beginFrame();
    frame_.clear();
    frameClears_ = true;
    endFrame();
}

bool AnimationWindowSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
    if (!picture_.scale().takesLine(x1, y1, x2, y2, picture_.width(), picture_.height()))
        return false;
    record({false, x1, y1, x2, y2, colour});
    return true;
}

bool AnimationWindowSurface::drawCircle(float x, float y, float radius, Colour colour) {
    if (!picture_.scale().takesCircle(x, y, radius, picture_.width(), picture_.height()))
        return false;
    record({true, x, y, radius, 0, colour});
    return true;
}

void AnimationWindowSurface::record(const Primitive& primitive) {
    beginFrame();
    frame_.push_back(primitive);
    endFrame();
}

void AnimationWindowSurface::paint(const Primitive& primitive, Colour colour) {
    if (primitive.circle)
        picture_.drawCircle(primitive.x1, primitive.y1, primitive.x2, colour);
    else
        picture_.drawLine(primitive.x1, primitive.y1, primitive.x2, primitive.y2, colour);
}

// Marks the tiles of the box around two device points, widened by a margin that covers the
// rounding of the rasterised line.
void AnimationWindowSurface::markBox(double x1, double y1, double x2, double y2) {
    constexpr double kMargin = 2;
    auto tile = [](double pixel, int last) {
        return std::clamp(static_cast<int>(std::floor(pixel)), 0, last) / kTileSize;
    };
    const int left = tile(std::min(x1, x2) - kMargin, lastPixelX_);
    const int right = tile(std::max(x1, x2) + kMargin, lastPixelX_);
    const int top = tile(std::min(y1, y2) - kMargin, lastPixelY_);
    const int bottom = tile(std::max(y1, y2) + kMargin, lastPixelY_);
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            tiles_[static_cast<std::size_t>(row * tileColumns_ + column)] = 1;
    anyTile_ = true;
}

// Marks every tile that a pixel of the primitives from `first` on can lie in.
void AnimationWindowSurface::markTiles(const std::vector<Primitive>& primitives,
                                       std::size_t first) {
    const double width = lastPixelX_ + 1;
    const double height = lastPixelY_ + 1;
    for (std::size_t i = first; i < primitives.size(); ++i) {
        const Primitive& p = primitives[i];
        if (p.circle) {
            const double cx = picture_.deviceX(p.x1), cy = picture_.deviceY(p.y1);
            const double r = std::fabs(picture_.deviceX(p.x2) - picture_.deviceX(0)) + 1;
            if (cx + r >= 0 && cy + r >= 0 && cx - r < width && cy - r < height)
                markBox(cx - r, cy - r, cx + r, cy + r);
            continue;
        }
        double x1 = picture_.deviceX(p.x1), y1 = picture_.deviceY(p.y1);
        double x2 = picture_.deviceX(p.x2), y2 = picture_.deviceY(p.y2);
        if (!clipToBox(x1, y1, x2, y2, width, height))
            continue;
        // Walk the visible part a tile at a time, marking the box of each step.
        const double length = std::max(std::fabs(x2 - x1), std::fabs(y2 - y1));
        const int steps = std::max(1, static_cast<int>(std::ceil(length / kTileSize)));
        double px = x1, py = y1;
        for (int step = 1; step <= steps; ++step) {
            const double t = static_cast<double>(step) / steps;
            const double nx = x1 + (x2 - x1) * t, ny = y1 + (y2 - y1) * t;
            markBox(px, py, nx, ny);
            px = nx;
            py = ny;
        }
    }
}

// The marked tiles as a region, row by row, and the marks cleared.
QRegion AnimationWindowSurface::takeMarkedRegion() {
    QRegion region;
    if (!anyTile_)
        return region;
    const int tileRows = static_cast<int>(tiles_.size()) / tileColumns_;
    for (int row = 0; row < tileRows; ++row) {
        int column = 0;
        while (column < tileColumns_) {
            if (!tiles_[static_cast<std::size_t>(row * tileColumns_ + column)]) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < tileColumns_ &&
                   tiles_[static_cast<std::size_t>(row * tileColumns_ + column)])
                ++column;
            region +=
                QRect(start * kTileSize, row * kTileSize, (column - start) * kTileSize, kTileSize) &
                image().rect();
        }
    }
    std::fill(tiles_.begin(), tiles_.end(), 0);
    anyTile_ = false;
    return region;
}

// The picture becomes the back colour with this frame's primitives on it.
void AnimationWindowSurface::applyClearingFrame() {
    if (!backChanged_ && shownKnown_ && shown_ == frame_) {
        lastAdded_ = frame_;
        return;
    }
    QRegion dirty;
    if (backChanged_ || !shownKnown_) {
        if (!backChanged_)
            picture_.clearSurface();
        dirty = image().rect();
    } else {
        // Only the pixels of primitives after the common beginning (usually the cross) can
        // differ; the rest ends up as it was.
        const auto firstDifference =
            std::mismatch(shown_.begin(), shown_.end(), frame_.begin(), frame_.end());
        const auto common = static_cast<std::size_t>(firstDifference.first - shown_.begin());
        markTiles(shown_, common);
        markTiles(frame_, common);
        dirty = takeMarkedRegion();
        // Erasing the rest is enough: the common beginning is drawn again below, which also
        // mends it where the erased primitives lay over it.
        for (std::size_t i = common; i < shown_.size(); ++i)
            paint(shown_[i], backColour_);
    }
    for (const Primitive& primitive : frame_)
        paint(primitive, primitive.colour);
    shown_ = frame_;
    shownKnown_ = true;
    lastAdded_ = frame_;
    requestRepaint(dirty);
}

// The frame is drawn over the picture as it stands.
void AnimationWindowSurface::applyAddedFrame() {
    // Drawing the same primitives again over themselves changes no pixel: the last one to
    // cover each pixel is the same one as before.
    if (frame_.empty() || frame_ == lastAdded_)
        return;
    for (const Primitive& primitive : frame_)
        paint(primitive, primitive.colour);
    if (shownKnown_ && shown_.size() + frame_.size() <= kKeptPrimitives) {
        shown_.insert(shown_.end(), frame_.begin(), frame_.end());
    } else {
        shown_.clear();
        shownKnown_ = false;
    }
    lastAdded_ = frame_;
    markTiles(frame_, 0);
    requestRepaint(takeMarkedRegion());
}

void AnimationWindowSurface::placeLabel(int index, const std::string& text, Colour colour,
                                        double left, double top) {
    if (index < 0 || index >= kLabelCount)
        return;
    picture_.placeLabel(index, text, colour, left, top);
    // A position the window cannot take leaves the label where it was.
    if (picture_.scale().takesPoint(left, top, picture_.width(), picture_.height()))
        labels_[index]->move(static_cast<int>(std::floor(picture_.deviceX(left))),
                             static_cast<int>(std::floor(picture_.deviceY(top))));
    showLabel(index);
}

void AnimationWindowSurface::setLabelText(int index, const std::string& text) {
    if (index < 0 || index >= kLabelCount)
        return;
    picture_.setLabelText(index, text);
    showLabel(index);
}

void AnimationWindowSurface::showLabel(int index) {
    const RasterSurface::Label& data = picture_.labels()[index];
    QLabel* label = labels_[index];
    const QString text = QString::fromStdString(data.text);
    if (label->text() != text) {
        label->setText(text);
        label->adjustSize();
    }
    if (labelColours_[index] != data.colour) {
        labelColours_[index] = data.colour;
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(toRgb(data.colour)));
        label->setPalette(palette);
    }
    // An empty label shows nothing; hidden, it also costs nothing to repaint.
    if (label->isHidden() != text.isEmpty())
        label->setVisible(!text.isEmpty());
}

void AnimationWindowSurface::requestRepaint(const QRegion& region) {
    if (region.isEmpty())
        return;
    ++repaintRequests_;
    lastRepaint_ = region;
    window_.update(region);
}

} // namespace wirevane
