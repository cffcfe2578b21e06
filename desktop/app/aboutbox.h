#pragma once

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace wirevane {

// The about box: program name, version and platform on black, with the logo.
class AboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit AboutBox(QWidget* parent = nullptr);

    void Command1_Click();

    QLabel* const Label5;
    // Shadowed texts: element 0 the dark blue shadow, element 1 the front copy.
    std::array<QLabel*, 2> Label1{};
    std::array<QLabel*, 2> Label3{};
    std::array<QLabel*, 2> Label4{};
    QLabel* const Label2;
    QLabel* const Image1;
    QFrame* const Shape2;
    QFrame* const Shape1;
    QPushButton* const Command1;
};

// Shows the about box modally over parent; returns when it has been closed.
void showAboutBox(QWidget* parent);
// Shows the about box modally over parent without waiting for it to close.
AboutBox* openAboutBox(QWidget* parent);

} // namespace wirevane
