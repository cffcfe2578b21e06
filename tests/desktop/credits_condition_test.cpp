// The way to the credits screen: only the empty, black "gagscreen.kfm" object offers the
// navigation bar's "!YES!" button, and the button asks for the credits screen.
#include "core/engine/scene.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/navigationbar.h"
#include "desktop/documents/objectwindow.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace wirevane;

namespace {

// An object window holding the one combination that reveals the button.
void makeCreditsObject(ObjectWindow& window) {
    window.Text2->setText("GagScreen.KFM");
    window.Command1->setColour(0);
    window.Command2->setColour(0);
    window.Command3->setColour(0);
    window.UpDown1->setValue(0);
}

bool buttonOffered(AnimationController& animation) {
    const QPushButton* button = animation.navigationBar()->Command5;
    EXPECT_EQ(button->isEnabled(), !button->isHidden());
    return button->isEnabled() && !button->isHidden();
}

} // namespace

TEST(CreditsCondition, EachOfItsPartsAloneHidesTheButton) {
    Scene scene;
    AnimationController animation(scene);
    const struct {
        const char* change;
        std::function<void(ObjectWindow&)> apply;
    } breakers[] = {
        {"name", [](ObjectWindow& w) { w.Text2->setText("gagscreen.kfm.kfm"); }},
        {"text", [](ObjectWindow& w) { w.setObjectText(" "); }},
        {"object colour", [](ObjectWindow& w) { w.Command1->setColour(0x000001); }},
        {"background colour", [](ObjectWindow& w) { w.Command2->setColour(0x010000); }},
        {"cross colour", [](ObjectWindow& w) { w.Command3->setColour(0x000100); }},
        {"axis order", [](ObjectWindow& w) { w.UpDown1->setValue(1); }},
    };
    for (const auto& b : breakers) {
        // Offered first, so that hiding it again is seen too.
        ObjectWindow window;
        makeCreditsObject(window);
        ObjectInput input = window.compilerInput();
        animation.MAnimation_Click(&input);
        EXPECT_TRUE(buttonOffered(animation)) << b.change;

        b.apply(window);
        input = window.compilerInput();
        animation.MAnimation_Click(&input);
        EXPECT_FALSE(buttonOffered(animation)) << b.change;
        animation.closeNavigationBar();
    }
}

TEST(CreditsCondition, TheOfferedButtonAsksForTheCreditsScreen) {
    Scene scene;
    AnimationController animation(scene);
    ObjectWindow window;
    makeCreditsObject(window);
    window.Text2->setText("gagscreen.kfm");
    const ObjectInput input = window.compilerInput();
    animation.MAnimation_Click(&input);
    ASSERT_TRUE(buttonOffered(animation));
    QSignalSpy requests(&animation, &AnimationController::creditsRequested);
    animation.navigationBar()->Command5->click();
    EXPECT_EQ(requests.count(), 1);
    animation.closeNavigationBar();

    // Without an object window there is nothing to offer it for.
    animation.MAnimation_Click(nullptr);
    EXPECT_FALSE(buttonOffered(animation));
    animation.closeNavigationBar();
}
