// The credits screen: star field, word cycle and the click that closes it.
#include "core/credits/starfield.h"
#include "core/engine/recordingsurface.h"
#include "desktop/credits/creditsscreen.h"
#include "pixelcount.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <deque>
#include <gtest/gtest.h>
#include <random>

using namespace wirevane;

namespace {

// Random numbers from a list; the test fails if the list runs dry.
StarField::RandomSource scripted(std::deque<double>& numbers) {
    return [&numbers] {
        if (numbers.empty()) {
            ADD_FAILURE() << "random numbers used up";
            return 0.25;
        }
        const double r = numbers.front();
        numbers.pop_front();
        return r;
    };
}

// The random number that makes Int(span * r) give exactly `whole`.
double randomFor(double whole, double span) {
    return (whole + 0.5) / span;
}

StarField oneStarField() {
    StarField field;
    field.start();
    field.Anzahl = 1;
    return field;
}

int whitePixels(const QImage& image) {
    return countPixels(image, qRgb(255, 255, 255));
}

} // namespace

TEST(StarField, PlacesStarsInsideTheFieldButNeverOnTheVerticalAxis) {
    StarField field;
    field.start();
    std::mt19937 generator(7);
    const auto random = [&generator] { return generator() / 4294967296.0; };
    RecordingSurface surface;
    field.step(surface, random);
    for (int i = 1; i <= 100; ++i) {
        const Star& star = field.stars()[i];
        EXPECT_EQ(star.active, 1) << i;
        EXPECT_GE(star.startX, -2000) << i;
        EXPECT_LE(star.startX, 1999) << i;
        EXPECT_GE(star.startY, -1500) << i;
        EXPECT_LE(star.startY, 1499) << i;
        EXPECT_NE(star.startX, 0) << i;
        EXPECT_EQ(star.startX, std::floor(star.startX)) << i;
        EXPECT_DOUBLE_EQ(star.slope, star.startY / star.startX) << i;
    }
    // Records past Anzahl stay untouched.
    EXPECT_EQ(field.stars()[101].active, 0);
    EXPECT_EQ(field.stars()[0].active, 0);

    // The extremes of the random numbers reach the corners.
    StarField corners = oneStarField();
    std::deque<double> low{0.0, 0.0};
    corners.step(surface, scripted(low));
    EXPECT_EQ(corners.stars()[1].startX, -2000);
    EXPECT_EQ(corners.stars()[1].startY, -1500);
    StarField high = oneStarField();
    std::deque<double> top{std::nextafter(1.0, 0.0), std::nextafter(1.0, 0.0)};
    high.step(surface, scripted(top));
    EXPECT_EQ(high.stars()[1].startX, 1999);
    EXPECT_EQ(high.stars()[1].startY, 1499);
}

TEST(StarField, DrawsAgainWhenTheStartPointLiesOnTheVerticalAxis) {
    StarField field = oneStarField();
    // First draw: x = 0 (vertical axis), drawn again; second draw: (1000, 0).
    std::deque<double> numbers{randomFor(2000, 4000), randomFor(300, 3000), randomFor(3000, 4000),
                               randomFor(1500, 3000)};
    RecordingSurface surface;
    field.step(surface, scripted(numbers));
    EXPECT_TRUE(numbers.empty());
    const Star& star = field.stars()[1];
    EXPECT_EQ(star.startX, 1000);
    EXPECT_EQ(star.startY, 0);
    // On the horizontal axis it flies along the axis.
    for (int i = 0; i < 10; ++i)
        field.step(surface, scripted(numbers));
    EXPECT_GT(star.x, 1000);
    EXPECT_EQ(star.slope * star.x, 0);
}

TEST(StarField, MovesOutwardErasesBeforeDrawingAndSpeedsUp) {
    StarField field = oneStarField();
    // Start point (-1000, 500): slope -0.5, flying left.
    std::deque<double> numbers{randomFor(1000, 4000), randomFor(2000, 3000)};
    RecordingSurface surface(800, 600);
    for (int i = 0; i < 12; ++i)
        field.step(surface, scripted(numbers));
    const Star& star = field.stars()[1];
    // After n steps x has moved by 0.5 * (0 + 1 + ... + n-1).
    EXPECT_DOUBLE_EQ(star.x, -1000 - 0.5 * (11 * 12 / 2));
    EXPECT_DOUBLE_EQ(star.speed, 6);

    const auto& circles = surface.circles();
    ASSERT_EQ(circles.size(), 24u);
    EXPECT_EQ(surface.scale().left, -2000);
    EXPECT_EQ(surface.scale().top, -1500);
    EXPECT_EQ(surface.scale().right, 2000);
    EXPECT_EQ(surface.scale().bottom, 1500);
    for (std::size_t i = 2; i < circles.size(); i += 2) {
        const auto& erase = circles[i];
        const auto& previous = circles[i - 1];
        EXPECT_EQ(erase.colour, 0);
        EXPECT_EQ(circles[i + 1].colour, 0xFFFFFF);
        EXPECT_EQ(erase.x, previous.x);
        EXPECT_EQ(erase.y, previous.y);
        EXPECT_EQ(erase.radius, previous.radius);
    }
    // Drawn at speed 5.5 in the last step: 6 \ 3 = 2.
    EXPECT_EQ(circles.back().radius, 2);
    EXPECT_FLOAT_EQ(circles.back().y, -0.5f * circles.back().x);
}

