// Which commands apply, and the status bar, as the interface state sets them.
#include "mainwindow_fixture.h"

#include <QImage>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>

using wirevane::InterfaceState;

namespace {

constexpr int kSave = 3, kCut = 5, kCopy = 6, kPaste = 7, kDelete = 8, kAnimation = 10;

} // namespace

TEST_F(FrameTest, WithoutObjectWindowEveryDocumentCommandIsOff) {
    QGuiApplication::clipboard()->setText(QStringLiteral("1/2/3"));
    frame.Timer1_Timer();
    EXPECT_FALSE(enabled(frame.MCut, kCut));
    EXPECT_FALSE(enabled(frame.MCopy, kCopy));
    EXPECT_FALSE(enabled(frame.MDelete, kDelete));
    EXPECT_FALSE(enabled(frame.MPaste, kPaste));
    EXPECT_FALSE(enabled(frame.Manimation, kAnimation));
    EXPECT_FALSE(enabled(frame.MSave, kSave));
    EXPECT_FALSE(frame.MSAveas->isEnabled());
    EXPECT_EQ(panel(1), QStringLiteral("  No file  "));
    EXPECT_EQ(frame.interfaceState().statusFileText, QStringLiteral(" No file "));

    // The commands that always apply stay on.
    for (QAction* always : {frame.MNew, frame.MLoad, frame.MFileExit, frame.MSelectall})
        EXPECT_TRUE(always->isEnabled());
    for (int button : {1, 2, 12, 13, 15})
        EXPECT_TRUE(frame.toolbarButton(button)->isEnabled());
}

TEST_F(FrameTest, NewWindowEnablesSaveAndAnimationAndShowsNoname) {
    newWindow();
    frame.Timer1_Timer();
    EXPECT_TRUE(enabled(frame.Manimation, kAnimation));
    EXPECT_TRUE(enabled(frame.MSave, kSave));
    EXPECT_TRUE(frame.MSAveas->isEnabled());
    EXPECT_FALSE(enabled(frame.MCut, kCut));
    EXPECT_EQ(panel(1), QStringLiteral("  noname.kfm  "));
}

TEST_F(FrameTest, SavedWindowShowsItsPathFramedByOneSpace) {
    wirevane::ObjectWindow* window = newWindow();
    window->Text4->setText(QStringLiteral("/objects/cube.kfm"));
    frame.Timer1_Timer();
    EXPECT_EQ(panel(1), QStringLiteral(" /objects/cube.kfm "));
}

TEST_F(FrameTest, SelectionDecidesCutCopyDeleteWhereverTheFocusIs) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3\r\n4/5/6"));
    select(window->Text1, 2, 9);
    frame.Timer1_Timer();
    EXPECT_TRUE(enabled(frame.MCut, kCut));
    EXPECT_TRUE(enabled(frame.MCopy, kCopy));
    EXPECT_TRUE(enabled(frame.MDelete, kDelete));

    // A control without a text selection turns them off.
    window->Check1->setFocus();
    frame.Timer1_Timer();
    EXPECT_FALSE(enabled(frame.MCut, kCut));
    EXPECT_FALSE(enabled(frame.MDelete, kDelete));

    // So does a focused text box without a selection, also in another window.
    QWidget other;
    auto* field = new QLineEdit(QStringLiteral("abc"), &other);
    other.show();
    QApplication::setActiveWindow(&other);
    field->setFocus();
    field->deselect();
    frame.Timer1_Timer();
    EXPECT_FALSE(enabled(frame.MCopy, kCopy));
    field->selectAll();
    frame.Timer1_Timer();
    EXPECT_TRUE(enabled(frame.MCopy, kCopy));
}

TEST_F(FrameTest, PasteNeedsAnObjectWindowAndTextOnTheClipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("1/2/3"));
    frame.Timer1_Timer();
    EXPECT_FALSE(enabled(frame.MPaste, kPaste));

    newWindow();
    frame.Timer1_Timer();
    EXPECT_TRUE(enabled(frame.MPaste, kPaste));

    clipboard->setText(QString());
    frame.Timer1_Timer();
    EXPECT_FALSE(enabled(frame.MPaste, kPaste));

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard->setImage(picture);
    frame.Timer1_Timer();
    EXPECT_FALSE(enabled(frame.MPaste, kPaste));

    // Closing the last window takes paste away again, with text still on the clipboard.
    clipboard->setText(QStringLiteral("1/2/3"));
    frame.Timer1_Timer();
    ASSERT_TRUE(enabled(frame.MPaste, kPaste));
    frame.frameArea->closeAllSubWindows();
    frame.Timer1_Timer();
    EXPECT_FALSE(enabled(frame.MPaste, kPaste));
}

