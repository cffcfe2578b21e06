#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QLabel;

namespace wirevane {

class MainWindow;

// Decides, from scratch each time it runs, which edit, file and animation commands of the
// frame apply, and fills the four status bar panels. The frame runs it from every event that
// can change its result and once a second for the clock.
class InterfaceState {
  public:
    static const QString kNoFile; // " No file "
    static const QString kNoName; // " noname.kfm "
    static const QString kNotice; // panel 4
    static constexpr int kPanelCount = 4;
    static constexpr int kDatePanelTwips = 1440;
    // On a frame at most this wide the flush-right logo would crowd the buttons.
    static constexpr int kNarrowFrameTwips = 8790;

    explicit InterfaceState(MainWindow& frame);

    void Timer1_Timer();
    // Reads the clipboard anew; the frame calls it whenever the clipboard changes. Another
    // program's clipboard text crosses a process boundary, so it is not fetched on every run.
    void clipboardChanged();

    // Status bar panel by 1-based index; nullptr while it does not exist.
    QLabel* statusPanel(int index) const;
    int statusPanelCount() const { return static_cast<int>(panels_.size()); }

    QString statusFileText = kNoFile;
    int statusPanelsReady = 0;
    QString shownTime;
    QString shownDate;
    // The current time; tests set a fixed one.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

  private:
    void setCommand(QAction* menuEntry, int buttonIndex, bool enabled);
    void addStatusPanels();
    void placeLogo();

    MainWindow& frame_;
    std::vector<QLabel*> panels_;
    bool clipboardHoldsText_ = false;
};

} // namespace wirevane
