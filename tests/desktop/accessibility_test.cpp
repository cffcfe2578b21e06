// What a screen reader and a keyboard reach: names, the picture's description, the table, the
// findings by F8, accessible actions that click, and a way through the program without a mouse.
#include "core/engine/objectcompiler.h"
#include "desktop/animation/coordinatetable.h"
#include "desktop/app/aboutbox.h"
#include "desktop/app/examplewindow.h"
#include "desktop/ui/accessibility.h"
#include "desktop/ui/focusring.h"
#include "mainwindow_fixture.h"
#include "startedanimation.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <functional>

namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// Every control a user can tab to or click, as a screen reader meets it, by its object name.
QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(window) && widget != window)
            continue;
        const bool focusable = (widget->focusPolicy() & Qt::TabFocus) != 0;
        if (!focusable && !qobject_cast<QAbstractButton*>(widget))
            continue;
        if (accessible(widget)->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << widget->metaObject()->className() + QStringLiteral(" ") +
                           widget->objectName();
    }
    return unnamed;
}

wirevane::ObjectInput sample() {
    wirevane::ObjectInput input = wirevane::defaultObjectInput();
    input.text = "1/1/1\r\n-1/-1/-1\r\n1/0/-1\r\n \r\n1-2\r\n2-3\r\n3-1";
    return input;
}

} // namespace

TEST_F(FrameTest, EveryControlAScreenReaderMeetsHasAName) {
    newWindow(QStringLiteral("1/1/1"));
    wirevane::AboutBox about;
    wirevane::ExampleWindow example;
    const wirevane::ObjectInput input = sample();
    ASSERT_TRUE(animation.MAnimation_Click(&input).completed);
    animation.animationWindow()->Timer1_Timer();
    wirevane::NavigationBar* bar = animation.navigationBar();
    bar->Command6_Click(); // the extra settings
    bar->Check2->click();  // the table
    for (QWidget* window :
         std::initializer_list<QWidget*>{&frame, &about, &example, bar, animation.animationWindow(),
                                         animation.coordinateTable()})
        EXPECT_EQ(unnamedControls(window), QStringList()) << window->objectName().toStdString();
    EXPECT_EQ(accessible(bar->Command2)->text(QAccessible::Name), "Turn right");
    EXPECT_EQ(accessible(bar->UpDown1->upButton())->text(QAccessible::Name), "Speed up");
    EXPECT_EQ(bar->Label1->buddy(), bar->Text1);
    EXPECT_EQ(accessible(bar->Command8)->text(QAccessible::Description), "cyan, #00C0C0");
    // Windows are entered as windows and dialogs; the captions stay, the names say the purpose.
    EXPECT_EQ(accessible(animation.animationWindow())->role(), QAccessible::Window);
    EXPECT_EQ(accessible(bar)->role(), QAccessible::Dialog);
    EXPECT_EQ(accessible(animation.coordinateTable())->role(), QAccessible::Dialog);
    EXPECT_EQ(accessible(bar->Frame1)->role(), QAccessible::Separator);
    EXPECT_EQ(accessible(example.Command4)->text(QAccessible::Name), "Close");
    EXPECT_EQ(accessible(frame.Toolbar1)->text(QAccessible::Name), "Toolbar");
    animation.closeNavigationBar();
    deleteClosedWindows();
}

TEST_F(StartedAnimation, TheTableTellsRowsColumnsAndWhereACellStands) {
    startAnimation(sample());
    bar->Timer1_Timer();
    bar->Check2->click();
    wirevane::CoordinateTable* table = controller.coordinateTable();
    table->Timer1_Timer();
    QAccessibleTableInterface* grid = accessible(table->MSFlexGrid1)->tableInterface();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->columnCount(), 6);
    EXPECT_EQ(grid->cellAt(2, 0)->text(QAccessible::Name), "point 3");
    EXPECT_EQ(grid->cellAt(2, 1)->text(QAccessible::Name), "x, 10");
    EXPECT_EQ(grid->cellAt(0, 3)->text(QAccessible::Name), "z, 10");
    const QList<QAccessibleInterface*> headers =
        grid->cellAt(2, 1)->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0]->text(QAccessible::Name), "x");
    // Qt makes header cells afresh for each question and leaves them to the asker.
    QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(headers[0]));
    // Escape closes it, as its close box does: "3D-Data" is cleared.
    QTest::keyClick(table->MSFlexGrid1, Qt::Key_Escape);
    EXPECT_FALSE(controller.coordinateTableExists());
    EXPECT_FALSE(bar->Check2->isChecked());
}

