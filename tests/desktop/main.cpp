// Window tests run on Qt's offscreen platform, inside one QApplication.
#include "desktop/ui/accessibility.h"
#include "tests/common/temporaryfolder.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Recovery copies of the windows under test never reach the user's own state folder.
    const wirevane::tests::TemporaryFolder stateHome;
    ::setenv("XDG_STATE_HOME", stateHome.path().c_str(), 1);
    QApplication app(argc, argv);
    wirevane::installAccessibility();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
