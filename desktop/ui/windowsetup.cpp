#include "desktop/ui/windowsetup.h"

#include "desktop/ui/twips.h"

#include <QWidget>

namespace wirevane {

void setUpWindow(QWidget& window, const WindowLook& look) {
    window.setObjectName(QLatin1String(look.name));
    if (!look.title.isEmpty())
        window.setWindowTitle(look.title);
    if (look.deleteOnClose)
        window.setAttribute(Qt::WA_DeleteOnClose);
    if (look.pointSize > 0) {
        QFont small = window.font();
        small.setPointSizeF(look.pointSize);
        window.setFont(small);
    }
    if (look.widthTwips > 0 && look.heightTwips > 0) {
        const QSize size(twipsToPixels(look.widthTwips), twipsToPixels(look.heightTwips));
        if (look.fixedSize)
            window.setFixedSize(size);
        else
            window.resize(size);
    }
    if (look.black) {
        QPalette black = window.palette();
        black.setColor(QPalette::Window, Qt::black);
        window.setPalette(black);
        window.setAutoFillBackground(true);
    }
}

} // namespace wirevane
