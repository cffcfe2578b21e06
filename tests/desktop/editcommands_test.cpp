// The edit commands on the focused control, and the command keys against the text box's own.
#include "desktop/documents/editcommands.h"
#include "mainwindow_fixture.h"

#include <QPushButton>
#include <QTest>

using Answer = wirevane::Prompts::Answer;

namespace {

QString boxText(const wirevane::ObjectWindow* window) {
    return window->Text1->toPlainText();
}

} // namespace

TEST_F(FrameTest, CutPutsTheSelectionOnTheClipboardAndLeavesTheWindowUnsaved) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3\r\n4/5/6"));
    select(window->Text1, 4, 7);
    frame.MCut->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("3\r\n4"));
    EXPECT_EQ(boxText(window), QStringLiteral("1/2//5/6"));
    EXPECT_TRUE(window->hasUnsavedChanges());
}

TEST_F(FrameTest, CopySpanningLinesCarriesCrLf) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3\r\n\r\n1-2"));
    select(window->Text1, 0, 10);
    frame.MCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1/2/3\r\n\r\n1-2"));
    EXPECT_FALSE(window->hasUnsavedChanges());
}

TEST_F(FrameTest, SelectAllThenDeleteEmptiesTheText) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3\r\n4/5/6\r\n\r\n1-2"));
    frame.MSelectall->trigger();
    EXPECT_EQ(wirevane::selectedText(window->Text1), QStringLiteral("1/2/3\r\n4/5/6\r\n\r\n1-2"));
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    settle();
    frame.MDelete->trigger();
    EXPECT_TRUE(boxText(window).isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(FrameTest, PasteTurnsForeignLineBreaksIntoLines) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("ab"));
    select(window->Text1, 1, 1);
    for (const QString& pasted : {QStringLiteral("1\n2"), QStringLiteral("3\r\n4")}) {
        QGuiApplication::clipboard()->setText(pasted);
        frame.MPaste_Click();
    }
    EXPECT_EQ(boxText(window), QStringLiteral("a1\n23\n4b"));
    EXPECT_EQ(window->Text1->document()->blockCount(), 3);
    // The caret ends after the pasted text.
    EXPECT_EQ(window->Text1->textCursor().position(), 7);
}

TEST_F(FrameTest, PasteReplacesTheSelection) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3"));
    select(window->Text1, 2, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    settle();
    frame.MPaste->trigger();
    EXPECT_EQ(boxText(window), QStringLiteral("1/9/3"));
}

TEST_F(FrameTest, CommandsWithoutATextSelectionDoNothing) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3"));
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    window->Check1->setFocus();
    frame.MCut_Click();
    frame.MCopy_Click();
    frame.MDelete_Click();
    frame.MPaste_Click();
    frame.MSelectall_Click();
    EXPECT_EQ(boxText(window), QStringLiteral("1/2/3"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    // No window at all.
    frame.frameArea->closeAllSubWindows();
    frame.MCut_Click();
    frame.MPaste_Click();
    frame.MSelectall_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(FrameTest, ReadOnlyFieldIsCopiedButNeverChanged) {
    wirevane::ObjectWindow* window = newWindow();
    window->Text2->setFocus();
    window->Text2->selectAll();
    frame.MCut_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("noname.kfm"));
    QGuiApplication::clipboard()->setText(QStringLiteral("other.kfm"));
    window->Text2->selectAll();
    frame.MPaste_Click();
    frame.MDelete_Click();
    EXPECT_EQ(window->Text2->text(), QStringLiteral("noname.kfm"));
}

TEST_F(FrameTest, SingleLineFieldTakesTheCommands) {
    QLineEdit field(QStringLiteral("abcdef"));
    field.setSelection(1, 3);
    wirevane::cutSelection(&field);
    EXPECT_EQ(field.text(), QStringLiteral("aef"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("bcd"));
    field.setSelection(0, 1);
    wirevane::pasteClipboard(&field);
    EXPECT_EQ(field.text(), QStringLiteral("bcdef"));
    wirevane::selectWholeText(&field);
    EXPECT_EQ(wirevane::selectedText(&field), QStringLiteral("bcdef"));
    EXPECT_EQ(wirevane::selectedText(nullptr), std::nullopt);
}

// The command keys win over the text box while their command applies.
TEST_F(FrameTest, CtrlAStartsTheAnimationFromTheTextBox) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/0/0\r\n0/1/0\r\n\r\n1-2"));
    QTest::keyClick(window->Text1, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(scene.pointCount, 2);
    EXPECT_FALSE(window->Text1->textCursor().hasSelection());
}

TEST_F(FrameTest, CtrlZRunsExitThroughTheCloseQuestion) {
    wirevane::ObjectWindow* window = newWindow();
    QTest::keyClicks(window->Text1, QStringLiteral("1/2/3"));
    prompts.answers = {Answer::Cancel};
    QTest::keyClick(window->Text1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(boxText(window), QStringLiteral("1/2/3"));
}

TEST_F(FrameTest, CopyKeyCarriesCrLfAndPasteKeyNeedsClipboardText) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3\r\n4/5/6"));
    select(window->Text1, 0, 9);
    settle();
    QTest::keyClick(window->Text1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1/2/3\r\n4/5"));

    select(window->Text1, 11, 11);
    QTest::keyClick(window->Text1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(boxText(window), QStringLiteral("1/2/3\n4/5/61/2/3\n4/5"));
}

TEST_F(FrameTest, DelWithoutSelectionDeletesTheNextCharacter) {
    wirevane::ObjectWindow* window = newWindow(QStringLiteral("1/2/3"));
    select(window->Text1, 0, 0);
    settle();
    ASSERT_FALSE(frame.MDelete->isEnabled());
    QTest::keyClick(window->Text1, Qt::Key_Delete);
    EXPECT_EQ(boxText(window), QStringLiteral("/2/3"));

    select(window->Text1, 0, 2);
    QTest::keyClick(window->Text1, Qt::Key_Delete);
    EXPECT_EQ(boxText(window), QStringLiteral("/3"));
}

TEST_F(FrameTest, F2SavesAndF3LoadsFromTheTextBox) {
    wirevane::ObjectWindow* window = newWindow();
    prompts.saveNames = {QString()};
    QTest::keyClick(window->Text1, Qt::Key_F2);
    EXPECT_EQ(prompts.saveDialogs.size(), 1u);
    prompts.openNames = {QString()};
    QTest::keyClick(window->Text1, Qt::Key_F3);
    EXPECT_EQ(prompts.openDialogs.size(), 1u);
}
