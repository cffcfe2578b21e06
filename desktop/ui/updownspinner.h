#pragma once

#include <QWidget>

class QToolButton;

namespace wirevane {

// An up-down spinner: two arrow buttons that step a value between a minimum and a maximum,
// without a text of their own (a text box beside them shows the value). It takes the focus as
// one control and steps with the arrow keys, so it needs no mouse.
class UpDownSpinner : public QWidget {
    Q_OBJECT

  public:
    explicit UpDownSpinner(QWidget* parent = nullptr);

    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int singleStep() const { return step_; }
    void setRange(int minimum, int maximum);
    void setSingleStep(int step) { step_ = step; }
    // Emits valueChanged when the value changes.
    void setValue(int value);

    void stepUp() { setValue(value_ + step_); }
    void stepDown() { setValue(value_ - step_); }

    // The spinner's name for a screen reader; its buttons are "<name> up" and "<name> down".
    void setAccessibleNames(const QString& name);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  signals:
    void valueChanged(int value);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void placeButtons();

    QToolButton* up_;
    QToolButton* down_;
    int value_ = 0;
    int minimum_ = 0;
    int maximum_ = 10;
    int step_ = 1;
};

} // namespace wirevane
