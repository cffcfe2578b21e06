#pragma once

#include <QPointer>
#include <QWidget>

namespace wirevane {

// A ring around the control that has the keyboard: 2 pixels of black with a white line inside,
// plain on light and dark faces alike. The style's own is a faint frame that shows only after
// Tab, not after a window was switched to. One ring serves the whole program; it follows the
// focus from window to window and the control as it moves or hides.
class FocusRing : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 2;

    // Makes the one ring, after the application object exists.
    static void install();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FocusRing();
    void follow(QWidget* control);
    void place();

    QPointer<QWidget> control_;
};

} // namespace wirevane
