// The frame: menu tree, toolbar, window arrangement, closing and the Animation command.
#include "mainwindow_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>

using wirevane::MainWindow;
using Answer = wirevane::Prompts::Answer;

namespace {

struct MenuRow {
    const char* name;
    const char* caption; // "-" for a separator
    QKeySequence shortcut;
};

void expectMenu(QMenu* menu, const std::vector<MenuRow>& rows) {
    const QList<QAction*> entries = menu->actions();
    ASSERT_GE(entries.size(), static_cast<qsizetype>(rows.size()))
        << menu->objectName().toStdString();
    for (size_t i = 0; i < rows.size(); ++i) {
        QAction* entry = entries[static_cast<qsizetype>(i)];
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(entry->objectName(), QString::fromLatin1(rows[i].name));
        if (QString::fromLatin1(rows[i].caption) == QLatin1String("-")) {
            EXPECT_TRUE(entry->isSeparator());
        } else {
            EXPECT_EQ(entry->text(), QString::fromLatin1(rows[i].caption));
            EXPECT_EQ(entry->shortcut(), rows[i].shortcut);
        }
    }
}

} // namespace

TEST_F(FrameTest, FrameCarriesCaptionNameAndMaximisedStart) {
    EXPECT_EQ(frame.objectName(), QStringLiteral("Menu"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("travenor Wirevane 3.0"));
    EXPECT_TRUE(frame.Text1->isHidden());

    wirevane::Scene otherScene;
    wirevane::AnimationController otherAnimation(otherScene);
    MainWindow fresh(otherScene, otherAnimation);
    EXPECT_TRUE(fresh.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(fresh.Text1->text(), QStringLiteral("Text1"));
}

TEST_F(FrameTest, MenuTreeHasCaptionsShortcutsAndOrder) {
    const QList<QAction*> bar = frame.menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    const QStringList titles = {"&File", "&Edit", "&3D", "&Window", "&?"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bar[i]->text(), titles[i]);

    expectMenu(frame.MFile, {{"MNew", "&New", {}},
                             {"line4", "-", {}},
                             {"MLoad", "&Load", QKeySequence(Qt::Key_F3)},
                             {"MSave", "&Save", QKeySequence(Qt::Key_F2)},
                             {"MSAveas", "Save &as...", {}},
                             {"line1", "-", {}},
                             {"MFileExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Z)}});
    expectMenu(frame.MEDIT, {{"MCut", "C&ut", QKeySequence(Qt::CTRL | Qt::Key_X)},
                             {"MCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
                             {"MPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
                             {"MDelete", "&Delete", QKeySequence(Qt::Key_Delete)},
                             {"line2", "-", {}},
                             {"MSelectall", "&Select all", {}}});
    expectMenu(frame.Mkfm, {{"Manimation", "&Animation", QKeySequence(Qt::CTRL | Qt::Key_A)}});
    expectMenu(frame.MFenster, {{"MUeberlappend", "&Cascarde", {}},
                                {"Muntereinander", "Tile &horizontal", {}},
                                {"Mnebeneinander", "Tile &vertical", {}},
                                {"line3", "-", {}},
                                {"MSmboleanordnen", "&Arrage icons", {}}});
    expectMenu(frame.MFragezeichen,
               {{"MFragezeichenInfo", "&About", {}}, {"Mexample", "&Example", {}}});
    EXPECT_EQ(frame.MFile->actions().size(), 7);
    EXPECT_EQ(frame.MEDIT->actions().size(), 6);
}

TEST_F(FrameTest, ToolbarHasFifteenPositionsWithKeysTooltipsAndGaps) {
    const struct {
        const char* key;
        const char* tooltip;
    } expected[MainWindow::kToolbarPositions] = {
        {"NewObjekt", "New 3D-Object"},
        {"Load", "Open *.kfm-File"},
        {"Save", "Save Object"},
        {nullptr, nullptr},
        {"Cut", "Cut"},
        {"Copy", "Copy"},
        {"Paste", "Paste"},
        {"Delete", "Delete"},
        {nullptr, nullptr},
        {"Animation", "Animate 3D-Object"},
        {nullptr, nullptr},
        {"MFragezeicheninfo", "About"},
        {"Mexample", "3D-Object Example"},
        {nullptr, nullptr},
        {"Exit", "Exit"},
    };
    for (int index = 1; index <= MainWindow::kToolbarPositions; ++index) {
        SCOPED_TRACE(index);
        QAction* button = frame.toolbarButton(index);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(frame.Toolbar1->actions().at(index - 1), button);
        const auto& row = expected[index - 1];
        if (row.key == nullptr) {
            EXPECT_TRUE(button->isSeparator());
            EXPECT_TRUE(MainWindow::buttonKey(button).isEmpty());
            continue;
        }
        EXPECT_EQ(MainWindow::buttonKey(button), QString::fromLatin1(row.key));
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(row.tooltip));
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(frame.Toolbar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    EXPECT_EQ(frame.toolbarButton(0), nullptr);
    EXPECT_EQ(frame.toolbarButton(16), nullptr);
    EXPECT_EQ(frame.Toolbar1->iconSize(), QSize(32, 32));
}

TEST_F(FrameTest, ToolbarDispatchRunsTheMenuCommandOfEachKey) {
    frame.Toolbar1_ButtonClick(frame.toolbarButton(1));
    EXPECT_EQ(frame.frameArea->subWindowList().size(), 1);

    frame.Toolbar1_ButtonClick(frame.toolbarButton(12));
    EXPECT_EQ(aboutBoxes, 1);
    frame.Toolbar1_ButtonClick(frame.toolbarButton(13));
    EXPECT_EQ(exampleWindows, 1);

    // Gaps and foreign actions do nothing.
    for (int gap : {4, 9, 11, 14})
        frame.Toolbar1_ButtonClick(frame.toolbarButton(gap));
    frame.Toolbar1_ButtonClick(nullptr);
    EXPECT_EQ(frame.frameArea->subWindowList().size(), 1);
    EXPECT_EQ(aboutBoxes, 1);
    EXPECT_TRUE(frame.isVisible());

    // A real click on the toolbar button goes the same way.
    QWidget* newButton = frame.Toolbar1->widgetForAction(frame.toolbarButton(1));
    QTest::mouseClick(newButton, Qt::LeftButton);
    EXPECT_EQ(frame.frameArea->subWindowList().size(), 2);

    frame.Toolbar1_ButtonClick(frame.toolbarButton(15));
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(FrameTest, LogoOpensTheAboutBoxLikeTheMenuEntry) {
    frame.MFragezeichenInfo->trigger();
    EXPECT_EQ(aboutBoxes, 1);
    QTest::mouseClick(frame.Image1, Qt::LeftButton);
    EXPECT_EQ(aboutBoxes, 2);
    frame.Mexample->trigger();
    EXPECT_EQ(exampleWindows, 1);
}

TEST_F(FrameTest, TileHorizontalStacksAndTileVerticalPutsSideBySide) {
    newWindow();
    newWindow();
    const QRect area = frame.frameArea->viewport()->rect();
    const QList<QMdiSubWindow*> windows = frame.frameArea->subWindowList();

    frame.Muntereinander->trigger();
    QRect first = windows[0]->geometry();
    QRect second = windows[1]->geometry();
    EXPECT_EQ(first.width(), area.width());
    EXPECT_EQ(second.width(), area.width());
    EXPECT_EQ(first.x(), second.x());
    EXPECT_EQ(first.height() + second.height(), area.height());
    EXPECT_FALSE(first.intersects(second));
    // The active window (the newest) goes on top.
    EXPECT_LT(second.y(), first.y());

    frame.Mnebeneinander->trigger();
    first = windows[0]->geometry();
    second = windows[1]->geometry();
    EXPECT_EQ(first.height(), area.height());
    EXPECT_EQ(second.height(), area.height());
    EXPECT_EQ(first.y(), second.y());
    EXPECT_EQ(first.width() + second.width(), area.width());
    EXPECT_FALSE(first.intersects(second));
}

TEST_F(FrameTest, TilingManyWindowsMakesAGridThatCoversTheArea) {
    for (int i = 0; i < 5; ++i)
        newWindow();
    const QRect area = frame.frameArea->viewport()->rect();
    for (QAction* command : {frame.Muntereinander, frame.Mnebeneinander}) {
        command->trigger();
        int covered = 0;
        const QList<QMdiSubWindow*> windows = frame.frameArea->subWindowList();
        for (QMdiSubWindow* window : windows) {
            EXPECT_TRUE(area.contains(window->geometry()));
            covered += window->width() * window->height();
            for (QMdiSubWindow* other : windows) {
                if (other != window) {
                    EXPECT_FALSE(window->geometry().intersects(other->geometry()));
                }
            }
        }
        EXPECT_EQ(covered, area.width() * area.height());
    }
}

TEST_F(FrameTest, CascadeStepsEachWindowDownAndRightOfTheOneBefore) {
    for (int i = 0; i < 3; ++i)
        newWindow()->parentWidget()->move(0, 0);
    frame.MUeberlappend->trigger();
    const QList<QMdiSubWindow*> windows = frame.frameArea->subWindowList();
    const QRect area = frame.frameArea->viewport()->rect();
    for (int i = 1; i < windows.size(); ++i) {
        EXPECT_GT(windows[i]->x(), windows[i - 1]->x()) << i;
        EXPECT_GT(windows[i]->y(), windows[i - 1]->y()) << i;
        EXPECT_TRUE(area.contains(windows[i]->geometry())) << i;
    }
}

TEST_F(FrameTest, TilingLeavesTheMinimisedWindowsRowFree) {
    newWindow();
    newWindow();
    newWindow();
    const QList<QMdiSubWindow*> windows = frame.frameArea->subWindowList();
    windows[0]->showMinimized();
    frame.MSmboleanordnen->trigger();
    const QRect icon = windows[0]->geometry();
    const QRect area = frame.frameArea->viewport()->rect();
    for (QAction* command : {frame.Muntereinander, frame.Mnebeneinander}) {
        command->trigger();
        EXPECT_TRUE(windows[0]->isMinimized());
        EXPECT_EQ(windows[0]->geometry(), icon);
        for (QMdiSubWindow* window : {windows[1], windows[2]})
            EXPECT_FALSE(window->geometry().intersects(icon));
        const int tiled = command == frame.Muntereinander
                              ? windows[1]->height() + windows[2]->height()
                              : windows[1]->height();
        EXPECT_EQ(tiled, area.height() - icon.height());
    }
}

TEST_F(FrameTest, ArrangeIconsLinesUpMinimisedWindowsAndMovesNothingElse) {
    newWindow();
    newWindow();
    const QList<QMdiSubWindow*> windows = frame.frameArea->subWindowList();
    windows[1]->move(40, 30);
    const QRect normal = windows[1]->geometry();

    frame.MSmboleanordnen->trigger();
    EXPECT_EQ(windows[1]->geometry(), normal);

    windows[0]->showMinimized();
    windows[0]->move(200, 100);
    frame.MSmboleanordnen->trigger();
    const QRect area = frame.frameArea->viewport()->rect();
    EXPECT_EQ(windows[0]->x(), 0);
    EXPECT_EQ(windows[0]->geometry().bottom(), area.bottom());
    EXPECT_EQ(windows[1]->geometry(), normal);
}

TEST_F(FrameTest, WindowMenuListsTheChildWindowsAndActivatesTheChosenOne) {
    newWindow();
    newWindow();
    const QList<QMdiSubWindow*> windows = frame.frameArea->subWindowList();
    windows[0]->setWindowTitle(QStringLiteral("3D-Objekt - cube & co.kfm"));
    emit frame.MFenster->aboutToShow();

    const QList<QAction*> entries = frame.MFenster->actions();
    ASSERT_EQ(entries.size(), 5 + 1 + 2);
    EXPECT_TRUE(entries[5]->isSeparator());
    EXPECT_EQ(entries[6]->text(), QStringLiteral("&1 3D-Objekt - cube && co.kfm"));
    EXPECT_FALSE(entries[6]->isChecked());
    EXPECT_TRUE(entries[7]->isChecked());

    entries[6]->trigger();
    EXPECT_EQ(frame.frameArea->currentSubWindow(), windows[0]);

    // Shown again, the list is rebuilt rather than appended to.
    windows[1]->close();
    emit frame.MFenster->aboutToShow();
    EXPECT_EQ(frame.MFenster->actions().size(), 5 + 1 + 1);
}

TEST_F(FrameTest, ExitWithoutChangesClosesTheFrame) {
    newWindow();
    frame.MFileExit->trigger();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(FrameTest, CancelInAnyObjectWindowKeepsTheFrameAndTheWindows) {
    wirevane::ObjectWindow* first = newWindow();
    wirevane::ObjectWindow* second = newWindow();
    first->Text1->setPlainText(QStringLiteral("1/2/3"));
    second->Text1->setPlainText(QStringLiteral("4/5/6"));
    prompts.answers = {Answer::No, Answer::Cancel};

    frame.MFileExit->trigger();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(prompts.questions.size(), 2u);
    EXPECT_EQ(frame.frameArea->subWindowList().size(), 2);

    // Asked again, No for both lets the frame go.
    prompts.answers = {Answer::No, Answer::No};
    frame.close();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(prompts.questions.size(), 4u);
}

TEST_F(FrameTest, CloseClosesTheNavigationBarAndSingleWindowsEvenWhenCancelled) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/0/0\r\n0/1/0\r\n\r\n1-2"));
    frame.Manimation->trigger();
    ASSERT_TRUE(animation.navigationBarExists());
    frame.show();

    QWidget aboutBox;
    frame.addSingleWindow(&aboutBox);
    aboutBox.show();
    QWidget splash;
    frame.addSingleWindow(&splash);
    splash.show();

    window->Text1->setPlainText(QStringLiteral("changed"));
    prompts.answers = {Answer::Cancel};
    frame.close();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_FALSE(animation.navigationBarExists());
    EXPECT_FALSE(aboutBox.isVisible());
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(FrameTest, AnimationHidesTheFrameAndClosingTheBarBringsItBack) {
    newWindow(QStringLiteral("1/0/0\r\n0/1/0\r\n0/0/1\r\n\r\n1-2\r\n2-3"));
    frame.Manimation->trigger();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(scene.pointCount, 3);

    animation.closeNavigationBar();
    EXPECT_TRUE(frame.isVisible());
}

TEST_F(FrameTest, AnimationThatStopsOnAFullTableKeepsTheFrame) {
    QString text;
    for (int i = 0; i < 101; ++i)
        text += QStringLiteral("1/1/1\r\n");
    newWindow(text);
    frame.MAnimation_Click();
    EXPECT_TRUE(frame.isVisible());
}

TEST_F(FrameTest, CreditsButtonOpensTheCreditsScreen) {
    emit animation.creditsRequested();
    EXPECT_EQ(creditsScreens, 1);
}