TEST_F(StartedAnimation, ThePicturesDescriptionFollowsTheTurnsAndTheZoom) {
    startAnimation(sample());
    bar->Timer1_Timer();
    wirevane::AnimationWindow* window = controller.animationWindow();
    const QString start = "noname.kfm: 3 points, 3 connections. Turned %1 degrees in the x-z "
                          "plane and %2 degrees in the y-z plane, zoom %3.";
    EXPECT_EQ(accessible(window)->text(QAccessible::Description), start.arg(0).arg(0).arg(1));
    struct Step {
        std::function<void()> act;
        QString description;
    } steps[] = {
        {[&] { bar->Command2_Click(); }, start.arg(2).arg(0).arg(1)},
        {[&] { bar->Command2_Click(); }, start.arg(4).arg(0).arg(1)},
        {[&] { bar->Command3_Click(); }, start.arg(4).arg(-2).arg(1)},
        {[&] { bar->Command9_Click(); }, start.arg(4).arg(-2).arg(1.2)},
    };
    for (const Step& step : steps) {
        step.act();
        bar->Timer1_Timer(); // the picture stands still again
        EXPECT_EQ(accessible(window)->text(QAccessible::Description), step.description);
        // Said as a note that shows, as a screen reader says no changed description.
        const auto* note = window->findChild<wirevane::SpokenNote*>();
        ASSERT_NE(note, nullptr);
        EXPECT_FALSE(note->isHidden());
        EXPECT_EQ(note->text(), step.description);
    }
    // While it runs the description waits up to a second, then follows.
    bar->Command4_Click();
    bar->Check3->click();
    bar->Timer2_Timer();
    EXPECT_EQ(accessible(window)->text(QAccessible::Description), start.arg(4).arg(-2).arg(1.2));
}

// The animation's windows by the keyboard: F6 goes round them, the menu keys open the picture's
// context menu, the table takes the keys when it opens, Escape on the picture ends the animation.
TEST_F(StartedAnimation, TheAnimationsWindowsAnswerTheKeyboard) {
    startAnimation(sample());
    wirevane::AnimationWindow* picture = controller.animationWindow();
    picture->show();
    bar->show();
    bar->Command6_Click();
    const auto* said = bar->findChild<wirevane::SpokenNote*>();
    ASSERT_NE(said, nullptr);
    EXPECT_EQ(said->text(), "More settings shown");
    bar->Check2->click();
    wirevane::CoordinateTable* table = controller.coordinateTable();
    QApplication::processEvents(); // the platform's activation
    EXPECT_EQ(QApplication::activeWindow(), table);
    QApplication::setActiveWindow(picture);
    auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : QApplication::activeWindow(), key, modifiers);
        QApplication::processEvents();
    };
    for (QWidget* next : std::initializer_list<QWidget*>{bar, table, picture}) {
        press(Qt::Key_F6);
        EXPECT_EQ(QApplication::activeWindow(), next) << next->objectName().toStdString();
    }
    press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::activeWindow(), table);
    QApplication::setActiveWindow(picture);
    auto* menu = picture->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(picture, key, modifiers);
        EXPECT_TRUE(menu->isVisible()) << key;
        menu->hide();
    }
    QTest::keyClick(picture, Qt::Key_Escape);
    deleteClosedWindows();
    EXPECT_FALSE(controller.animationWindowExists());
    EXPECT_FALSE(controller.navigationBarExists());
}

