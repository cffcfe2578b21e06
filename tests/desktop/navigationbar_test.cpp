// The navigation bar's buttons, check boxes, spinner and timers, driven through the controller
// so that every redraw reaches a real animation window.
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/animation/coordinatetable.h"
#include "desktop/animation/navigationbar.h"
#include "desktop/ui/updownspinner.h"
#include "scriptedprompts.h"
#include "startedanimation.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace wirevane;

// Two points on the x axis and one on the y axis, joined in a triangle.
ObjectInput triangle() {
    return objectInput("triangle.kfm", "3/0/0\r\n0/3/0\r\n-3/0/0\r\n\r\n1-2\r\n2-3\r\n3-1",
                       0xFFFFFF, defaultObjectInput().backgroundColor, 0x808080);
}

// The angle of point 1 in the x-z plane, in whole degrees.
double angleXZ(const Scene& scene, int point = 1) {
    return std::round(std::atan2(scene.sceneZ[point], scene.sceneX[point]) * 180 / M_PI);
}
double angleYZ(const Scene& scene, int point = 2) {
    return std::round(std::atan2(scene.sceneZ[point], scene.sceneY[point]) * 180 / M_PI);
}

class NavigationBarTest : public StartedAnimation {
  protected:
    ScriptedPrompts dialogs;

