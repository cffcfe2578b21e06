// The example window: the example object, the disabled mock-up and its pointer lines.
#include "core/engine/objectcompiler.h"
#include "desktop/app/examplewindow.h"
#include "desktop/documents/colourswatch.h"
#include "desktop/ui/updownspinner.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace wirevane;

namespace {

// The line ends within a few pixels of the control's box, in window coordinates.
bool touches(const QPoint& end, const QWidget* control, const QWidget* window) {
    const QRect box(control->mapTo(window, QPoint(0, 0)), control->size());
    return box.adjusted(-4, -4, 4, 4).contains(end);
}

bool joins(const QLine& line, const QWidget* a, const QWidget* b, const QWidget* window) {
    return (touches(line.p1(), a, window) && touches(line.p2(), b, window)) ||
           (touches(line.p1(), b, window) && touches(line.p2(), a, window));
}

} // namespace

TEST(ExampleWindow, HoldsTheTenExampleLines) {
    const QString text = ExampleWindow::exampleText();
    EXPECT_EQ(text.size(), 185);
    const QStringList lines = text.split("\r\n");
    ASSERT_EQ(lines.size(), 11); // ten lines, each ended by CR LF
    EXPECT_EQ(lines[0], "' <- This is an example for a remark.");
    EXPECT_EQ(lines[1], "' Now the points are listed like: x-value/y-value/z-value");
    EXPECT_EQ(lines[2], "1/1/1");
    EXPECT_EQ(lines[3], "-1/-1/-1");
    EXPECT_EQ(lines[4], "1/0/-1");
    EXPECT_EQ(lines[5], "' White line:");
    EXPECT_EQ(lines[6], " ");
    EXPECT_EQ(lines[7], "1-2 'Connects point1 and point2'");
    EXPECT_EQ(lines[8], "2-3");
    EXPECT_EQ(lines[9], "3-1");
    EXPECT_EQ(lines[10], "");

    ExampleWindow window;
    EXPECT_EQ(window.Text1->toPlainText().replace("\n", "\r\n"), text);
}

TEST(ExampleWindow, TheExampleCompilesToThreePointsAndFiveRows) {
    ObjectInput input;
    input.text = ExampleWindow::exampleText().toStdString();
    input.name = "noname.kfm";
    input.axisOrderText = "0";
    Scene scene;
    ASSERT_TRUE(compileObject(scene, &input).completed);
    EXPECT_EQ(scene.pointCount, 3);
    EXPECT_EQ(scene.connectionCount, 5);
    const double points[3][3] = {{1, 1, 1}, {-1, -1, -1}, {1, 0, -1}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(scene.sceneX[i + 1], points[i][0]);
        EXPECT_EQ(scene.sceneY[i + 1], points[i][1]);
        EXPECT_EQ(scene.sceneZ[i + 1], points[i][2]);
    }
    const double rows[3][2] = {{1, 2}, {2, 3}, {3, 1}};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(scene.connections[r + 2][1], rows[r][0]);
        EXPECT_EQ(scene.connections[r + 2][2], rows[r][1]);
    }
    EXPECT_EQ(scene.connections[5][2], 0);
}

TEST(ExampleWindow, ShowsEveryControlButOnlyItsButtonActs) {
    ExampleWindow window;
    window.show();
    EXPECT_EQ(window.objectName(), "Form7");
    EXPECT_EQ(window.windowTitle(), "Example");
    EXPECT_EQ(window.size(), QSize(573, 333)); // 8595 x 4995 twips

    EXPECT_EQ(window.Text2->text(), "noname.kfm");
    EXPECT_EQ(window.Text3->text(), "0");
    EXPECT_EQ(window.Check1->text(), "Cross");
    EXPECT_EQ(window.Label4->text(), "Name :");
    EXPECT_EQ(window.Label6->text(), "Change x,y,z :");
    EXPECT_EQ(window.Label7->text(), "Backcolor :");
    EXPECT_EQ(window.Label5->text(), "Color :");
    EXPECT_EQ(window.Label1->text(), "Crosscolor :");
    EXPECT_EQ(window.Label3->text(), "choose background- color here!");
    EXPECT_EQ(window.Label8->text(), "choose objekt- color here!");
    EXPECT_EQ(window.Label9->text(), "choose the color of the cross here!");
    EXPECT_EQ(window.Label10->text(),
              "Input the data of the object here. First list the points  then leve a white "
              "line and at the end list the connections between the points. (To enter a "
              "remark, use < ' > to enable the line!)");
    EXPECT_EQ(window.Command4->text(), "Unload");

    const QWidget* mockUp[] = {window.Text1,  window.Text2,    window.Text3,    window.UpDown1,
                               window.Check1, window.Command1, window.Command2, window.Command3};
    for (const QWidget* control : mockUp) {
        EXPECT_TRUE(control->isVisible()) << control->objectName().toStdString();
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(window.Command4->isEnabled());

    // Typing and clicking change nothing.
    QTest::keyClicks(window.Text1, "9/9/9");
    QTest::mouseClick(window.Check1, Qt::LeftButton);
    EXPECT_EQ(window.Text1->toPlainText().replace("\n", "\r\n"), ExampleWindow::exampleText());
    EXPECT_FALSE(window.Check1->isChecked());

    // The colour swatches: black background, green object, light grey cross.
    EXPECT_EQ(window.Command2->colour(), 0x000000);
    EXPECT_EQ(window.Command1->colour(), 0x00C000); // green: red in the low byte
    EXPECT_EQ(window.Command3->colour(), 0xE0E0E0);

    QTest::mouseClick(window.Command4, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(ExampleWindow, JoinsTheHelpLabelsToTheFieldsTheyExplain) {
    ExampleWindow window;
    const struct {
        const char* name;
        QLine line;
        const QWidget* from;
        const QWidget* to;
    } lines[] = {
        {"Line2", window.Line2, window.Label7, window.Command2},
        {"Line3", window.Line3, window.Label5, window.Command1},
        {"Line4", window.Line4, window.Label1, window.Command3},
        {"Line1", window.Line1, window.Label3, window.Command2},
        {"Line5", window.Line5, window.Label8, window.Command1},
        {"Line6", window.Line6, window.Label9, window.Command3},
        {"Line7", window.Line7, window.Label10, window.Text1},
    };
    for (const auto& l : lines) {
        EXPECT_TRUE(joins(l.line, l.from, l.to, &window)) << l.name;
        EXPECT_GT(QLineF(l.line).length(), 4) << l.name;
    }
    // The colour help stands in a column at the right, top to bottom in the rows' order.
    EXPECT_EQ(window.Label3->x(), 504);
    EXPECT_EQ(window.Label8->x(), 504);
    EXPECT_EQ(window.Label9->x(), 504);
    EXPECT_LT(window.Label3->geometry().bottom(), window.Label8->y());
    EXPECT_LT(window.Label8->geometry().bottom(), window.Label9->y());
    EXPECT_LE(window.Label9->geometry().bottom(), window.Command4->y());
}
