#pragma once
// A shown frame with its scene and animation controller, for the main-window tests.

#include "core/engine/scene.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/app/interfacestate.h"
#include "desktop/app/mainwindow.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"
#include "scriptedprompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

class FrameTest : public ::testing::Test {
  protected:
    FrameTest() {
        frame.aboutBoxOpener = [this](QWidget*) { ++aboutBoxes; };
        frame.exampleWindowOpener = [this](QWidget*) { ++exampleWindows; };
        frame.creditsScreenOpener = [this](QWidget*) { ++creditsScreens; };
        frame.showNormal();
        frame.resize(1000, 700);
        QApplication::setActiveWindow(&frame);
        QGuiApplication::clipboard()->clear();
        settle();
    }

    // Lets the queued interface update run, as the event loop does between two user actions.
    static void settle() { QCoreApplication::processEvents(); }

    // A new object window with its text box focused, as the New command leaves it.
    wirevane::ObjectWindow* newWindow(const QString& text = QString()) {
        wirevane::ObjectWindow* window = frame.fileCommands().MNew_Click();
        if (!text.isEmpty()) {
            window->setObjectText(text);
            window->markSaved();
        }
        window->Text1->setFocus();
        settle();
        return window;
    }

    // Selects characters [start, end) of the box's text ('\n' counts one), as a user would:
    // the menus follow before the next action.
    static void select(QPlainTextEdit* box, int start, int end) {
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        settle();
    }

    bool enabled(QAction* menuEntry, int button) {
        const bool menu = menuEntry->isEnabled();
        if (button != 0) {
            EXPECT_EQ(frame.toolbarButton(button)->isEnabled(), menu) << button;
        }
        return menu;
    }

    QString panel(int index) {
        QLabel* label = frame.interfaceState().statusPanel(index);
        return label == nullptr ? QStringLiteral("<none>") : label->text();
    }

    ScriptedPrompts prompts;
    wirevane::Scene scene;
    wirevane::AnimationController animation{scene};
    wirevane::MainWindow frame{scene, animation};
    int aboutBoxes = 0;
    int exampleWindows = 0;
    int creditsScreens = 0;
};
