#pragma once
// A fixture for tests that need a running animation: a scene, the controller that owns the
// animation windows, and startAnimation(), which does what the Animation command and the
// animation window's opening step 100 ms later do. The animation ends with the test.
//
//   class MyTest : public StartedAnimation {
//     protected:
//       MyTest() { startAnimation(myObject()); bar->Timer1_Timer(); }
//   };

#include "core/engine/objectcompiler.h"
#include "core/engine/scene.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/navigationbar.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <string>

// Destroys the windows that closed since, as the event loop would.
inline void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// An object as its window hands it to the Animation command, the cross switched on.
inline wirevane::ObjectInput objectInput(const char* name, std::string text,
                                         wirevane::Colour objectColour,
                                         wirevane::Colour backgroundColour,
                                         wirevane::Colour crossColour) {
    wirevane::ObjectInput input = wirevane::defaultObjectInput();
    input.name = name;
    input.text = std::move(text);
    input.objectColor = objectColour;
    input.backgroundColor = backgroundColour;
    input.crossColor = crossColour;
    input.crossState = 1;
    return input;
}

class StartedAnimation : public ::testing::Test {
  protected:
    ~StartedAnimation() override {
        controller.closeNavigationBar();
        deleteClosedWindows();
    }

    // Compiles input into the scene, opens the animation window and shows the navigation bar.
    void startAnimation(const wirevane::ObjectInput& input) {
        ASSERT_TRUE(controller.MAnimation_Click(&input).completed);
        controller.animationWindow()->Timer1_Timer();
        bar = controller.navigationBar();
    }

    wirevane::Scene scene;
    wirevane::AnimationController controller{scene};
    wirevane::NavigationBar* bar = nullptr; // set by startAnimation
};
