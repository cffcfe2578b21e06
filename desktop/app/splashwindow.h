#pragma once

#include "desktop/ui/timers.h"

#include <QWidget>

class QFrame;
class QLabel;

namespace wirevane {

// The borderless window shown while the program starts: a picture, the version and a band
// of progress texts that follow the ticks of its timer. The texts are timed only.
class SplashWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kLastStep = 9;

    explicit SplashWindow(QWidget* parent = nullptr);

    // The progress text shown from a step on, or nullptr when the step shows none.
    static const char* progressText(int step);

    // One tick: the next progress text; at the last one the splash closes and says so.
    void Timer1_Timer();
    // Ends the splash at once: it disappears, says so, and is closed.
    void finishLoading();

    QLabel* const Image1;
    QLabel* const Label3;
    QFrame* const Frame1;
    QFrame* const Shape1;
    QLabel* const Label1;
    QLabel* const Label2;
    FlooredTimer Timer1;

    int loadStep = 0;

  protected:
    // A close from outside before the last tick ends the start early instead of quitting.
    void closeEvent(QCloseEvent* event) override;

  signals:
    // The splash is gone; the program goes on with the main window.
    void loadFinished();

  private:
    bool finished_ = false;
};

} // namespace wirevane
