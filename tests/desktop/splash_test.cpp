// The splash window: its look and the progress texts by tick.
#include "desktop/app/splashwindow.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace wirevane;

TEST(SplashWindow, ShowsItsPictureAndVersionFromTheStart) {
    SplashWindow splash;
    EXPECT_EQ(splash.objectName(), "Form4");
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.size(), QSize(396, 227)); // 5940 x 3405 twips
    ASSERT_FALSE(splash.Image1->pixmap().isNull());
    EXPECT_EQ(splash.Image1->pixmap().size(), QSize(539, 345));
    EXPECT_TRUE(splash.Image1->hasScaledContents());
    EXPECT_EQ(splash.Label3->text(), "Fullversion 3.0");
    EXPECT_EQ(splash.Label3->palette().color(QPalette::WindowText), QColor(0, 255, 255));
    EXPECT_TRUE(splash.Label3->font().bold());
    EXPECT_EQ(splash.Label3->font().pointSize(), 18);
    EXPECT_TRUE(splash.Label1->text().isEmpty());
    EXPECT_EQ(splash.Label1->parentWidget(), splash.Frame1);
    EXPECT_EQ(splash.Label1->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_FALSE(splash.Label2->text().isEmpty());
    EXPECT_TRUE(splash.Timer1.isActive());
    EXPECT_EQ(splash.Timer1.requestedInterval(), 510);
}

TEST(SplashWindow, ShowsEachProgressTextFromItsTickAndFinishesAtTheNinth) {
    SplashWindow splash;
    splash.show();
    QSignalSpy finished(&splash, &SplashWindow::loadFinished);
    const char* expected[] = {
        "",                         // 1
        "including mainunit...",    // 2
        "loading navigationbar...", // 3
        "loading 3D-routines...",   // 4
        "loading 3D-routines...",   // 5
        "loading settings...",      // 6
        "loading settings...",      // 7
        "loading settings...",      // 8
    };
    for (int tick = 1; tick <= 8; ++tick) {
        splash.Timer1_Timer();
        EXPECT_EQ(splash.loadStep, tick);
        EXPECT_EQ(splash.Label1->text(), expected[tick - 1]) << tick;
        EXPECT_TRUE(splash.isVisible()) << tick;
        EXPECT_EQ(finished.count(), 0) << tick;
    }
    splash.Timer1_Timer();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1.isActive());
}

TEST(SplashWindow, ACloseFromOutsideEndsTheStartEarlyOnce) {
    QPointer<SplashWindow> splash = new SplashWindow;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    QSignalSpy finished(splash.data(), &SplashWindow::loadFinished);
    splash->Timer1_Timer();
    splash->close();
    EXPECT_TRUE(finished.wait(1000));
    EXPECT_EQ(finished.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}
