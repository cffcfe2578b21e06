// The Animation command, the animation window and the end of the animation, through the
// controller that owns the windows.
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/animation/coordinatetable.h"
#include "desktop/animation/navigationbar.h"
#include "desktop/ui/updownspinner.h"
#include "startedanimation.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using namespace wirevane;

ObjectInput cube() {
    return objectInput("cube.kfm",
                       "-2/-2/-2\r\n2/-2/-2\r\n2/2/-2\r\n-2/2/-2\r\n-2/-2/2\r\n2/-2/2\r\n2/2/2\r\n"
                       "-2/2/2\r\n\r\n1-2\r\n2-3\r\n3-4\r\n4-1\r\n5-6\r\n6-7\r\n7-8\r\n8-5\r\n"
                       "1-5\r\n2-6\r\n3-7\r\n4-8",
                       0x00C0C0, 0x202020, defaultObjectInput().crossColor);
}

class AnimationTest : public StartedAnimation {
  protected:
    QWidget mainWindow; // stands in for the main window
    const ObjectInput input = cube();

    AnimationTest() {
        QObject::connect(&controller, &AnimationController::animationStarting, &mainWindow,
                         &QWidget::hide);
        QObject::connect(&controller, &AnimationController::animationEnded, &mainWindow,
                         &QWidget::show);
        mainWindow.show();
    }

    void startAnimation() { StartedAnimation::startAnimation(input); }
};

TEST_F(AnimationTest, AnimationCommandHidesTheMainWindowAndOpensTheAnimation) {
    QSignalSpy starting(&controller, &AnimationController::animationStarting);
    const CompileResult result = controller.MAnimation_Click(&input);

    EXPECT_TRUE(result.completed);
    EXPECT_EQ(starting.count(), 1);
    EXPECT_FALSE(mainWindow.isVisible());
    ASSERT_TRUE(controller.animationWindowExists());
    AnimationWindow* window = controller.animationWindow();
    EXPECT_EQ(window->objectName(), "Form5");
    EXPECT_EQ(window->windowTitle(), "3D-Animation");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(553, 375));
    EXPECT_EQ(window->surface().image().size(), window->size());
    EXPECT_EQ(window->Timer1.requestedInterval(), 100);
    EXPECT_TRUE(window->Timer1.isActive());

    // The bar exists for the credits button but shows only after the opening step.
    ASSERT_TRUE(controller.navigationBarExists());
    bar = controller.navigationBar();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(bar->Command5->isVisibleTo(bar));
    EXPECT_FALSE(bar->Command5->isEnabled());

    // The first show drew the scene: the cross runs through the centre.
    EXPECT_EQ(window->surface().image().pixel(10, 375 / 2), qRgb(0xE0, 0xE0, 0xE0));
}

TEST_F(AnimationTest, OpeningStepRunsOnceColoursTheBarAndShowsIt) {
    controller.MAnimation_Click(&input);
    scene.modeFlag = 1;
    AnimationWindow* window = controller.animationWindow();
    window->Timer1_Timer();

    EXPECT_FALSE(window->Timer1.isActive());
    EXPECT_EQ(scene.modeFlag, 0);
    bar = controller.navigationBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(NavigationBar::buttonColour(bar->Command7), 0x202020);
    EXPECT_EQ(NavigationBar::buttonColour(bar->Command8), 0x00C0C0);
    EXPECT_EQ(NavigationBar::buttonColour(bar->Command11), 0xE0E0E0);
    // The new back colour shows at once (and clears the picture until the next tick).
    EXPECT_EQ(window->surface().image().pixel(1, 1), qRgb(0x20, 0x20, 0x20));
}

TEST_F(AnimationTest, TheBarBesideAWindowAtTheScreenEdgeStaysOnTheScreen) {
    controller.MAnimation_Click(&input);
    AnimationWindow* window = controller.animationWindow();
    const QRect room = window->screen()->availableGeometry();
    window->move(room.right() - window->frameGeometry().width() + 1, room.top());
    window->Timer1_Timer();
    bar = controller.navigationBar();
    EXPECT_TRUE(room.contains(bar->frameGeometry()));
    EXPECT_FALSE(bar->frameGeometry().intersects(window->frameGeometry()));
}

TEST_F(AnimationTest, CreditsButtonIsOfferedOnlyForTheHiddenObject) {
    ObjectInput hidden;
    hidden.name = "GagScreen.KFM";
    hidden.axisOrderText = "0";
    controller.MAnimation_Click(&hidden);
    bar = controller.navigationBar();
    EXPECT_TRUE(bar->Command5->isVisibleTo(bar));
    EXPECT_TRUE(bar->Command5->isEnabled());

    QSignalSpy credits(&controller, &AnimationController::creditsRequested);
    bar->Command5->click();
    EXPECT_EQ(credits.count(), 1);

    controller.MAnimation_Click(&input);
    EXPECT_FALSE(bar->Command5->isVisibleTo(bar));
}

TEST_F(AnimationTest, FailedCompileOpensNothingAndKeepsTheMainWindow) {
    ObjectInput tooMany = input;
    tooMany.text.clear();
    for (int i = 0; i < 101; ++i)
        tooMany.text += "1/2/3\r\n";
    QSignalSpy starting(&controller, &AnimationController::animationStarting);

    EXPECT_FALSE(controller.MAnimation_Click(&tooMany).completed);
    EXPECT_EQ(starting.count(), 0);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(controller.animationWindowExists());
    // The bar that exists for its credits button stays still; a tick of it would open nothing.
    EXPECT_FALSE(controller.navigationBar()->Timer1.isActive());
    controller.navigationBar()->Timer1_Timer();
    EXPECT_FALSE(controller.animationWindowExists());
}

