#pragma once

#include <QPixmap>

namespace wirevane {

// The program's own pictures, made by scripts/make-pictures.
QPixmap splashPicture(); // 539 x 345
QPixmap logoPicture();   // 55 x 53, also on the toolbar

} // namespace wirevane
