// The gutter of the object text box: it follows the typing, explains lines in tool tips, and
// leaves everything the object window holds and writes exactly as it was.
#include "desktop/documents/objecttextedit.h"
#include "desktop/documents/textlines.h"
#include "mainwindow_fixture.h"
#include "tests/common/temporaryfolder.h"

#include <QFile>
#include <QHelpEvent>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

namespace {

using wirevane::LineKind;

// The compiler line under the middle of a text row, through the gutter and through the text.
int lineAtRow(wirevane::ObjectTextEdit* box, int block, int row) {
    const QTextBlock textBlock = box->document()->findBlockByNumber(block);
    const QRect cursor = box->cursorRect(QTextCursor(textBlock));
    const int y = cursor.top() + (row * 2 + 1) * cursor.height() / 2;
    const int throughText = box->lineAtViewportPoint(QPoint(cursor.left() + 2, y));
    EXPECT_EQ(box->lineAtGutterY(y), throughText);
    return throughText;
}

QString toolTipOver(QWidget* widget, const QPoint& at) {
    QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST_F(FrameTest, GutterFollowsTheTyping) {
    wirevane::ObjectWindow* window = newWindow();
    wirevane::ObjectTextEdit* box = window->Text1;
    QTest::keyClicks(box, "1/2/3");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "5");
    EXPECT_EQ(box->messagesOfLine(1), "no \"/\": only z is set, x and y keep old values");
    QTest::keyClicks(box, "/1/1");
    EXPECT_EQ(box->messagesOfLine(1), "");
    // Shift+Return breaks the row inside the block; the compiler sees a line of its own.
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(box, "1,5/0/0");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "1-4");
    ASSERT_EQ(box->document()->blockCount(), 4);
    EXPECT_EQ(window->objectText(), "1/2/3\r\n5/1/1\r\n1,5/0/0\r\n\r\n1-4");

    const wirevane::TextAnalysis& analysis = box->analysis();
    ASSERT_EQ(analysis.lines.size(), 5u);
    EXPECT_EQ(analysis.lines[2].kind, LineKind::Point);
    EXPECT_EQ(analysis.lines[2].number, 3);
    EXPECT_EQ(analysis.lines[3].kind, LineKind::Separator);
    EXPECT_EQ(lineAtRow(box, 0, 0), 0);
    EXPECT_EQ(lineAtRow(box, 1, 0), 1);
    EXPECT_EQ(lineAtRow(box, 1, 1), 2);
    EXPECT_EQ(lineAtRow(box, 3, 0), 4);

    // Hovering the line or its sign tells what is wrong with it.
    const QRect row = box->cursorRect(QTextCursor(box->document()->findBlockByNumber(3)));
    const QString message = "there is no point 4: this object has 3 points";
    EXPECT_EQ(box->messagesOfLine(4), message);
    EXPECT_TRUE(toolTipOver(box->viewport(), row.center()).contains(message));
    EXPECT_TRUE(toolTipOver(box->gutter(), QPoint(4, row.center().y())).contains(message));
    const QRect clean = box->cursorRect(QTextCursor(box->document()->firstBlock()));
    EXPECT_EQ(box->messagesOfLine(box->lineAtViewportPoint(clean.center())), "");
}

TEST_F(FrameTest, GutterSitsInsideTheTextBox) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3\r\n\r\n1-1"));
    wirevane::ObjectTextEdit* box = window->Text1;
    const QRect place = box->geometry();
    EXPECT_EQ(box->gutter()->parentWidget(), box);
    EXPECT_EQ(box->gutter()->geometry().right() + 1, box->viewport()->geometry().left());
    EXPECT_GT(box->gutter()->width(), 0);
    EXPECT_EQ(box->gutter()->focusPolicy(), Qt::NoFocus);
    // A thousand points widen the gutter for four digits; the box keeps its place and size.
    const int narrow = box->gutter()->width();
    window->setObjectText(QString("1/1/1\r\n").repeated(1000));
    EXPECT_GT(box->gutter()->width(), narrow);
    EXPECT_EQ(box->geometry(), place);
}

// Typing, copying and saving go exactly as they do without the gutter: the text, the unsaved
// test, the saved copy, the clipboard and the file's bytes.
TEST_F(FrameTest, GutterLeavesTheObjectWindowsValuesAlone) {
    wirevane::ObjectWindow* window = newWindow();
    wirevane::ObjectTextEdit* box = window->Text1;
    EXPECT_FALSE(window->hasUnsavedChanges());
    QTest::keyClicks(box, "'tab\t");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "1,5/2");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "1-9");
    const QString typed = "'tab\t\r\n1,5/2\r\n\r\n1-9";
    ASSERT_FALSE(box->analysis().diagnostics.empty());
    EXPECT_EQ(window->objectText(), typed);
    EXPECT_EQ(box->toPlainText(), "'tab\t\n1,5/2\n\n1-9");
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_EQ(window->Text6->toPlainText(), "");

    frame.MSelectall->trigger();
    frame.MCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), typed);

    const wirevane::tests::TemporaryFolder folder;
    const QString file = folder.filePath("typed.kfm");
    prompts.saveNames = {file};
    frame.fileCommands().MSave_Click();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes.size(), 84216);
    EXPECT_EQ(bytes.mid(73689, 2 + 19), QByteArray("\x13\x00'tab\t\r\n1,5/2\r\n\r\n1-9", 21));
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(wirevane::crLfText(*window->Text6), typed);
}

} // namespace