TEST_F(AnimationTest, WithoutAnObjectWindowTheAnimationOpensEmpty) {
    EXPECT_TRUE(controller.MAnimation_Click(nullptr).completed);
    EXPECT_EQ(scene.pointCount, 0);
    EXPECT_TRUE(controller.animationWindow()->isVisible());
}

TEST_F(AnimationTest, ClosingTheBarEndsTheAnimationAndTheNextStartsAfresh) {
    startAnimation();
    bar->Check2->click(); // "3D-Data" on
    bar->Check3->click(); // run mode
    bar->UpDown1->setValue(9);
    ASSERT_TRUE(controller.coordinateTableExists());
    QSignalSpy ended(&controller, &AnimationController::animationEnded);

    bar->close();

    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(controller.animationWindowExists());
    EXPECT_FALSE(controller.coordinateTableExists());
    EXPECT_FALSE(controller.navigationBarExists());
    deleteClosedWindows();

    startAnimation();
    NavigationBar* fresh = controller.navigationBar();
    EXPECT_NE(fresh, nullptr);
    EXPECT_FALSE(fresh->Check2->isChecked());
    EXPECT_FALSE(fresh->Check3->isChecked());
    EXPECT_TRUE(fresh->Timer1.isActive());
    EXPECT_FALSE(fresh->Timer2.isActive());
    EXPECT_EQ(fresh->UpDown1->value(), 2);
    EXPECT_TRUE(controller.animationWindow()->isVisible());
}

TEST_F(AnimationTest, ClosingTheAnimationWindowEndsTheAnimationToo) {
    startAnimation();
    QSignalSpy ended(&controller, &AnimationController::animationEnded);
    controller.animationWindow()->close();

    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(controller.navigationBarExists());
    EXPECT_FALSE(controller.animationWindowExists());
}

TEST_F(AnimationTest, CloseNavigationBarRunsTheBarsCloseHandlingOnce) {
    startAnimation();
    QSignalSpy ended(&controller, &AnimationController::animationEnded);
    controller.closeNavigationBar();
    controller.closeNavigationBar();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(controller.animationWindowExists());
}

TEST_F(AnimationTest, NumbersFollowThePointsAndAreEmptiedOnceWhenSwitchedOff) {
    startAnimation();
    AnimationWindow* window = controller.animationWindow();
    bar->Check4->setChecked(true);
    bar->Timer1_Timer();

    for (int j = 1; j <= 8; ++j) {
        QLabel* label = window->Label1[j];
        EXPECT_EQ(label->objectName(), QStringLiteral("Label1(%1)").arg(j));
        EXPECT_EQ(label->text(), QString::number(j));
        EXPECT_TRUE(label->isVisibleTo(window));
        const QPoint corner(
            static_cast<int>(std::floor(window->surface().deviceX(scene.screenX[j]))),
            static_cast<int>(std::floor(window->surface().deviceY(scene.screenY[j]))));
        EXPECT_EQ(label->pos(), corner);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0xC0, 0xC0, 0x00));
    }
    EXPECT_EQ(window->Label1[9]->text(), "");

    bar->Check4->setChecked(false);
    bar->Timer1_Timer();
    for (int j = 0; j <= 100; ++j)
        EXPECT_EQ(window->Label1[j]->text(), "") << j;
    EXPECT_FALSE(window->Label1[1]->isVisibleTo(window));
    EXPECT_EQ(controller.rendererState().numbersShown, 0);
}

TEST_F(AnimationTest, StepModeTicksRedrawWithoutRepaintingAnUnchangedPicture) {
    startAnimation();
    AnimationWindowSurface& surface = controller.animationWindow()->surface();
    bar->Timer1_Timer();
    const QImage before = surface.image();
    const int repaints = surface.repaintRequests();

    for (int i = 0; i < 20; ++i)
        bar->Timer1_Timer();

    EXPECT_EQ(surface.repaintRequests(), repaints);
    EXPECT_EQ(surface.image(), before);

    bar->Command2_Click(); // a turn changes the picture
    EXPECT_GT(surface.repaintRequests(), repaints);
    EXPECT_NE(surface.image(), before);
}

TEST_F(AnimationTest, ResizingRebuildsThePictureAtTheNewSize) {
    startAnimation();
    AnimationWindow* window = controller.animationWindow();
    window->resize(300, 600);
    EXPECT_EQ(window->surface().image().size(), QSize(300, 600));
    // Nothing changed, so the window stays cleared until the next tick draws.
    EXPECT_NE(window->surface().image().pixel(5, 300), qRgb(0xE0, 0xE0, 0xE0));
    bar->Timer1_Timer();
    EXPECT_EQ(window->surface().image().pixel(5, 300), qRgb(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(window->surface().image().pixel(150, 5), qRgb(0xE0, 0xE0, 0xE0));
}

TEST_F(AnimationTest, RedrawCreatesAMissingBarHiddenWithBothOptionsOff) {
    AnimationWindow* window = controller.animationWindow();
    ASSERT_FALSE(controller.navigationBarExists());
    scene.pointCount = 2;
    scene.sceneX[1] = 1;
    controller.redraw();
    ASSERT_TRUE(controller.navigationBarExists());
    EXPECT_FALSE(controller.navigationBar()->isVisible());
    EXPECT_FALSE(controller.navigationBar()->Check2->isChecked());
    EXPECT_FALSE(controller.navigationBar()->Check4->isChecked());
    EXPECT_FALSE(window->isVisible());
}

} // namespace
