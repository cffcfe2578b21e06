#include "desktop/app/pictures/pictures.h"

// The resources live in a static library, where nothing else would pull them into the program.
static void loadPictureResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)loaded;
}

namespace wirevane {

QPixmap splashPicture() {
    loadPictureResources();
    return QPixmap(":/pictures/splash.png");
}

QPixmap logoPicture() {
    loadPictureResources();
    return QPixmap(":/pictures/logo.png");
}

} // namespace wirevane
