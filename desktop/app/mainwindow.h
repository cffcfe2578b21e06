#pragma once

#include "desktop/ui/timers.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QStatusBar;
class QToolBar;

namespace wirevane {

struct Scene;
class AnimationController;
class FileCommands;
class FileDrop;
class InterfaceState;
class MainWindow;
class ObjectWindow;
class RecoveryKeeper;

// What a command needs before it applies; the interface state decides on every run whether it
// holds and switches the menu entry and its toolbar button together.
enum class CommandNeeds { Nothing, Selection, ObjectWindow, TextToPaste };

struct ToolbarButton {
    int position = 0; // 1-based; 0: not on the toolbar
    const char* key = nullptr;
    const char* tooltip = nullptr;
    const char* picture = nullptr; // the name in :/toolbar/
};

// One menu entry or line of the frame. The menus, the toolbar, its dispatch by key, the command
// keys and the enabling rules are all built from the one table of these.
struct FrameCommand {
    QMenu* MainWindow::*menu;
    QAction* MainWindow::*entry;
    const char* name;
    const char* caption = nullptr; // nullptr: a separator line
    const char* shortcut = "";     // portable text, "Ctrl+X"
    void (MainWindow::*handler)() = nullptr;
    CommandNeeds needs = CommandNeeds::Nothing;
    ToolbarButton button = {};
};

// The multiple-document frame: menus, toolbar and status bar around the object windows. It
// only wires its commands to the subsystems that own them.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kToolbarPositions = 15;

    MainWindow(Scene& scene, AnimationController& animation, QWidget* parent = nullptr);
    ~MainWindow() override;

    QMdiArea* frameArea = nullptr; // the client area holding the object windows

    QMenu* MFile = nullptr;
    QAction* MNew = nullptr;
    QAction* line4 = nullptr;
    QAction* MLoad = nullptr;
    QAction* MSave = nullptr;
    QAction* MSAveas = nullptr;
    QAction* line1 = nullptr;
    QAction* MFileExit = nullptr;
    QMenu* MEDIT = nullptr;
    QAction* MCut = nullptr;
    QAction* MCopy = nullptr;
    QAction* MPaste = nullptr;
    QAction* MDelete = nullptr;
    QAction* line2 = nullptr;
    QAction* MSelectall = nullptr;
    QMenu* Mkfm = nullptr;
    QAction* Manimation = nullptr;
    QMenu* MFenster = nullptr;
    QAction* MUeberlappend = nullptr;
    QAction* Muntereinander = nullptr;
    QAction* Mnebeneinander = nullptr;
    QAction* line3 = nullptr;
    QAction* MSmboleanordnen = nullptr;
    QMenu* MFragezeichen = nullptr;
    QAction* MFragezeichenInfo = nullptr;
    QAction* Mexample = nullptr;

    QToolBar* Toolbar1 = nullptr;
    QLabel* Image1 = nullptr; // the logo; a click opens the about box
    QLabel* Image2 = nullptr; // the logo again, kept flush right on a wide frame
    QStatusBar* StatusBar1 = nullptr;
    QLineEdit* Text1 = nullptr; // hidden: the command line the program was started with
    FlooredTimer Timer1;

    // Show the about box, the example window and the credits screen modally; tests put a
    // recorder here.
    std::function<void(QWidget* owner)> aboutBoxOpener;
    std::function<void(QWidget* owner)> exampleWindowOpener;
    std::function<void(QWidget* owner)> creditsScreenOpener;

    // A window that exists once beside the frame (the about box, the splash): closing the
    // frame closes it first.
    void addSingleWindow(QWidget* window) { singleWindows_.emplace_back(window); }

    // Toolbar button by its 1-based position; gaps are separators without a key.
    QAction* toolbarButton(int index) const;
    static QString buttonKey(const QAction* button);
    // Every menu entry and line, in menu order.
    static std::span<const FrameCommand> commands();

    FileCommands& fileCommands() { return *fileCommands_; }
    InterfaceState& interfaceState() { return *interfaceState_; }
    RecoveryKeeper& recovery() { return *recovery_; }
    // The object window of the current child window, or nullptr.
    ObjectWindow* activeObjectWindow() const;
    // The control the edit commands act on: the focused control of the active object window.
    QWidget* activeControl() const;

    // The handlers of the menu entries and toolbar buttons.
    void Toolbar1_ButtonClick(QAction* button);
    void MNew_Click();
    void MLoad_Click();
    void MSave_Click();
    void MSAveas_Click();
    void MFileExit_Click();
    void MCut_Click();
    void MCopy_Click();
    void MPaste_Click();
    void MDelete_Click();
    void MSelectall_Click();
    void MAnimation_Click();
    void MUeberlappend_Click();
    void Muntereinander_Click();
    void Mnebeneinander_Click();
    void MSmboleanordnen_Click();
    void MFragezeichenInfo_Click();
    void Image1_Click();
    void Mexample_Click();
    // The frame's close request: closes the single windows, then asks every object window.
    void MDIForm_queryUnload(bool& cancel);
    void Timer1_Timer();

    // Runs the interface state soon (coalesced); called from every event that can change it.
    void scheduleInterfaceUpdate();
    bool interfaceUpdatePending() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createMenus();
    void createToolbar();
    void createStatusBar();
    void connectInterfaceTriggers();
    void watchFocusedControl(QWidget* control);
    void fillWindowList();
    void startClockTick();
    bool shortcutWins(QKeyEvent* key);

    Scene& scene_;
    AnimationController& animation_;
    std::unique_ptr<FileCommands> fileCommands_;
    std::unique_ptr<FileDrop> fileDrop_; // files dropped on the frame
    std::unique_ptr<InterfaceState> interfaceState_;
    std::unique_ptr<RecoveryKeeper> recovery_; // copies of unsaved objects against a crash
    std::array<QAction*, kToolbarPositions> toolbarButtons_{};
    QList<QAction*> windowListEntries_;
    QTimer* interfaceUpdate_ = nullptr;
    std::vector<QPointer<QWidget>> singleWindows_;
    QPointer<QWidget> watchedControl_;
    QPointer<QWidget> focusBeforeAnimation_;
    QPointer<QWidget> watchedFileField_;
};

} // namespace wirevane