    NavigationBarTest() {
        startAnimation(triangle());
        bar->Timer1_Timer(); // takes the spinner's speed of 2
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // On the box itself: the middle of a wide check box may lie beyond its caption.
    void click(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
};

TEST_F(NavigationBarTest, OpensWithItsDesignValues) {
    EXPECT_EQ(bar->objectName(), "Form1");
    EXPECT_EQ(bar->windowTitle(), "Navigationbar");
    EXPECT_TRUE(bar->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(bar->width(), 97);
    EXPECT_EQ(bar->outerHeightTwips(), 2145);
    EXPECT_EQ(bar->minimumSize(), bar->maximumSize()); // not resizable
    EXPECT_EQ(bar->Command6->text(), "more settings ...");
    EXPECT_EQ(bar->Text1->text(), QString(" 2\u00B0"));
    EXPECT_EQ(bar->UpDown1->minimum(), 0);
    EXPECT_EQ(bar->UpDown1->maximum(), 25);
    EXPECT_EQ(bar->Command5->geometry(), bar->Check3->geometry());
    for (QPushButton* arrow : {bar->Command1, bar->Command2, bar->Command3, bar->Command4}) {
        EXPECT_TRUE(arrow->text().isEmpty());
        EXPECT_FALSE(arrow->icon().pixmap(24, 24).isNull()) << arrow->objectName().toStdString();
    }
    EXPECT_EQ(NavigationBar::buttonColour(bar->Command12), 0xC0C0C0);
    EXPECT_EQ(NavigationBar::buttonColour(bar->Command5), 0x8080FF);
}

TEST_F(NavigationBarTest, TimersRunAtTheFloorWhateverIntervalTheyAreGiven) {
    EXPECT_EQ(bar->Timer1.requestedInterval(), 5);
    EXPECT_EQ(bar->Timer2.requestedInterval(), 5);
    EXPECT_EQ(bar->Timer1.interval(), kTimerFloorMs);
    EXPECT_TRUE(bar->Timer1.isActive());
    EXPECT_FALSE(bar->Timer2.isActive());

    click(bar->Check2); // "3D-Data" on
    EXPECT_EQ(bar->Timer1.requestedInterval(), 10);
    EXPECT_EQ(bar->Timer2.requestedInterval(), 50);
    EXPECT_EQ(bar->Timer1.interval(), kTimerFloorMs);
    EXPECT_EQ(bar->Timer2.interval(), 50);
    EXPECT_FALSE(bar->Timer2.isActive()); // a new interval does not start a stopped timer

    click(bar->Check2); // off
    EXPECT_EQ(bar->Timer1.requestedInterval(), 1);
    EXPECT_EQ(bar->Timer2.requestedInterval(), 1);
    EXPECT_EQ(bar->Timer2.interval(), kTimerFloorMs);
}

TEST_F(NavigationBarTest, StepModeTurnButtonTurnsOnceByTheSpeed) {
    ASSERT_EQ(angleXZ(scene), 0);
    click(bar->Command2); // right
    EXPECT_EQ(angleXZ(scene), 2);
    for (int i = 0; i < 10; ++i)
        bar->Timer1_Timer();
    EXPECT_EQ(angleXZ(scene), 2);

    click(bar->Command4); // left
    EXPECT_EQ(angleXZ(scene), 0);

    ASSERT_EQ(angleYZ(scene), 0);
    click(bar->Command1); // up
    EXPECT_EQ(angleYZ(scene), 2);
    click(bar->Command3); // down
    click(bar->Command3);
    EXPECT_EQ(angleYZ(scene), -2);
    bar->Timer1_Timer();
    EXPECT_EQ(scene.turnXZ, 0);
    EXPECT_EQ(scene.turnYZ, 0);
}

TEST_F(NavigationBarTest, RunModeKeepsTurningThroughZoomMoveAndSettingsClicks) {
    click(bar->Check3); // "Run"
    EXPECT_FALSE(bar->Timer1.isActive());
    EXPECT_TRUE(bar->Timer2.isActive());

    click(bar->Command3); // down: -2 per tick in the y-z plane
    EXPECT_EQ(angleYZ(scene), -2);
    bar->Timer2_Timer();
    EXPECT_EQ(angleYZ(scene), -4);

    click(bar->Command9);  // "+"
    click(bar->Command12); // "X(+)"
    click(bar->Command6);  // "more settings ..."
    EXPECT_EQ(scene.turnYZ, -2);
    EXPECT_EQ(scene.zoomFactor, 1);
    const double before = angleYZ(scene);
    bar->Timer2_Timer();
    EXPECT_EQ(angleYZ(scene), before - 2);

    // The speed changes the running step at once; the left button switches the plane.
    bar->UpDown1->setValue(5);
    bar->Timer2_Timer(); // takes the new step into turnStep
    bar->Timer2_Timer();
    EXPECT_EQ(scene.turnYZ, -5);
    click(bar->Command4);
    EXPECT_EQ(scene.turnYZ, 0);
    EXPECT_EQ(scene.turnXZ, -5);

    // Leaving run mode: the first step tick stops the turning.
    click(bar->Check3);
    EXPECT_TRUE(bar->Timer1.isActive());
    EXPECT_FALSE(bar->Timer2.isActive());
    bar->Timer1_Timer();
    EXPECT_EQ(scene.turnXZ, 0);
}

TEST_F(NavigationBarTest, MoveButtonsShiftEveryPointByATenthAlongTheirAxis) {
    const struct {
        QPushButton* NavigationBar::*button;
        double dx, dy, dz;
    } moves[] = {
        {&NavigationBar::Command12, 0.1, 0, 0},  {&NavigationBar::Command13, 0, 0.1, 0},
        {&NavigationBar::Command14, 0, 0, 0.1},  {&NavigationBar::Command15, -0.1, 0, 0},
        {&NavigationBar::Command16, 0, -0.1, 0}, {&NavigationBar::Command17, 0, 0, -0.1},
    };
    scene.sceneX[4] = 7; // above pointCount: untouched
    for (const auto& m : moves) {
        const auto x = scene.sceneX;
        const auto y = scene.sceneY;
        const auto z = scene.sceneZ;
        click(bar->*m.button);
        SCOPED_TRACE((bar->*m.button)->text().toStdString());
        for (int i = 1; i <= 3; ++i) {
            EXPECT_DOUBLE_EQ(scene.sceneX[i], x[i] + m.dx);
            EXPECT_DOUBLE_EQ(scene.sceneY[i], y[i] + m.dy);
            EXPECT_DOUBLE_EQ(scene.sceneZ[i], z[i] + m.dz);
        }
    }
    EXPECT_EQ(scene.sceneX[4], 7);
}

TEST_F(NavigationBarTest, ZoomButtonsScaleForOneRedraw) {
    click(bar->Command9);
    click(bar->Command9);
    EXPECT_DOUBLE_EQ(scene.sceneX[1], 3 * 1.44);
    EXPECT_EQ(scene.zoomFactor, 1);
    click(bar->Command10);
    EXPECT_DOUBLE_EQ(scene.sceneX[1], 3 * 1.44 * 0.8);
    bar->Timer1_Timer();
    EXPECT_DOUBLE_EQ(scene.sceneX[1], 3 * 1.44 * 0.8);
}

TEST_F(NavigationBarTest, MoreSettingsTogglesTheHeight) {
    click(bar->Command6);
    EXPECT_EQ(bar->outerHeightTwips(), 5925);
    EXPECT_EQ(bar->Command6->text(), "less settings...");
    EXPECT_EQ(scene.modeFlag, 1);
    click(bar->Command6);
    EXPECT_EQ(bar->outerHeightTwips(), 2145);
    EXPECT_EQ(bar->Command6->text(), "more settings...");
    EXPECT_EQ(scene.modeFlag, 0);

    scene.modeFlag = 2; // neither: nothing happens
    click(bar->Command6);
    EXPECT_EQ(bar->outerHeightTwips(), 2145);
}

TEST_F(NavigationBarTest, StepTickSetsCrossFromTheSceneAndRunsItsClick) {
    AnimationWindowSurface& surface = controller.animationWindow()->surface();
    const QPoint onXAxis(5, surface.image().height() / 2);
    ASSERT_TRUE(bar->Check1->isChecked());
    ASSERT_EQ(surface.image().pixel(onXAxis), qRgb(0x80, 0x80, 0x80));

    scene.showCross = 0;
    bar->Timer1_Timer();
    EXPECT_FALSE(bar->Check1->isChecked());
    EXPECT_NE(surface.image().pixel(onXAxis), qRgb(0x80, 0x80, 0x80));

    click(bar->Check1); // the user switches it back on
    EXPECT_EQ(scene.showCross, 1);
    EXPECT_EQ(surface.image().pixel(onXAxis), qRgb(0x80, 0x80, 0x80));
}

TEST_F(NavigationBarTest, ColourButtonsTakeTheChosenColourAndKeepTheirsWhenCancelled) {
    dialogs.colours = {QColor(0x12, 0x34, 0x56), std::nullopt, QColor(0, 0, 255)};
    click(bar->Command7);
    EXPECT_EQ(scene.backgroundColor, 0x563412);
    EXPECT_EQ(NavigationBar::buttonColour(bar->Command7), 0x563412);

    const Colour objectBefore = scene.objectColor;
    click(bar->Command8); // cancelled
    EXPECT_EQ(scene.objectColor, objectBefore);
    EXPECT_EQ(NavigationBar::buttonColour(bar->Command8), objectBefore);
    EXPECT_EQ(dialogs.colourDialogs.back(), QColor(0xFF, 0xFF, 0xFF));

    click(bar->Command11);
    EXPECT_EQ(scene.crossColor, 0xFF0000);
    EXPECT_TRUE(dialogs.scriptUsedUp());

    // The next tick shows the new colours.
    bar->Timer1_Timer();
    const QImage& image = controller.animationWindow()->surface().image();
    EXPECT_EQ(image.pixel(1, 1), qRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(image.pixel(5, image.height() / 2), qRgb(0, 0, 0xFF));
}

TEST_F(NavigationBarTest, SpinnerSetsSpeedAndItsText) {
    bar->UpDown1->setValue(25);
    EXPECT_EQ(bar->Text1->text(), QString(" 25\u00B0"));
    EXPECT_EQ(scene.speedSetting, 25);
    bar->UpDown1->setValue(40);
    EXPECT_EQ(scene.speedSetting, 25);
    bar->UpDown1->setValue(0);
    EXPECT_EQ(bar->Text1->text(), QString(" 0\u00B0"));
    // A bare spinner: its arrows step the speed, and it has no edit field to type into.
    EXPECT_TRUE(bar->UpDown1->findChildren<QLineEdit*>().isEmpty());
    QTest::mouseClick(bar->UpDown1->upButton(), Qt::LeftButton);
    EXPECT_EQ(scene.speedSetting, 1);
    QTest::mouseClick(bar->UpDown1->downButton(), Qt::LeftButton);
    EXPECT_EQ(bar->Text1->text(), QString(" 0\u00B0"));
    bar->Timer1_Timer();
    const double before = angleXZ(scene);
    click(bar->Command2); // a step of 0 turns nothing
    EXPECT_EQ(angleXZ(scene), before);
}

// Direct manipulation of the animation window: the mouse, the wheel and the keys act through
// the same scene values and redraws as the bar's buttons. The window is 553 by 375 pixels.
class PointerTest : public NavigationBarTest {
  protected:
    AnimationWindow* window = controller.animationWindow();

    // A left-button drag from the window's middle, in ten even moves.
    void drag(int dx, int dy) {
        const QPoint start(window->width() / 2, window->height() / 2);
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(window, start + QPoint(dx * step / 10, dy * step / 10));
        QTest::mouseRelease(window, Qt::LeftButton, {}, start + QPoint(dx, dy));
    }
    void wheel(int angle) {
        const QPointF at(window->width() / 2, window->height() / 2);
        QWheelEvent event(at, window->mapToGlobal(at), {}, QPoint(0, angle), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window, &event);
    }
};

TEST_F(PointerTest, DragTurnsByWholeDegreesAndTheTableFollows) {
    struct Row {
        int dx, dy;
        double xz, yz; // angles of point 1 in the x-z plane and point 2 in the y-z plane
    };
    // 180 degrees across the window: 100 of 553 pixels are 32.5 degrees, 70 of 375 are 33.6.
    const Row rows[] = {
        {100, 0, -32, 0}, {-100, 0, 32, 0}, {0, 70, 0, 33}, {0, -70, 0, -33}, {1, 0, 0, 0}};
    for (const Row& row : rows) {
        const PointTable startX = scene.sceneX, startY = scene.sceneY, startZ = scene.sceneZ;
        drag(row.dx, row.dy);
        for (int i = 0; i < 3; ++i)
            bar->Timer1_Timer(); // step mode: nothing turns after the drag
        EXPECT_EQ(angleXZ(scene), row.xz) << row.dx << "," << row.dy;
        EXPECT_EQ(angleYZ(scene), row.yz) << row.dx << "," << row.dy;
        // Back to where the row started, for the next one.
        scene.sceneX = startX;
        scene.sceneY = startY;
        scene.sceneZ = startZ;
    }

    click(bar->Check2); // "3D-Data"
    drag(100, 0);
    controller.coordinateTable()->Timer1_Timer();
    EXPECT_EQ(controller.coordinateTable()->cellText(1, 4), QString("-32\u00B0"));
    EXPECT_EQ(controller.coordinateTable()->cellText(1, 3).toDouble(), -15.9); // 3 * sin 32
}

TEST_F(PointerTest, InRunModeADragFlicksTheTurnAndAClickKeepsIt) {
    click(bar->Check3); // "Run"
    struct Row {
        int dx, dy;
        double turnXZ, turnYZ; // what keeps turning after the drag; the speed is 2
    };
    const Row rows[] = {{100, 10, -2, 0},
                        {-100, 0, 2, 0},
                        {10, 70, 0, 2},
                        {0, -70, 0, -2},
                        {0, 0, 0, -2} /* a click: the last turn goes on */};
    for (const Row& row : rows) {
        drag(row.dx, row.dy);
        EXPECT_EQ(scene.turnXZ, row.turnXZ) << row.dx << "," << row.dy;
        EXPECT_EQ(scene.turnYZ, row.turnYZ) << row.dx << "," << row.dy;
    }
    const double before = angleYZ(scene);
    bar->Timer2_Timer();
    EXPECT_EQ(angleYZ(scene), before - 2);
}

TEST_F(PointerTest, WheelZoomsOneStepANotch) {
    struct Row {
        std::vector<int> angles;
        double x; // of point 1, at 3 before
    };
    const Row rows[] = {{{120}, 3.6},      {{-120}, 2.4},
                        {{240}, 4.32},     {{30, 30, 30, 30}, 3.6},
                        {{30, 30, 30}, 3}, {{90, -90, 60}, 3},
                        {{0}, 3},          {{2'000'000'000, 2'147'483'647}, 3 * std::pow(1.2, 20)}};
    for (const Row& row : rows) {
        scene.sceneX[1] = 3;
        for (int angle : row.angles)
            wheel(angle);
        EXPECT_NEAR(scene.sceneX[1], row.x, 1e-9) << row.angles.size() << " " << row.angles[0];
        wheel(row.angles.back() > 0 ? -1 : 1); // a change of direction drops what is left
    }
}

TEST_F(PointerTest, KeysActAsTheTurnPadZoomAndRun) {
    struct Row {
        Qt::Key key;
        double xz, yz, x; // change of angle of point 1 (x-z), point 2 (y-z); x of point 1
    };
    const Row rows[] = {{Qt::Key_Right, 2, 0, 0},  {Qt::Key_Left, -2, 0, 0},
                        {Qt::Key_Up, 0, 2, 0},     {Qt::Key_Down, 0, -2, 0},
                        {Qt::Key_Plus, 0, 0, 3.6}, {Qt::Key_Minus, 0, 0, 2.4},
                        {Qt::Key_A, 0, 0, 0}};
    for (const Row& row : rows) {
        scene.sceneX = {0, 3, 0, -3};
        scene.sceneY = {0, 0, 3, 0};
        scene.sceneZ = {};
        QTest::keyClick(window, row.key);
        EXPECT_EQ(angleXZ(scene), row.xz) << row.key;
        EXPECT_EQ(angleYZ(scene), row.yz) << row.key;
        if (row.x != 0) {
            EXPECT_NEAR(scene.sceneX[1], row.x, 1e-9) << row.key;
        }
    }
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_TRUE(bar->Check3->isChecked());
    EXPECT_TRUE(bar->Timer2.isActive());
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_FALSE(bar->Check3->isChecked());
    EXPECT_TRUE(bar->Timer1.isActive());
}

TEST_F(PointerTest, HandOpensOverThePictureAndClosesWhileDragging) {
    EXPECT_EQ(window->cursor().shape(), Qt::OpenHandCursor);
    EXPECT_EQ(window->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(window->focusWidget(), window);
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(window->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(window->cursor().shape(), Qt::OpenHandCursor);
    // The right button is the window's own.
    QTest::mousePress(window, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseMove(window, QPoint(250, 50));
    QTest::mouseRelease(window, Qt::RightButton, {}, QPoint(250, 50));
    EXPECT_EQ(angleXZ(scene), 0);
    EXPECT_EQ(window->cursor().shape(), Qt::OpenHandCursor);
}

} // namespace
