// wirevane-tool-qt: wirevane-tool with Qt, for pictures with text, SVG drawings and animations.
// The plain wirevane-tool hands such command lines over to it as they stand.
#include "tools/qt/qtpicture.h"
#include "tools/qt/toolapplication.h"
#include "tools/toolcommands.h"
#include "tools/toolrunner.h"

int main(int argc, char** argv) {
    const wirevane::ToolBackend withQt{wirevane::makeQtPicture, wirevane::animateCommand};
    const int status = wirevane::runTool({argv + 1, argv + argc}, withQt);
    wirevane::endGuiApplication();
    return status;
}
