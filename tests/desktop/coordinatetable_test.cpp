// The "3D-Data" table: layout, number texts, changed-cell refresh and its window rules.
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/coordinatetable.h"
#include "desktop/animation/navigationbar.h"
#include "startedanimation.h"
#include "tests/common/germanlocale.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLocale>
#include <QScreen>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

using namespace wirevane;

class CoordinateTableTest : public StartedAnimation {
  protected:
    CoordinateTableTest() {
        ObjectInput input = defaultObjectInput();
        input.name = "points.kfm";
        input.crossState = 1;
        input.text = "1/-1/0.5\r\n-0.12345/0.12345/0\r\n0/0/2\r\n\r\n1-2";
        startAnimation(input);
        bar->Timer1_Timer();  // takes the spinner's speed of 2
        bar->Check2->click(); // opens the table
    }

    CoordinateTable* table() { return controller.coordinateTable(); }
    QStringList row(int r) {
        QStringList texts;
        for (int c = 0; c < table()->gridColumns(); ++c)
            texts << table()->cellText(r, c);
        return texts;
    }
};

TEST_F(CoordinateTableTest, FirstTickLaysTheGridOutAndSizesTheWindow) {
    ASSERT_TRUE(controller.coordinateTableExists());
    CoordinateTable* t = table();
    EXPECT_EQ(t->objectName(), "Form6");
    EXPECT_EQ(t->windowTitle(), "3D-Data");
    EXPECT_TRUE(t->isVisible());
    EXPECT_EQ(t->MSFlexGrid1->objectName(), "MSFlexGrid1");
    EXPECT_EQ(t->Timer1.requestedInterval(), 200);
    EXPECT_EQ(scene.tableInitialized, 0);

    t->Timer1_Timer();
    EXPECT_EQ(scene.tableInitialized, 1);
    EXPECT_EQ(t->gridRows(), 4);
    EXPECT_EQ(t->gridColumns(), 6);
    EXPECT_EQ(row(0), QStringList({"No", "x-value", "y-value", "z-value", "xz\u00B0", "yz\u00B0"}));
    EXPECT_EQ(row(1).mid(0, 4), QStringList({"1", "10", "-10", "5"}));
    EXPECT_EQ(row(2).mid(0, 4), QStringList({"2", "-1.24", "1.23", "0"}));
    EXPECT_NEAR(t->outerHeightTwips(), 1472, 7); // to the nearest pixel
    EXPECT_EQ(t->Index(2, 3), 15);
    // The angle columns follow the renderer, which fills them while "3D-Data" is on.
    EXPECT_EQ(row(3)[4], "90\u00B0");
    EXPECT_EQ(row(3)[5], "90\u00B0");
    bar->Command1_Click(); // turns up by 2 degrees in the y-z plane
    t->Timer1_Timer();
    EXPECT_EQ(row(3)[4], "90\u00B0");
    EXPECT_EQ(row(3)[5], "92\u00B0");
    // The coordinate columns are wider than the angle columns, as the format string says.
    EXPECT_GT(t->MSFlexGrid1->columnWidth(1), t->MSFlexGrid1->columnWidth(4));
}

TEST_F(CoordinateTableTest, LaterTicksRewriteOnlyChangedCells) {
    CoordinateTable* t = table();
    t->Timer1_Timer();
    // Marks in the grid show which cells a tick writes.
    auto mark = [&](int r, int c) { t->MSFlexGrid1->item(r - 1, c)->setText("mark"); };
    for (int c = 0; c <= 5; ++c)
        mark(1, c);

    t->Timer1_Timer(); // nothing changed
    EXPECT_EQ(row(1), QStringList({"mark", "mark", "mark", "mark", "mark", "mark"}));

    // A turn in the x-z plane changes x, z and both angles, never y.
    bar->Command2_Click();
    t->Timer1_Timer();
    const QStringList after = row(1);
    EXPECT_EQ(after[0], "mark");
    EXPECT_NE(after[1], "mark");
    EXPECT_EQ(after[2], "mark");
    EXPECT_NE(after[3], "mark");
    EXPECT_NE(after[4], "mark");
}

TEST_F(CoordinateTableTest, ClosingTheTableClearsDataAndSetsTheTimersToOneMs) {
    table()->Timer1_Timer();
    table()->close();
    EXPECT_FALSE(bar->Check2->isChecked());
    EXPECT_FALSE(controller.coordinateTableExists());
    EXPECT_EQ(bar->Timer1.requestedInterval(), 1);
    EXPECT_EQ(bar->Timer2.requestedInterval(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Ticking "3D-Data" again opens a new table, laid out afresh.
    bar->Check2->click();
    ASSERT_TRUE(controller.coordinateTableExists());
    EXPECT_EQ(scene.tableInitialized, 0);
    EXPECT_EQ(table()->gridRows(), 2); // the design layout until the first tick
    table()->Timer1_Timer();
    EXPECT_EQ(table()->gridRows(), 4);
}

TEST_F(CoordinateTableTest, GridFollowsTheWindowSize) {
    table()->resize(400, 300);
    const QRect grid = table()->MSFlexGrid1->geometry();
    EXPECT_EQ(grid.topLeft(), QPoint(0, 0));
    EXPECT_EQ(grid.width() * 15, table()->outerWidthTwips() - 100);
    EXPECT_EQ(grid.height() * 15, table()->outerHeightTwips() - 350);
    table()->resize(1, 1);
    EXPECT_GE(table()->MSFlexGrid1->height(), 0);
}

TEST_F(CoordinateTableTest, ALongTableIsCutToTheScreenAndScrolls) {
    scene.pointCount = 100;
    table()->Timer1_Timer();
    EXPECT_EQ(table()->gridRows(), 101);
    const int screenHeight = table()->screen()->availableGeometry().height();
    EXPECT_NEAR(table()->outerHeightTwips() / 15.0, screenHeight, 1);
}

TEST_F(CoordinateTableTest, EmptySceneKeepsTheDesignLayout) {
    scene.pointCount = 0;
    table()->Timer1_Timer();
    EXPECT_EQ(scene.tableInitialized, 1);
    EXPECT_EQ(table()->gridRows(), 2);
    EXPECT_EQ(table()->gridColumns(), 2);
}

TEST(TableNumber, WritesNumbersTheSameWayInEveryLocale) {
    tests::GermanNumbers german;
    if (!german.active())
        GTEST_SKIP() << tests::GermanNumbers::kMissing;
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(QLocale().decimalPoint(), ",");
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {10, "10"},      {-1.24, "-1.24"},   {1234567.89, "1234567.89"},
        {-0.0, "0"},     {0.1 + 0.2, "0.3"}, {123456789012345678.0, "1.23456789012346E+17"},
        {1e-7, "1E-07"}, {359, "359"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tableNumber(c.value), QString::fromLatin1(c.text)) << c.text;
    QLocale::setDefault(previous);
}

} // namespace
