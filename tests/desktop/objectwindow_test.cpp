// The object window: its fields, the unsaved-changes test, colours, spinner, resize rules and
// the close question.
#include "desktop/documents/objectwindow.h"
#include "desktop/documents/textlines.h"
#include "desktop/ui/twips.h"
#include "scriptedprompts.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <gtest/gtest.h>

namespace wirevane {
namespace {

using Answer = Prompts::Answer;

// A window in a bare frame, marked saved as New leaves it.
class ObjectWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        frame.resize(1000, 800);
        frame.show();
        window = new ObjectWindow;
        sub = frame.addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(twipsToPixels(ObjectWindow::kOuterWidth),
                    twipsToPixels(ObjectWindow::kOuterHeight));
        sub->show();
        window->markSaved();
    }

    // Closes the sub-window as its close button would; true when it went away.
    bool closeWindow() {
        QPointer<QMdiSubWindow> watched = sub;
        sub->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return watched.isNull();
    }

    ScriptedPrompts prompts;
    QMdiArea frame;
    ObjectWindow* window = nullptr;
    QMdiSubWindow* sub = nullptr;
};

TEST_F(ObjectWindowTest, NewWindowHoldsTheInitialValues) {
    ObjectWindow fresh;
    EXPECT_EQ(fresh.objectName(), "Form2");
    EXPECT_EQ(fresh.windowTitle(), "3D-Objekt");
    EXPECT_EQ(fresh.Text2->text(), "noname.kfm");
    EXPECT_EQ(fresh.Text3->text(), "0");
    EXPECT_EQ(fresh.objectText(), "");
    EXPECT_FALSE(fresh.Check1->isChecked());
    EXPECT_EQ(fresh.Command1->colour(), 0xC0C000);
    EXPECT_EQ(fresh.Command2->colour(), 0);
    EXPECT_EQ(fresh.Command3->colour(), 0xE0E0E0);
    EXPECT_EQ(fresh.UpDown1->value(), 0);
    EXPECT_EQ(fresh.UpDown1->maximum(), 6);
    EXPECT_EQ(fresh.Text4->text(), "");
    // The saved copies start as placeholders, so a window never marked saved is unsaved.
    EXPECT_TRUE(fresh.hasUnsavedChanges());
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Check1",
                             "Check2", "Command1", "Command6", "UpDown1", "Frame2", "Label7"})
        EXPECT_NE(fresh.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_TRUE(fresh.Text2->isReadOnly());
    EXPECT_FALSE(fresh.Text3->isEnabled());
    EXPECT_EQ(fresh.Text1->geometry(), QRect(8, 80, 529, 289));
    EXPECT_EQ(fresh.Command3->mapTo(&fresh, QPoint(0, 0)), QPoint(400, 48));
}

TEST_F(ObjectWindowTest, ChangingAValueAndBackLeavesTheWindowClean) {
    EXPECT_FALSE(window->hasUnsavedChanges());
    window->Text1->setFocus();
    QTest::keyClicks(window->Text1, "1");
    EXPECT_TRUE(window->hasUnsavedChanges());
    QTest::keyClick(window->Text1, Qt::Key_Backspace);
    EXPECT_FALSE(window->hasUnsavedChanges());

    QTest::mouseClick(window->UpDown1->upButton(), Qt::LeftButton);
    EXPECT_EQ(window->Text3->text(), "1");
    EXPECT_TRUE(window->hasUnsavedChanges());
    QTest::mouseClick(window->UpDown1->downButton(), Qt::LeftButton);
    EXPECT_FALSE(window->hasUnsavedChanges());

    window->Check1->click();
    EXPECT_TRUE(window->hasUnsavedChanges());
    window->Check1->click();
    EXPECT_FALSE(window->hasUnsavedChanges());

    window->Command3->setColour(0xE0E0E1);
    EXPECT_TRUE(window->hasUnsavedChanges());
    window->markSaved();
    EXPECT_FALSE(window->hasUnsavedChanges());

    // A line break typed in the box is a CR LF to everything that reads the text.
    QTest::keyClicks(window->Text1, "1/2/3");
    QTest::keyClick(window->Text1, Qt::Key_Return);
    QTest::keyClicks(window->Text1, "4");
    EXPECT_EQ(window->objectText(), "1/2/3\r\n4");
    EXPECT_EQ(window->compilerInput().text, "1/2/3\r\n4");
}

TEST_F(ObjectWindowTest, TextSurvivesTheBoxExactly) {
    QString everyByte; // every character an object file can hold
    for (int b = 0; b < 256; ++b)
        everyByte += QChar(b);
    const QString cases[] = {
        "1/2/3\r\n\r\n1-1",
        "lone\rCR\r\nlone\nLF\n\r\r\n",
        "\r\n",
        "trailing\r\n\r\n",
        QString::fromUtf8("nbsp\xc2\xa0"
                          "and tab\tand \xe2\x82\xac"),
        everyByte,
    };
    for (const QString& text : cases) {
        window->setObjectText(text);
        EXPECT_EQ(window->objectText(), text) << text.toStdString();
        window->markSaved();
        EXPECT_FALSE(window->hasUnsavedChanges());
    }
    // A lone CR is one character of its line, shown as a picture.
    window->setObjectText("a\rb\r\nc");
    EXPECT_EQ(window->Text1->blockCount(), 2);
    EXPECT_EQ(window->Text1->document()->firstBlock().text(), QString("a") + QChar(0x240D) + "b");
}

