#pragma once

namespace wirevane {

// A picture's size in pixels. The default is the animation window's client area (8295 by 5625
// twips), the size of every picture of the animation unless a user asks for another one.
struct PictureSize {
    static constexpr int kAnimationWidth = 553;
    static constexpr int kAnimationHeight = 375;

    int width = kAnimationWidth;
    int height = kAnimationHeight;
};

} // namespace wirevane
