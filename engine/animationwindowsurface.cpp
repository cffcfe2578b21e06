#include "engine/animationwindowsurface.h"

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
    : ImageSurface(std::max(window.width(), 1), std::max(window.height(), 1)), window_(window),
      labels_(labels) {
    labelColours_.fill(kDesignLabelColour);
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
    ImageSurface::resize(clientWidth, clientHeight);
    shown_.clear();
    shownKnown_ = true;
    lastAdded_.clear();
    requestRepaint(image().rect());
}

void AnimationWindowSurface::setScale(double left, double top, double right, double bottom) {
    ImageSurface::setScale(left, top, right, bottom);
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
    // The base class clears through the (overridden) clearSurface; fill here instead.
    settingBackColour_ = true;
    ImageSurface::setBackColor(colour);
    settingBackColour_ = false;
    ImageSurface::clearSurface();
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
    if (settingBackColour_)
        return;
    beginFrame();
    frame_.clear();
    frameClears_ = true;
    endFrame();
}

bool AnimationWindowSurface::reachable(double x, double y) const {
    return std::fabs(deviceX(x)) <= kDeviceLimit && std::fabs(deviceY(y)) <= kDeviceLimit;
}

bool AnimationWindowSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
    if (!reachable(x1, y1) || !reachable(x2, y2))
        return false;
    record({false, x1, y1, x2, y2, colour});
    return true;
}

bool AnimationWindowSurface::drawCircle(float x, float y, float radius, Colour colour) {
    if (!reachable(x, y) || !(std::fabs(deviceX(radius) - deviceX(0)) <= kDeviceLimit))
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
        ImageSurface::drawCircle(primitive.x1, primitive.y1, primitive.x2, colour);
    else
        ImageSurface::drawLine(primitive.x1, primitive.y1, primitive.x2, primitive.y2, colour);
}

QRect AnimationWindowSurface::deviceBounds(const Primitive& primitive) const {
    double left, top, right, bottom;
    if (primitive.circle) {
        const double cx = deviceX(primitive.x1);
        const double cy = deviceY(primitive.y1);
        const double r = std::fabs(deviceX(primitive.x2) - deviceX(0)) + 1;
        left = cx - r;
        right = cx + r;
        top = cy - r;
        bottom = cy + r;
    } else {
        const double ax = deviceX(primitive.x1), bx = deviceX(primitive.x2);
        const double ay = deviceY(primitive.y1), by = deviceY(primitive.y2);
        left = std::min(ax, bx);
        right = std::max(ax, bx);
        top = std::min(ay, by);
        bottom = std::max(ay, by);
    }
    // Recorded primitives lie within the device range, so these fit an int.
    const QRect box(
        QPoint(static_cast<int>(std::floor(left)) - 1, static_cast<int>(std::floor(top)) - 1),
        QPoint(static_cast<int>(std::floor(right)) + 1, static_cast<int>(std::floor(bottom)) + 1));
    return box & image().rect();
}

QRect AnimationWindowSurface::boundsFrom(const std::vector<Primitive>& primitives,
                                         std::size_t first) const {
    QRect bounds;
    for (std::size_t i = first; i < primitives.size(); ++i)
        bounds |= deviceBounds(primitives[i]);
    return bounds;
}

// The picture becomes the back colour with this frame's primitives on it.
void AnimationWindowSurface::applyClearingFrame() {
    if (!backChanged_ && shownKnown_ && shown_ == frame_) {
        lastAdded_ = frame_;
        return;
    }
    QRect dirty;
    if (backChanged_ || !shownKnown_) {
        if (!backChanged_)
            ImageSurface::clearSurface();
        dirty = image().rect();
    } else {
        // Only the pixels of primitives after the common beginning (usually the cross) can
        // differ; the rest ends up as it was.
        const auto firstDifference =
            std::mismatch(shown_.begin(), shown_.end(), frame_.begin(), frame_.end());
        const auto common = static_cast<std::size_t>(firstDifference.first - shown_.begin());
        dirty = boundsFrom(shown_, common) | boundsFrom(frame_, common);
        for (const Primitive& primitive : shown_)
            paint(primitive, backColour_);
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
    requestRepaint(boundsFrom(frame_, 0));
}

void AnimationWindowSurface::placeLabel(int index, const std::string& text, Colour colour,
                                        double left, double top) {
    if (index < 0 || index >= kLabelCount)
        return;
    ImageSurface::placeLabel(index, text, colour, left, top);
    // A position the window cannot take leaves the label where it was.
    if (reachable(left, top))
        labels_[index]->move(static_cast<int>(std::floor(deviceX(left))),
                             static_cast<int>(std::floor(deviceY(top))));
    showLabel(index);
}

void AnimationWindowSurface::setLabelText(int index, const std::string& text) {
    if (index < 0 || index >= kLabelCount)
        return;
    ImageSurface::setLabelText(index, text);
    showLabel(index);
}

void AnimationWindowSurface::showLabel(int index) {
    const Label& data = labels()[index];
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

void AnimationWindowSurface::requestRepaint(const QRect& rect) {
    if (rect.isEmpty())
        return;
    ++repaintRequests_;
    window_.update(rect);
}

} // namespace wirevane