TEST_F(FrameTest, StatusBarGetsFourPanelsWithTimeDateAndNotice) {
    wirevane::Scene otherScene;
    wirevane::AnimationController otherAnimation(otherScene);
    wirevane::MainWindow fresh(otherScene, otherAnimation);
    InterfaceState& state = fresh.interfaceState();
    EXPECT_EQ(state.statusPanelCount(), 1);
    EXPECT_EQ(state.statusPanelsReady, 0);

    const QDateTime evening(QDate(2024, 3, 9), QTime(23, 59, 59));
    state.clock = [&] { return evening; };
    state.Timer1_Timer();
    ASSERT_EQ(state.statusPanelCount(), 4);
    EXPECT_EQ(state.statusPanelsReady, 1);
    EXPECT_EQ(state.statusPanel(2)->text(), QStringLiteral("23:59:59"));
    EXPECT_EQ(state.statusPanel(3)->text(),
              QLocale::system().toString(QDate(2024, 3, 9), QLocale::ShortFormat));
    const QString notice = state.statusPanel(4)->text();
    EXPECT_TRUE(notice.startsWith(QLatin1Char(' ')) && notice.endsWith(QLatin1Char(' ')));
    EXPECT_TRUE(state.statusPanel(4)->alignment() & Qt::AlignRight);

    // Past midnight both follow; the panels are not built twice.
    state.clock = [] { return QDateTime(QDate(2024, 3, 10), QTime(0, 0, 1)); };
    state.Timer1_Timer();
    EXPECT_EQ(state.statusPanelCount(), 4);
    EXPECT_EQ(state.statusPanel(2)->text(), QStringLiteral("00:00:01"));
    EXPECT_EQ(state.statusPanel(3)->text(),
              QLocale::system().toString(QDate(2024, 3, 10), QLocale::ShortFormat));
    EXPECT_EQ(state.statusPanel(0), nullptr);
    EXPECT_EQ(state.statusPanel(5), nullptr);
}

TEST_F(FrameTest, NoticeTakesTheWidthTheOtherPanelsLeave) {
    frame.Timer1_Timer();
    frame.resize(1200, 600);
    QCoreApplication::processEvents();
    const int narrow = frame.interfaceState().statusPanel(4)->width();
    frame.resize(1400, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.interfaceState().statusPanel(4)->width(), narrow + 200);
    EXPECT_EQ(frame.interfaceState().statusPanel(3)->width(), 96);
}

TEST_F(FrameTest, LogoSitsFlushRightOnAWideFrameAndHidesOnANarrowOne) {
    frame.resize(InterfaceState::kNarrowFrameTwips / 15 + 60, 500);
    frame.Timer1_Timer();
    ASSERT_TRUE(frame.Image2->isVisible());
    const QPoint right = frame.Image2->mapTo(&frame, QPoint(frame.Image2->width(), 0));
    EXPECT_EQ(right.x(), frame.width());

    frame.resize(InterfaceState::kNarrowFrameTwips / 15, 500);
    frame.Timer1_Timer();
    EXPECT_FALSE(frame.Image2->isVisible());
}

// A change shows after one pass of the event loop: no polling interval stands between.
TEST_F(FrameTest, ChangesShowWithoutWaitingForTheClock) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3"));
    frame.Timer1.stop();
    ASSERT_FALSE(frame.MCopy->isEnabled());

    select(window->Text1, 0, 3);
    settle();
    EXPECT_TRUE(frame.MCopy->isEnabled());

    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    settle();
    EXPECT_TRUE(frame.MPaste->isEnabled());

    window->Text4->setText(QStringLiteral("/objects/a.kfm"));
    settle();
    EXPECT_EQ(panel(1), QStringLiteral(" /objects/a.kfm "));

    window->Check1->setFocus();
    settle();
    EXPECT_FALSE(frame.MCopy->isEnabled());

    frame.frameArea->closeAllSubWindows();
    settle();
    EXPECT_FALSE(frame.Manimation->isEnabled());
    EXPECT_EQ(panel(1), QStringLiteral("  No file  "));
}

TEST_F(FrameTest, ClockTickLandsJustAfterTheNextSecond) {
    frame.Timer1_Timer();
    EXPECT_TRUE(frame.Timer1.isActive());
    EXPECT_GE(frame.Timer1.requestedInterval(), 1);
    EXPECT_LE(frame.Timer1.requestedInterval(), 1000 + 2);
}
