#pragma once

class QMdiArea;

namespace wirevane {

// The four ways the frame arranges its child windows.
enum class Arrangement {
    Cascade = 0,
    TileHorizontal = 1, // one above the other, each as wide as the frame
    TileVertical = 2,   // side by side, each as high as the frame
    ArrangeIcons = 3,   // line up the minimised windows along the bottom; nothing else moves
};

void arrangeChildWindows(QMdiArea& area, Arrangement mode);

} // namespace wirevane