TEST(StarField, CircleRadiusRoundsHalfToEvenThenDividesWholeNumbers) {
    const struct {
        double speed, radius;
    } cases[] = {{0, 0}, {2.5, 0}, {3.5, 1}, {4.5, 1}, {5, 1}, {5.5, 2}, {8.5, 2}, {9, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(circleRadius(c.speed), c.radius) << c.speed;
}

TEST(StarField, AStarLeavingByMoreThanFiftyUnitsStartsAgainAtANewPoint) {
    const struct {
        const char* edge;
        double startX, startY;
        int lastStepInside; // steps that leave it at or inside the margin
    } cases[] = {
        // x = 1010 + 0.25 n (n - 1): exactly 2050 after 65 steps, past it after 66.
        {"right", 1010, 0, 65},
        {"left", -1010, 0, 65},
        // y = 1499 x: 1499 after one step, 2248.5 after two.
        {"bottom", 1, 1499, 1},
        {"top", 1, -1500, 1},
    };
    for (const auto& c : cases) {
        StarField field = oneStarField();
        std::deque<double> numbers{randomFor(c.startX + 2000, 4000),
                                   randomFor(c.startY + 1500, 3000)};
        RecordingSurface surface;
        for (int i = 0; i < c.lastStepInside; ++i)
            field.step(surface, scripted(numbers));
        const Star& star = field.stars()[1];
        EXPECT_EQ(star.active, 1) << c.edge;
        field.step(surface, scripted(numbers));
        EXPECT_EQ(star.active, 0) << c.edge;
        EXPECT_EQ(star.x, 0) << c.edge;
        EXPECT_EQ(star.speed, 0) << c.edge;

        // Placed anew on the next step; its last circle is erased then.
        const auto lastWhite = surface.circles().back();
        surface.forgetDrawing();
        numbers = {randomFor(500, 4000), randomFor(500, 3000)};
        field.step(surface, scripted(numbers));
        EXPECT_EQ(star.startX, -1500) << c.edge;
        EXPECT_EQ(star.startY, -1000) << c.edge;
        ASSERT_EQ(surface.circles().size(), 2u);
        EXPECT_EQ(surface.circles()[0].colour, 0);
        EXPECT_EQ(surface.circles()[0].x, lastWhite.x) << c.edge;
        EXPECT_EQ(surface.circles()[0].y, lastWhite.y) << c.edge;
    }
}

TEST(CreditsScreen, StartsWithTheStartAndWordTimersAndTheWordHidden) {
    CreditsScreen screen;
    EXPECT_EQ(screen.objectName(), "gagscreen");
    EXPECT_TRUE(screen.Timer1.isActive());
    EXPECT_FALSE(screen.Timer2.isActive());
    EXPECT_TRUE(screen.Timer3.isActive());
    EXPECT_FALSE(screen.Timer4.isActive());
    EXPECT_EQ(screen.Timer1.requestedInterval(), 1000);
    EXPECT_EQ(screen.Timer2.requestedInterval(), 1);
    EXPECT_EQ(screen.Timer3.requestedInterval(), 1000);
    EXPECT_EQ(screen.Timer4.requestedInterval(), 50);
    EXPECT_TRUE(screen.Label1->isHidden());
    EXPECT_TRUE(screen.Label1->text().isEmpty());
    EXPECT_EQ(screen.Label1->font().family(), "Times New Roman");
    EXPECT_EQ(screen.Label1->palette().color(QPalette::WindowText), QColor(255, 255, 0));

    screen.Timer1_Timer();
    EXPECT_FALSE(screen.Timer1.isActive());
    EXPECT_TRUE(screen.Timer2.isActive());
    EXPECT_EQ(screen.starField().Anzahl, 100);
    EXPECT_EQ(screen.starField().Beschl, 0.5);
    EXPECT_EQ(screen.starField().XXX, -2000);
    EXPECT_EQ(screen.starField().XX, 2000);
    EXPECT_EQ(screen.starField().YYY, -1500);
    EXPECT_EQ(screen.starField().YY, 1500);
}

TEST(CreditsScreen, ZoomsEachWordThroughSixSizesThenWaits) {
    CreditsScreen screen;
    screen.resize(800, 600);
    screen.Timer3_Timer();
    screen.Timer3_Timer(); // "The"
    EXPECT_FALSE(screen.Timer3.isActive());
    EXPECT_TRUE(screen.Timer4.isActive());
    EXPECT_EQ(screen.Label1->text(), "The");

    const double sizes[] = {3.8, 7.22, 13.718, 26.0642, 49.52198, 94.091762};
    for (double size : sizes) {
        screen.Timer4_Timer();
        EXPECT_NEAR(screen.Label1->font().pointSizeF(), size, 1e-6);
        EXPECT_FALSE(screen.Label1->isHidden()) << size;
        const QRect word = screen.Label1->geometry();
        EXPECT_LE(std::abs(word.center().x() - 400), 1) << size;
        EXPECT_LE(std::abs(word.center().y() - 300), 1) << size;
    }
    EXPECT_TRUE(screen.Timer4.isActive());
    screen.Timer4_Timer(); // past 100 points
    EXPECT_TRUE(screen.Label1->isHidden());
    EXPECT_EQ(screen.wordSize, 0);
    EXPECT_FALSE(screen.Timer4.isActive());
    EXPECT_TRUE(screen.Timer3.isActive());
    screen.Timer3_Timer();
    screen.Timer4_Timer();
    EXPECT_NEAR(screen.Label1->font().pointSizeF(), 3.8, 1e-6);
}

TEST(CreditsScreen, WordCycleRunsThroughNineteenStepsAndStartsAgainWithTheEmptyStep) {
    CreditsScreen screen;
    const char* fixed[] = {"",    "The",        "Travenor", nullptr, nullptr,
                           "was", "programmed", "by",       nullptr, nullptr,
                           "in",  "august",     "1997",     "",      "Greetings",
                           "to",  nullptr,      "Germany",  "!!!"};
    QStringList shown;
    for (int i = 0; i < 2 * CreditsScreen::kWordSteps + 2; ++i) {
        screen.Timer3_Timer();
        shown << screen.Label1->text();
    }
    for (int step = 1; step <= CreditsScreen::kWordSteps; ++step) {
        const QString word = shown[step - 1];
        if (fixed[step - 1]) {
            EXPECT_EQ(word, fixed[step - 1]) << step;
        } else {
            // Names: one word each.
            EXPECT_FALSE(word.isEmpty()) << step;
            EXPECT_FALSE(word.contains(' ')) << step;
        }
        EXPECT_EQ(shown[step - 1 + CreditsScreen::kWordSteps], word) << step;
    }
    EXPECT_EQ(shown[38], "");
    EXPECT_EQ(shown[39], "The");
    EXPECT_EQ(screen.wordStep, 2);
}

TEST(CreditsScreen, DrawsTheStarsIntoItsPictureAndErasesTheirTrails) {
    CreditsScreen screen;
    screen.resize(800, 600);
    EXPECT_EQ(whitePixels(screen.picture()), 0);
    screen.Timer1_Timer();
    screen.seedRandom(1997);
    screen.Timer2_Timer();
    EXPECT_GT(whitePixels(screen.picture()), 50);
    for (int i = 0; i < 300; ++i)
        screen.Timer2_Timer();
    // A hundred small circles, not three hundred steps of trails.
    EXPECT_LT(whitePixels(screen.picture()), 4000);
}

TEST(CreditsScreen, AClickBesideTheWordClosesItAClickOnTheWordDoesNot) {
    CreditsScreen screen;
    screen.resize(800, 600);
    screen.show();
    screen.Timer3_Timer();
    screen.Timer3_Timer();
    for (int i = 0; i < 5; ++i)
        screen.Timer4_Timer();
    ASSERT_TRUE(screen.Label1->isVisible());
    const QPoint wordCentre = screen.Label1->geometry().center();

    QTest::mouseClick(screen.Label1, Qt::LeftButton, {}, screen.Label1->rect().center());
    EXPECT_TRUE(screen.isVisible());
    QTest::mouseClick(&screen, Qt::LeftButton, {}, wordCentre);
    EXPECT_TRUE(screen.isVisible());

    // Once the word has gone, the same place belongs to the window.
    screen.Timer4_Timer();
    screen.Timer4_Timer();
    ASSERT_TRUE(screen.Label1->isHidden());
    QTest::mouseClick(&screen, Qt::LeftButton, {}, wordCentre);
    EXPECT_FALSE(screen.isVisible());

    screen.show();
    QTest::mouseClick(&screen, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(screen.isVisible());
}

TEST(CreditsScreen, ShowCreditsScreenIsModalAndReturnsWhenClosed) {
    QPointer<QWidget> shown;
    bool modal = false;
    bool fullScreen = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "gagscreen" && window->isVisible()) {
                shown = window;
                modal = window->isModal();
                fullScreen = window->isFullScreen();
                QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(3, 3));
            }
        }
    });
    // Should the click not close it, this does, so that a failure cannot hang the run.
    QTimer::singleShot(5000, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == "gagscreen")
                window->close();
    });
    showCreditsScreen(nullptr);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(fullScreen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
}
