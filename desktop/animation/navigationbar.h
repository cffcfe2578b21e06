#pragma once

#include "core/engine/animationsession.h"
#include "core/engine/scene.h"
#include "desktop/ui/timers.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wirevane {

class SpokenNote;
class UpDownSpinner;

// "Navigationbar": the small tool window that drives the animation. Every handler passes what
// the user did on to the animation's session, which changes the scene and draws.
class NavigationBar : public QWidget {
    Q_OBJECT

  public:
    explicit NavigationBar(AnimationSession& session, QWidget* parent = nullptr);

    AnimationSession& session() { return session_; }

    // Turn pad: upper, right, lower, left; "Run" in the centre, the credits button over it.
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Check3; // a check box drawn as a toggle button
    QPushButton* Command5;
    QPushButton* Command6;
    QFrame* Frame1;
    // Move rows: X(+), Y(+), Z(+) and X( - ), Y( - ), Z( - ).
    QPushButton* Command12;
    QPushButton* Command13;
    QPushButton* Command14;
    QPushButton* Command15;
    QPushButton* Command16;
    QPushButton* Command17;
    QPushButton* Command9;
    QPushButton* Command10;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check4;
    QPushButton* Command7;
    QPushButton* Command8;
    QPushButton* Command11;
    QLabel* Label1;
    QLineEdit* Text1;
    UpDownSpinner* UpDown1;
    FlooredTimer Timer1; // step mode
    FlooredTimer Timer2; // run mode

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command11_Click();
    void Command9_Click();
    void Command10_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();
    void Command17_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void UpDown1_Change();
    void Timer1_Timer();
    void Timer2_Timer();

    // The face colour of a colour button.
    static void setButtonColour(QPushButton* button, Colour colour);
    static Colour buttonColour(const QPushButton* button);

    // The window's outer height in twips, caption bar and border included.
    int outerHeightTwips() const;

    // The coordinate table's window was closed by itself: "3D-Data" goes off.
    void tableWindowClosed();

  signals:
    void coordinateTableOpened();
    void coordinateTableClosed();
    void creditsRequested();
    // The window is closing: the animation ends.
    void closing();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void makeControls();
    void showExtraSettings(bool shown);
    void chooseColour(QPushButton* button, Colour Scene::*colour);
    void setOuterHeightTwips(int twips);
    // The timers at the intervals the session asks for.
    void followIntervals();
    void tell(const QString& note);

    AnimationSession& session_;
    Scene& scene_;
    SpokenNote* note_ = nullptr; // made on first use
};

} // namespace wirevane
