// The animation window's picture must be exactly what drawing straight into an image gives,
// although it skips redraws that change nothing and erases only what it drew.
#include "core/engine/renderer.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "surfaces/imagesurface.h"

#include <QLabel>
#include <QRegion>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace wirevane;

class SurfaceMatchTest : public ::testing::Test {
  protected:
    Scene windowScene, referenceScene;
    RendererState windowState, referenceState;
    AnimationWindow window{windowScene};
    ImageSurface reference{553, 375};
    RenderOptions options;

    SurfaceMatchTest() {
        for (Scene* scene : {&windowScene, &referenceScene}) {
            scene->pointCount = 5;
            const double points[6][3] = {{0, 0, 0},  {1, 1, 1},  {-3, 2, 1},
                                         {4, -2, 2}, {0, 5, -3}, {-6, -6, 0}};
            for (int i = 1; i <= 5; ++i) {
                scene->sceneX[i] = points[i][0];
                scene->sceneY[i] = points[i][1];
                scene->sceneZ[i] = points[i][2];
            }
            scene->connectionCount = 6;
            const int rows[6][2] = {{0, 0}, {0, 0}, {1, 2}, {2, 3}, {3, 4}, {4, 5}};
            for (int k = 2; k <= 5; ++k) {
                scene->connections[k][1] = rows[k][0];
                scene->connections[k][2] = rows[k][1];
            }
            scene->connections[6][1] = 5;
            scene->connections[6][2] = 1;
            scene->objectColor = 0x00FFFF;
            scene->crossColor = 0x808080;
            scene->backgroundColor = 0x400000;
            scene->speedSetting = 2;
        }
    }

    void change(const std::function<void(Scene&)>& edit) {
        edit(windowScene);
        edit(referenceScene);
    }
    void draw() {
        window.draw(windowState, options);
        drawScene(referenceScene, referenceState, reference, options);
    }
    void clear() {
        window.surface().clearSurface();
        reference.clearSurface();
    }
    ::testing::AssertionResult samePicture() {
        if (window.surface().image() == reference.image())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the window's picture differs";
    }
};

TEST_F(SurfaceMatchTest, EveryKindOfRedrawGivesThePictureOfADirectDrawing) {
    draw();
    EXPECT_TRUE(samePicture());

    // Step mode: forced redraws of an unchanged picture.
    change([](Scene& s) { s.forceRedraw = 1; });
    for (int i = 0; i < 3; ++i) {
        draw();
        EXPECT_TRUE(samePicture());
    }
    change([](Scene& s) { s.forceRedraw = 0; });

    // Run mode: turning in both planes, lines crossing the axes and one another.
    for (int i = 0; i < 12; ++i) {
        change([i](Scene& s) {
            s.turnXZ = i < 6 ? 7 : 0;
            s.turnYZ = i < 6 ? 0 : -11;
        });
        draw();
        ASSERT_TRUE(samePicture()) << "turn " << i;
    }
    change([](Scene& s) { s.turnXZ = s.turnYZ = 0; });

    // A new object colour drawn over the old picture without clearing, then again.
    change([](Scene& s) {
        s.objectColor = 0x00FF00;
        s.forceRedraw = 1;
    });
    draw();
    EXPECT_TRUE(samePicture());
    draw();
    EXPECT_TRUE(samePicture());

    // The cross switched off: clear, then draw.
    change([](Scene& s) {
        s.showCross = 0;
        s.forceRedraw = 0;
    });
    clear();
    draw();
    EXPECT_TRUE(samePicture());

    // A new back colour, zooming, and a point so far out that the scene must shrink to fit.
    change([](Scene& s) { s.backgroundColor = 0x000040; });
    draw();
    EXPECT_TRUE(samePicture());
    change([](Scene& s) { s.zoomFactor = 1.2; });
    draw();
    EXPECT_TRUE(samePicture());
    change([](Scene& s) {
        s.zoomFactor = 1;
        s.sceneX[3] = 1e6;
    });
    draw();
    EXPECT_TRUE(samePicture());
    EXPECT_EQ(windowScene.zoomFactor, 0.8);

    // A lone point is a dot.
    change([](Scene& s) {
        s.pointCount = 1;
        s.zoomFactor = 1;
        s.forceRedraw = 1;
    });
    clear();
    draw();
    EXPECT_TRUE(samePicture());
}

TEST_F(SurfaceMatchTest, ForcedRedrawsOfAnUnchangedPictureRequestNoRepaint) {
    draw();
    change([](Scene& s) { s.forceRedraw = 1; });
    draw();
    const int repaints = window.surface().repaintRequests();
    for (int i = 0; i < 5; ++i)
        draw();
    EXPECT_EQ(window.surface().repaintRequests(), repaints);

    EXPECT_TRUE(samePicture());
}

TEST_F(SurfaceMatchTest, RepaintsCoverEveryPixelThatChanged) {
    options.showNumbers = false;
    draw();
    for (int i = 0; i < 40; ++i) {
        const QImage before = window.surface().image();
        const int repaints = window.surface().repaintRequests();
        change([i](Scene& s) {
            s.turnXZ = i % 3 == 0 ? 0 : 9;
            s.turnYZ = i % 3 == 0 ? 13 : 0;
            s.forceRedraw = i % 5 == 0 ? 1 : 0;
        });
        draw();
        const QImage& after = window.surface().image();
        if (window.surface().repaintRequests() == repaints) {
            ASSERT_EQ(after, before) << "frame " << i;
            continue;
        }
        const QRegion& repainted = window.surface().lastRepaint();
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (after.pixel(x, y) != before.pixel(x, y)) {
                    ASSERT_TRUE(repainted.contains(QPoint(x, y)))
                        << "frame " << i << " pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(SurfaceMatchTest, LabelsAtPositionsTheWindowCannotTakeStayWhereTheyWere) {
    options.showNumbers = true;
    draw();
    const QPoint before = window.Label1[2]->pos();
    change([](Scene& s) {
        s.sceneY[2] = 1e30;
        s.forceRedraw = 1;
    });
    draw();
    EXPECT_EQ(window.Label1[2]->pos(), before);
    EXPECT_EQ(window.Label1[2]->text(), "2");
}

} // namespace
