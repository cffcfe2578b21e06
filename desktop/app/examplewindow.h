#pragma once

#include <QDialog>
#include <QLine>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace wirevane {

class ColourSwatch;
class UpDownSpinner;

// Teaches the object text: a filled-in object window that cannot be used, with help labels
// joined to the fields they explain. Only Command4 acts; it closes the window.
class ExampleWindow : public QDialog {
    Q_OBJECT

  public:
    explicit ExampleWindow(QWidget* parent = nullptr);

    // The example object, lines ended by CR LF as the object text holds them.
    static QString exampleText();

    void Command4_Click();

    QPlainTextEdit* const Text1;
    QGroupBox* const Frame3;
    QLabel* const Label4;
    QLineEdit* const Text2;
    QLabel* const Label6;
    QLineEdit* const Text3;
    UpDownSpinner* const UpDown1;
    QCheckBox* const Check1;
    QGroupBox* const Frame2;
    QLabel* const Label7;
    ColourSwatch* const Command2;
    QLabel* const Label5;
    ColourSwatch* const Command1;
    QLabel* const Label1;
    ColourSwatch* const Command3;
    QLabel* const Label3;
    QLabel* const Label8;
    QLabel* const Label9;
    QLabel* const Label10;
    QPushButton* const Command4;

    // Pointer lines, in the window's coordinates: Line2 to Line4 join the colour captions to
    // their buttons, Line1, Line5 and Line6 the colour help to the buttons, Line7 the text
    // help to Text1.
    QLine Line1, Line2, Line3, Line4, Line5, Line6, Line7;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void joinLines();
};

// Shows the example window modally over parent; returns when it has been closed.
void showExampleWindow(QWidget* parent);

} // namespace wirevane