// A screen reader's toggle clicks: the handler runs once, as for the mouse; code that sets a
// box still runs none.
TEST_F(StartedAnimation, AccessibleToggleDoesWhatAClickDoes) {
    startAnimation(sample());
    bar->Timer1_Timer();
    bar->Command6_Click();
    struct Case {
        const char* name;
        QAbstractButton* box;
        std::function<bool()> handled;
    } cases[] = {
        {"Cross", bar->Check1, [&] { return scene.showCross == 1; }},
        {"3D-Data", bar->Check2, [&] { return controller.coordinateTableExists(); }},
        {"Run", bar->Check3, [&] { return bar->Timer2.isActive() && !bar->Timer1.isActive(); }},
        {"Number", bar->Check4, [&] { return bar->Check4->isChecked(); }},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.handled()) << c.name;
        QAccessibleActionInterface* actions = accessible(c.box)->actionInterface();
        ASSERT_NE(actions, nullptr) << c.name;
        EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()))
            << c.name;
        actions->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_TRUE(accessible(c.box)->state().checked) << c.name;
        EXPECT_TRUE(c.handled()) << c.name;
    }
    bar->Check2->click(); // closed again by the mouse
    bar->Check2->setChecked(true);
    EXPECT_FALSE(controller.coordinateTableExists());
}

TEST_F(FrameTest, F8WalksTheFindingsAndSaysEach) {
    // The README's box with mistakes: findings on lines 3, 4 and 8.
    const QString box = "' a box with mistakes\r\n1/1/1\r\n1,5/2/3\r\n1/2\r\n\r\n1-2\r\n2-3\r\n3-4";
    wirevane::ObjectWindow* window = newWindow(box);
    wirevane::ObjectTextEdit* text = window->Text1;
    const QString line3 = "x \"1,5\" reads as 1: the number ends at \",\"\npoint 2: x 1, y 2, z 3";
    const QString line4 = "only one \"/\": x and z are set, y keeps an old value\n"
                          "point 3: x 1, y 0, z 2";
    const QString line8 = "there is no point 4: this object has 3 points\n"
                          "3-4: no length, there is no point 4";
    struct Step {
        Qt::KeyboardModifiers modifiers;
        int block; // 0-based
        int column;
        QString said;
    } steps[] = {
        {Qt::NoModifier, 2, 1, line3},    {Qt::NoModifier, 3, 1, line4},
        {Qt::NoModifier, 7, 2, line8},    {Qt::NoModifier, 2, 1, line3}, // around to the first
        {Qt::ShiftModifier, 7, 2, line8}, {Qt::ShiftModifier, 3, 1, line4},
    };
    for (const Step& step : steps) {
        QTest::keyClick(text, Qt::Key_F8, step.modifiers);
        EXPECT_EQ(text->textCursor().blockNumber(), step.block);
        EXPECT_EQ(text->textCursor().positionInBlock(), step.column);
        EXPECT_EQ(accessible(text)->text(QAccessible::Description), step.said);
        // Shown at the caret as a notification, which a screen reader says.
        const auto* note = text->findChild<wirevane::SpokenNote*>();
        ASSERT_NE(note, nullptr);
        EXPECT_TRUE(note->isVisible());
        EXPECT_EQ(accessible(const_cast<wirevane::SpokenNote*>(note))->role(),
                  QAccessible::Notification);
        EXPECT_EQ(accessible(const_cast<wirevane::SpokenNote*>(note))->text(QAccessible::Name),
                  step.said);
    }
    // Ctrl+F8 tells about the caret's line; a connection line gives its length.
    text->moveCursor(QTextCursor::Start);
    for (int i = 0; i < 5; ++i)
        text->moveCursor(QTextCursor::Down);
    QTest::keyClick(text, Qt::Key_F8, Qt::ControlModifier);
    EXPECT_EQ(accessible(text)->text(QAccessible::Description), "1-2: length 2.236");
    // The note was about that line: on the next one it is no longer read out.
    text->moveCursor(QTextCursor::Down);
    EXPECT_FALSE(accessible(text)->text(QAccessible::Description).contains("length"));
    EXPECT_EQ(window->objectText(), box);
    EXPECT_FALSE(window->hasUnsavedChanges());
}