TEST_F(ObjectWindowTest, CursorPositionsCountLineBreaksAsTwo) {
    window->setObjectText("ab\r\ncd\re");
    EXPECT_EQ(toCrLfPosition(*window->Text1, 2), 2);
    EXPECT_EQ(toCrLfPosition(*window->Text1, 3), 4);
    EXPECT_EQ(toCrLfPosition(*window->Text1, 6), 7);
    EXPECT_EQ(toBoxPosition(*window->Text1, 4), 3);
    EXPECT_EQ(toBoxPosition(*window->Text1, 3), 2); // between CR and LF
    EXPECT_EQ(toBoxPosition(*window->Text1, 8), 7);
    EXPECT_EQ(toBoxPosition(*window->Text1, 99), 7);
}

TEST_F(ObjectWindowTest, SpinnerStepsTheAxisOrderFrom0To6) {
    for (int i = 0; i < 8; ++i)
        window->UpDown1->stepUp();
    EXPECT_EQ(window->Text3->text(), "6");
    window->UpDown1->setValue(3);
    EXPECT_EQ(window->Text3->text(), "3");
    EXPECT_EQ(window->compilerInput().axisOrderText, "3");
}

TEST_F(ObjectWindowTest, ColourButtonsTakeTheChosenColour) {
    prompts.colours = {QColor(1, 2, 3), std::nullopt, QColor(255, 0, 128)};
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(window->Command1->colour(), 0x030201); // red in the low byte
    window->Command2_Click();                        // cancelled: keeps its colour
    EXPECT_EQ(window->Command2->colour(), 0);
    window->Command3_Click();
    EXPECT_EQ(window->Command3->colour(), 0x8000FF);
    // The window's one dialog starts from the colour last chosen in it.
    ASSERT_EQ(prompts.colourDialogs.size(), 3u);
    EXPECT_EQ(prompts.colourDialogs[0], QColor(Qt::black));
    EXPECT_EQ(prompts.colourDialogs[1], QColor(1, 2, 3));
    const ObjectInput input = window->compilerInput();
    EXPECT_EQ(input.objectColor, 0x030201);
    EXPECT_EQ(input.crossColor, 0x8000FF);
    EXPECT_TRUE(window->hasUnsavedChanges());
}

TEST_F(ObjectWindowTest, ResizeHidesTheTextWhenLowAndWidensTheColoursWhenWide) {
    // 153 pixels are 2295 twips: the text box still shows.
    sub->resize(600, 153);
    EXPECT_FALSE(window->Text1->isHidden());
    EXPECT_EQ(window->Text1->height(), twipsToPixels(2295 - 1750));
    EXPECT_EQ(window->Text1->width(), twipsToPixels(9000 - 360));
    sub->resize(600, 152);
    EXPECT_TRUE(window->Text1->isHidden());
    sub->resize(700, 400);
    EXPECT_FALSE(window->Text1->isHidden());
    EXPECT_EQ(window->Text1->width(), twipsToPixels(10500 - 360));
    EXPECT_EQ(window->Text1->height(), twipsToPixels(6000 - 1750));

    // 473 pixels are 7095 twips: the colour frame keeps the width it had.
    const int frameBefore = window->Frame2->width();
    const int swatchBefore = window->Command2->width();
    sub->resize(473, 400);
    EXPECT_EQ(window->Frame2->width(), frameBefore);
    EXPECT_EQ(window->Command2->width(), swatchBefore);
    sub->resize(474, 400); // 7110 twips
    EXPECT_EQ(window->Frame2->width(), twipsToPixels(7110 - 4980));
    for (ColourSwatch* swatch : {window->Command1, window->Command2, window->Command3})
        EXPECT_EQ(swatch->width(), twipsToPixels(7110 - 4980 - 1620));
    sub->resize(300, 400);
    EXPECT_EQ(window->Frame2->width(), twipsToPixels(7110 - 4980));
}

TEST_F(ObjectWindowTest, CleanWindowClosesWithoutAQuestion) {
    EXPECT_TRUE(closeWindow());
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(ObjectWindowTest, CloseQuestionAnswers) {
    window->setObjectText("1/2/3");
    int saves = 0;
    bool failSave = false;
    window->setSaveWindow([&](ObjectWindow&, bool& cancel) {
        ++saves;
        if (failSave)
            cancel = true;
    });

    prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(closeWindow());
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].title, "Save file now?");
    EXPECT_EQ(prompts.questions[0].text, "File not saved, save it now?");
    EXPECT_EQ(window->objectText(), "1/2/3");

    failSave = true;
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(closeWindow());
    EXPECT_EQ(saves, 1);

    failSave = false;
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(saves, 2);
}

TEST_F(ObjectWindowTest, NoInTheCloseQuestionDropsTheChanges) {
    window->Check1->click();
    prompts.answers = {Answer::No};
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(prompts.questions.size(), 1u);
}

TEST_F(ObjectWindowTest, YesWithNowhereToSaveKeepsTheWindow) {
    window->Check1->click();
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(closeWindow());
}

TEST_F(ObjectWindowTest, ClosingTheFrameStopsAtACancelledWindow) {
    window->Check1->click();
    prompts.answers = {Answer::Cancel};
    frame.closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame.subWindowList().size(), 1);
}

} // namespace
} // namespace wirevane
