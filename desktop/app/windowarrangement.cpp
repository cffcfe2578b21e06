#include "desktop/app/windowarrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtMath>
#include <algorithm>

namespace wirevane {

namespace {

// Up to this many windows make one strip; more make a grid so none gets too thin.
constexpr int kWindowsInOneStrip = 3;

// The active window first, then the others from the most recently used.
QList<QMdiSubWindow*> windowsToTile(const QMdiArea& area) {
    QList<QMdiSubWindow*> windows;
    const QList<QMdiSubWindow*> history = area.subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.crbegin(); it != history.crend(); ++it) {
        QMdiSubWindow* window = *it;
        if (window->isVisible() && !window->isMinimized())
            windows.push_back(window);
    }
    return windows;
}

QList<QMdiSubWindow*> minimisedWindows(const QMdiArea& area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && window->isMinimized())
            windows.push_back(window);
    }
    return windows;
}

// Rows of minimised windows at the bottom stay free, as the arrangement of icons leaves them.
int iconStripHeight(const QMdiArea& area) {
    int height = 0;
    for (QMdiSubWindow* window : minimisedWindows(area))
        height = std::max(height, window->height());
    return height;
}

// Splits `count` windows into `strips` strips; the later strips take the odd ones.
int windowsInStrip(int count, int strips, int strip) {
    const int base = count / strips;
    const int extra = count % strips;
    return base + (strip >= strips - extra ? 1 : 0);
}

void tile(QMdiArea& area, bool stacked) {
    const QList<QMdiSubWindow*> windows = windowsToTile(area);
    const int count = static_cast<int>(windows.size());
    if (count == 0)
        return;
    QRect space = area.viewport()->rect();
    space.setBottom(space.bottom() - iconStripHeight(area));

    // Stacked: strips are columns of windows one above the other; side by side: rows.
    const int strips =
        count <= kWindowsInOneStrip ? 1 : static_cast<int>(std::floor(std::sqrt(double(count))));
    const int across = stacked ? space.width() : space.height();
    const int along = stacked ? space.height() : space.width();

    int next = 0;
    for (int strip = 0; strip < strips; ++strip) {
        const int inStrip = windowsInStrip(count, strips, strip);
        const int stripStart = strip * across / strips;
        const int stripEnd = (strip + 1) * across / strips;
        for (int slot = 0; slot < inStrip; ++slot, ++next) {
            const int slotStart = slot * along / inStrip;
            const int slotEnd = (slot + 1) * along / inStrip;
            QRect cell =
                stacked ? QRect(QPoint(stripStart, slotStart), QPoint(stripEnd - 1, slotEnd - 1))
                        : QRect(QPoint(slotStart, stripStart), QPoint(slotEnd - 1, stripEnd - 1));
            cell.translate(space.topLeft());
            QMdiSubWindow* window = windows[next];
            if (window->isMaximized())
                window->showNormal();
            window->setGeometry(cell);
        }
    }
}

void lineUpIcons(QMdiArea& area) {
    const QRect space = area.viewport()->rect();
    int left = space.left();
    int bottom = space.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* window : minimisedWindows(area)) {
        const QSize size = window->size();
        if (left > space.left() && left + size.width() > space.right() + 1) {
            left = space.left();
            bottom -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, size.height());
        window->move(left, bottom - size.height());
        left += size.width();
    }
}

} // namespace

void arrangeChildWindows(QMdiArea& area, Arrangement mode) {
    switch (mode) {
    case Arrangement::Cascade:
        area.cascadeSubWindows();
        break;
    case Arrangement::TileHorizontal:
        tile(area, true);
        break;
    case Arrangement::TileVertical:
        tile(area, false);
        break;
    case Arrangement::ArrangeIcons:
        lineUpIcons(area);
        break;
    }
}

} // namespace wirevane