// The focus shows as a ring 2 pixels wide around the control, also when it came by a switch of
// windows rather than by Tab.
TEST_F(FrameTest, AFocusRingSurroundsTheFocusedControl) {
    wirevane::ObjectWindow* window = newWindow();
    window->Check1->setFocus(Qt::ActiveWindowFocusReason);
    const auto* ring = window->findChild<wirevane::FocusRing*>();
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->isVisible());
    EXPECT_TRUE(ring->geometry().contains(window->Check1->geometry().adjusted(-2, -2, 2, 2)));
    window->Text1->setFocus();
    EXPECT_TRUE(ring->geometry().contains(window->Text1->geometry().adjusted(-2, -2, 2, 2)));
}

TEST(DialogKeys, EscapeClosesTheAboutBoxAndTheExampleWindow) {
    wirevane::AboutBox about;
    wirevane::ExampleWindow example;
    for (QDialog* dialog : std::initializer_list<QDialog*>{&about, &example}) {
        dialog->show();
        QApplication::setActiveWindow(dialog);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                        Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible()) << dialog->objectName().toStdString();
    }
}

// From an example file to a turning object and back, by keys alone. Only the window manager's
// switch between top-level windows is stood in for, by activating the window.
TEST_F(FrameTest, KeyboardAloneOpensAnimatesTurnsShowsTheTableAndCloses) {
    prompts.openNames = {QStringLiteral(WIREVANE_SOURCE "/examples/cube.kfm")};
    QTest::keyClick(&frame, Qt::Key_F3);
    wirevane::ObjectWindow* window = frame.fileCommands().activeObjectWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->Text1->hasFocus() || QApplication::focusWidget() == nullptr);
    QTest::keyClick(window->Text1, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(animation.animationWindowExists());
    wirevane::AnimationWindow* picture = animation.animationWindow();
    picture->Timer1_Timer();                   // 100 ms later the bar opens
    animation.navigationBar()->Timer1_Timer(); // and ticks: the speed becomes the turn step
    QApplication::setActiveWindow(picture);
    QTest::keyClick(picture, Qt::Key_Right);
    QTest::keyClick(picture, Qt::Key_Up);
    EXPECT_NE(animation.viewSummary().turnedXZ(), 0);
    EXPECT_NE(animation.viewSummary().turnedYZ(), 0);

    wirevane::NavigationBar* bar = animation.navigationBar();
    QApplication::setActiveWindow(bar);
    auto tabTo = [&](QWidget* control) {
        for (int i = 0; i < 40 && QApplication::focusWidget() != control; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : bar,
                            Qt::Key_Tab);
        return QApplication::focusWidget() == control;
    };
    ASSERT_TRUE(tabTo(bar->Command6));
    QTest::keyClick(bar->Command6, Qt::Key_Space);
    ASSERT_TRUE(tabTo(bar->Check2));
    QTest::keyClick(bar->Check2, Qt::Key_Space);
    ASSERT_TRUE(animation.coordinateTableExists());
    ASSERT_TRUE(tabTo(bar->UpDown1)); // the speed, by the arrow keys
    QTest::keyClick(bar->UpDown1, Qt::Key_Up);
    EXPECT_EQ(bar->Text1->text(), QStringLiteral(" 3\u00B0"));

    wirevane::CoordinateTable* table = animation.coordinateTable();
    QApplication::setActiveWindow(table);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : table,
                    Qt::Key_Escape);
    EXPECT_FALSE(animation.coordinateTableExists());
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : bar,
                    Qt::Key_Escape);
    deleteClosedWindows();
    EXPECT_FALSE(animation.navigationBarExists());
    EXPECT_FALSE(animation.animationWindowExists());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.focusWidget(), window->Text1); // where the user left for the animation

    // The object text types a tab, but lets the focus go after Escape: on to the spinner.
    QApplication::setActiveWindow(&frame);
    window->Text1->setFocus();
    QTest::keyClick(window->Text1, Qt::Key_Escape);
    QTest::keyClick(window->Text1, Qt::Key_Tab);
    EXPECT_TRUE(window->UpDown1->hasFocus());
    EXPECT_FALSE(window->hasUnsavedChanges());
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(frame.isVisible());
}
