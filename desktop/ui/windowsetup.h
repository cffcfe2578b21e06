#pragma once

#include <QString>

class QWidget;

namespace wirevane {

// How a window of the program starts out: its name, caption, size and look.
struct WindowLook {
    const char* name;   // objectName: the window's name, as tests and readers find it
    QString title;      // caption; empty: none
    int widthTwips = 0; // client size; 0: as Qt makes it
    int heightTwips = 0;
    bool fixedSize = false; // the user cannot resize it
    bool deleteOnClose = false;
    double pointSize = 0; // the font's size for every control; 0: the desktop's
    bool black = false;   // a black background
};

void setUpWindow(QWidget& window, const WindowLook& look);

} // namespace wirevane
