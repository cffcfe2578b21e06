#include "desktop/app/mainwindow.h"

#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/navigationbar.h"
#include "desktop/app/aboutbox.h"
#include "desktop/app/examplewindow.h"
#include "desktop/app/interfacestate.h"
#include "desktop/app/pictures/pictures.h"
#include "desktop/app/windowarrangement.h"
#include "desktop/credits/creditsscreen.h"
#include "desktop/documents/editcommands.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/filedrop.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/documents/recoverykeeper.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QToolBar>

// The resource of a static library must be registered by name, outside any namespace.
static void registerToolbarPictures() {
    Q_INIT_RESOURCE(toolbaricons);
}

namespace wirevane {

namespace {

const QString kCaption = QStringLiteral("travenor Wirevane 3.0");
constexpr int kButtonPictureSize = 32;
constexpr int kClockMarginMs = 2;
constexpr int kMsPerSecond = 1000;
constexpr int kRestoredMarginPart = 10;

using W = MainWindow;
using Needs = CommandNeeds;

struct MenuTitle {
    QMenu* MainWindow::*menu;
    const char* name;
    const char* caption;
};

constexpr MenuTitle kMenus[] = {
    {&W::MFile, "MFile", "&File"},
    {&W::MEDIT, "MEDIT", "&Edit"},
    {&W::Mkfm, "Mkfm", "&3D"},
    {&W::MFenster, "MFenster", "&Window"},
    {&W::MFragezeichen, "MFragezeichen", "&?"},
};

// Every command once, in menu order: menu, entry, object name, caption, shortcut, handler, what it
// needs to apply, toolbar button. The toolbar positions no command takes are gaps.
constexpr FrameCommand kCommands[] = {
    {&W::MFile, &W::MNew, "MNew", "&New", "", &W::MNew_Click, Needs::Nothing,
     ToolbarButton{1, "NewObjekt", "New 3D-Object", "new"}},
    {&W::MFile, &W::line4, "line4"},
    {&W::MFile, &W::MLoad, "MLoad", "&Load", "F3", &W::MLoad_Click, Needs::Nothing,
     ToolbarButton{2, "Load", "Open *.kfm-File", "load"}},
    {&W::MFile, &W::MSave, "MSave", "&Save", "F2", &W::MSave_Click, Needs::ObjectWindow,
     ToolbarButton{3, "Save", "Save Object", "save"}},
    {&W::MFile, &W::MSAveas, "MSAveas", "Save &as...", "", &W::MSAveas_Click, Needs::ObjectWindow},
    {&W::MFile, &W::line1, "line1"},
    {&W::MFile, &W::MFileExit, "MFileExit", "E&xit", "Ctrl+Z", &W::MFileExit_Click, Needs::Nothing,
     ToolbarButton{15, "Exit", "Exit", "exit"}},

    {&W::MEDIT, &W::MCut, "MCut", "C&ut", "Ctrl+X", &W::MCut_Click, Needs::Selection,
     ToolbarButton{5, "Cut", "Cut", "cut"}},
    {&W::MEDIT, &W::MCopy, "MCopy", "&Copy", "Ctrl+C", &W::MCopy_Click, Needs::Selection,
     ToolbarButton{6, "Copy", "Copy", "copy"}},
    {&W::MEDIT, &W::MPaste, "MPaste", "&Paste", "Ctrl+V", &W::MPaste_Click, Needs::TextToPaste,
     ToolbarButton{7, "Paste", "Paste", "paste"}},
    {&W::MEDIT, &W::MDelete, "MDelete", "&Delete", "Del", &W::MDelete_Click, Needs::Selection,
     ToolbarButton{8, "Delete", "Delete", "delete"}},
    {&W::MEDIT, &W::line2, "line2"},
    {&W::MEDIT, &W::MSelectall, "MSelectall", "&Select all", "", &W::MSelectall_Click},

    {&W::Mkfm, &W::Manimation, "Manimation", "&Animation", "Ctrl+A", &W::MAnimation_Click,
     Needs::ObjectWindow, ToolbarButton{10, "Animation", "Animate 3D-Object", "animation"}},

    {&W::MFenster, &W::MUeberlappend, "MUeberlappend", "&Cascarde", "", &W::MUeberlappend_Click},
    {&W::MFenster, &W::Muntereinander, "Muntereinander", "Tile &horizontal", "",
     &W::Muntereinander_Click},
    {&W::MFenster, &W::Mnebeneinander, "Mnebeneinander", "Tile &vertical", "",
     &W::Mnebeneinander_Click},
    {&W::MFenster, &W::line3, "line3"},
    {&W::MFenster, &W::MSmboleanordnen, "MSmboleanordnen", "&Arrage icons", "",
     &W::MSmboleanordnen_Click},

    {&W::MFragezeichen, &W::MFragezeichenInfo, "MFragezeichenInfo", "&About", "",
     &W::MFragezeichenInfo_Click, Needs::Nothing,
     ToolbarButton{12, "MFragezeicheninfo", "About", "about"}},
    {&W::MFragezeichen, &W::Mexample, "Mexample", "&Example", "", &W::Mexample_Click,
     Needs::Nothing, ToolbarButton{13, "Mexample", "3D-Object Example", "example"}},
};

const char* const kKeyProperty = "key";

// The command whose button takes this toolbar position, or nullptr for a gap.
const FrameCommand* commandAtPosition(int position) {
    for (const FrameCommand& command : kCommands) {
        if (command.button.position == position)
            return &command;
    }
    return nullptr;
}

} // namespace

MainWindow::MainWindow(Scene& scene, AnimationController& animation, QWidget* parent)
    : QMainWindow(parent), scene_(scene), animation_(animation) {
    registerToolbarPictures();
    setObjectName(QStringLiteral("Menu"));
    setWindowTitle(kCaption);
    // Restored from its maximised start, the frame keeps a margin of the screen around it.
    const QRect screenArea = screen()->availableGeometry();
    setGeometry(screenArea.marginsRemoved(QMargins(
        screenArea.width() / kRestoredMarginPart, screenArea.height() / kRestoredMarginPart,
        screenArea.width() / kRestoredMarginPart, screenArea.height() / kRestoredMarginPart)));
    setWindowState(Qt::WindowMaximized);

    frameArea = new QMdiArea(this);
    frameArea->setObjectName(QStringLiteral("frameArea"));
    setCentralWidget(frameArea);

    Text1 = new QLineEdit(QStringLiteral("Text1"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();

    aboutBoxOpener = [this](QWidget* owner) {
        AboutBox box(owner);
        addSingleWindow(&box);
        box.exec();
    };
    exampleWindowOpener = showExampleWindow;
    creditsScreenOpener = showCreditsScreen;

    fileCommands_ = std::make_unique<FileCommands>(*frameArea, scene_);
    fileDrop_ = std::make_unique<FileDrop>(*this, *fileCommands_);
    recovery_ = std::make_unique<RecoveryKeeper>(*fileCommands_, RecoveryKeeper::defaultFolder());

    createMenus();
    createToolbar();
    createStatusBar();
    interfaceState_ = std::make_unique<InterfaceState>(*this);

    connect(&animation_, &AnimationController::animationStarting, this, [this] {
        focusBeforeAnimation_ = focusWidget();
        hide();
    });
    // Back where the user left for the animation, as a window that shows again would otherwise
    // focus its first control.
    connect(&animation_, &AnimationController::animationEnded, this, [this] {
        show();
        activateWindow();
        QWidget* back = focusBeforeAnimation_;
        if (back == nullptr || !back->isVisible())
            if (ObjectWindow* window = fileCommands_->activeObjectWindow())
                back = window->Text1;
        if (back != nullptr)
            back->setFocus(Qt::ActiveWindowFocusReason);
    });
    // The credits open over the navigation bar, whose button asked for them.
    connect(&animation_, &AnimationController::creditsRequested, this, [this] {
        creditsScreenOpener(animation_.navigationBarExists()
                                ? static_cast<QWidget*>(animation_.navigationBar())
                                : this);
    });

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    connectInterfaceTriggers();
    startClockTick();
    scheduleInterfaceUpdate();
}

MainWindow::~MainWindow() {
    // Closing the children as the frame goes must not reach handlers of a half-destroyed frame.
    qApp->removeEventFilter(this);
    qApp->disconnect(this);
    QGuiApplication::clipboard()->disconnect(this);
    frameArea->disconnect(this);
    animation_.disconnect(this);
    if (watchedControl_)
        watchedControl_->disconnect(this);
    if (watchedFileField_)
        watchedFileField_->disconnect(this);
}

std::span<const FrameCommand> MainWindow::commands() {
    return kCommands;
}

void MainWindow::createMenus() {
    for (const MenuTitle& title : kMenus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title.caption));
        menu->setObjectName(QString::fromLatin1(title.name));
        this->*title.menu = menu;
    }
    for (const FrameCommand& command : kCommands) {
        QMenu* menu = this->*command.menu;
        QAction* entry = command.caption == nullptr
                             ? menu->addSeparator()
                             : menu->addAction(QString::fromUtf8(command.caption));
        entry->setObjectName(QString::fromLatin1(command.name));
        this->*command.entry = entry;
        if (command.handler != nullptr) {
            entry->setShortcut(QKeySequence::fromString(QString::fromLatin1(command.shortcut),
                                                        QKeySequence::PortableText));
            connect(entry, &QAction::triggered, this, command.handler);
        }
    }
    connect(MFenster, &QMenu::aboutToShow, this, &MainWindow::fillWindowList);
}

void MainWindow::createToolbar() {
    // Its title shows nowhere; a screen reader says it.
    Toolbar1 = addToolBar(QStringLiteral("Toolbar"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    Toolbar1->setIconSize(QSize(kButtonPictureSize, kButtonPictureSize));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);

    for (int position = 1; position <= kToolbarPositions; ++position) {
        const FrameCommand* command = commandAtPosition(position);
        QAction* button = nullptr;
        if (command == nullptr) {
            button = Toolbar1->addSeparator();
        } else {
            const ToolbarButton& look = command->button;
            const QString tooltip = QString::fromUtf8(look.tooltip);
            const QString picture =
                QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(look.picture));
            button = Toolbar1->addAction(QIcon(picture), tooltip);
            button->setToolTip(tooltip);
            button->setObjectName(QString::fromLatin1(look.key));
            button->setProperty(kKeyProperty, QString::fromLatin1(look.key));
        }
        toolbarButtons_[static_cast<size_t>(position - 1)] = button;
    }
    connect(Toolbar1, &QToolBar::actionTriggered, this, &MainWindow::Toolbar1_ButtonClick);

    const QPixmap logo = logoPicture();
    Image1 = new QLabel(Toolbar1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(logo);
    Image1->setToolTip(QStringLiteral("About"));
    Image1->setAccessibleName(QStringLiteral("Wirevane logo"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setContentsMargins(kButtonPictureSize / 4, 0, 0, 0);
    Image1->installEventFilter(this);
    Toolbar1->addWidget(Image1);

    // Not in the toolbar's row: the interface state keeps it flush right or hides it.
    Image2 = new QLabel(Toolbar1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(logo);
    Image2->setAccessibleName(QStringLiteral("Wirevane logo"));
    Image2->adjustSize();
    // Just past the narrowest width that shows it, it slides under the row's own logo.
    Image2->lower();
    Image2->hide();
}

void MainWindow::createStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
}

QAction* MainWindow::toolbarButton(int index) const {
    if (index < 1 || index > kToolbarPositions)
        return nullptr;
    return toolbarButtons_[static_cast<size_t>(index - 1)];
}

QString MainWindow::buttonKey(const QAction* button) {
    return button == nullptr ? QString() : button->property(kKeyProperty).toString();
}

ObjectWindow* MainWindow::activeObjectWindow() const {
    return fileCommands_->activeObjectWindow();
}

QWidget* MainWindow::activeControl() const {
    ObjectWindow* window = activeObjectWindow();
    return window == nullptr ? nullptr : window->focusWidget();
}

void MainWindow::Toolbar1_ButtonClick(QAction* button) {
    const QString key = buttonKey(button);
    for (const FrameCommand& command : kCommands) {
        if (command.button.key != nullptr && key == QLatin1String(command.button.key))
            (this->*command.handler)();
    }
}

void MainWindow::MNew_Click() {
    fileCommands_->MNew_Click();
}

void MainWindow::MLoad_Click() {
    fileCommands_->MLoad_Click();
}

void MainWindow::MSave_Click() {
    fileCommands_->MSave_Click();
}

void MainWindow::MSAveas_Click() {
    fileCommands_->MSAveas_Click();
}

void MainWindow::MFileExit_Click() {
    close();
}

void MainWindow::MCut_Click() {
    cutSelection(activeControl());
}

void MainWindow::MCopy_Click() {
    copySelection(activeControl());
}

void MainWindow::MPaste_Click() {
    pasteClipboard(activeControl());
}

void MainWindow::MDelete_Click() {
    deleteSelection(activeControl());
}

void MainWindow::MSelectall_Click() {
    selectWholeText(activeControl());
}

void MainWindow::MAnimation_Click() {
    ObjectWindow* window = activeObjectWindow();
    if (window == nullptr) {
        animation_.MAnimation_Click(nullptr);
        return;
    }
    const ObjectInput input = window->compilerInput();
    animation_.MAnimation_Click(&input);
}

void MainWindow::MUeberlappend_Click() {
    arrangeChildWindows(*frameArea, Arrangement::Cascade);
}

void MainWindow::Muntereinander_Click() {
    arrangeChildWindows(*frameArea, Arrangement::TileHorizontal);
}

void MainWindow::Mnebeneinander_Click() {
    arrangeChildWindows(*frameArea, Arrangement::TileVertical);
}

void MainWindow::MSmboleanordnen_Click() {
    arrangeChildWindows(*frameArea, Arrangement::ArrangeIcons);
}

void MainWindow::MFragezeichenInfo_Click() {
    aboutBoxOpener(this);
}

void MainWindow::Image1_Click() {
    aboutBoxOpener(this);
}

void MainWindow::Mexample_Click() {
    exampleWindowOpener(this);
}

void MainWindow::fillWindowList() {
    for (QAction* entry : windowListEntries_) {
        MFenster->removeAction(entry);
        delete entry;
    }
    windowListEntries_.clear();

    const QList<QMdiSubWindow*> windows = frameArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    windowListEntries_.push_back(MFenster->addSeparator());
    QMdiSubWindow* current = frameArea->currentSubWindow();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        ++number;
        // Only the first nine get an accelerator digit.
        const QString prefix =
            number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("%1 ").arg(number);
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = MFenster->addAction(prefix + title);
        entry->setCheckable(true);
        entry->setChecked(window == current);
        QPointer<QMdiSubWindow> target(window);
        connect(entry, &QAction::triggered, this, [this, target] {
            if (target)
                frameArea->setActiveSubWindow(target);
        });
        windowListEntries_.push_back(entry);
    }
}

void MainWindow::MDIForm_queryUnload(bool& cancel) {
    // The windows that exist once go first and never stop the close.
    if (animation_.navigationBarExists())
        animation_.closeNavigationBar();
    std::erase_if(singleWindows_, [](const QPointer<QWidget>& window) { return window.isNull(); });
    for (QWidget* window : singleWindows_) {
        if (window->isVisible())
            window->close();
    }
    // Then every object window is asked; one Cancel keeps the frame and the windows after it.
    for (QMdiSubWindow* child : frameArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* window = qobject_cast<ObjectWindow*>(child->widget());
        if (window == nullptr)
            continue;
        bool childCancel = false;
        window->Form_queryUnload(childCancel);
        if (childCancel) {
            cancel = true;
            return;
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    MDIForm_queryUnload(cancel);
    if (cancel) {
        event->ignore();
        scheduleInterfaceUpdate();
        return;
    }
    // Every object window has answered: they go with the frame without being asked again.
    qApp->removeEventFilter(this);
    event->accept();
}

void MainWindow::Timer1_Timer() {
    if (interfaceUpdate_->isActive())
        interfaceUpdate_->stop();
    interfaceState_->Timer1_Timer();
    startClockTick();
}

void MainWindow::startClockTick() {
    // The clock panel must turn with the second, so the next tick lands just after it.
    const int untilNextSecond = kMsPerSecond - QTime::currentTime().msec();
    Timer1.setRequestedInterval(untilNextSecond + kClockMarginMs);
    Timer1.start();
}

void MainWindow::scheduleInterfaceUpdate() {
    if (!interfaceUpdate_->isActive())
        interfaceUpdate_->start();
}

bool MainWindow::interfaceUpdatePending() const {
    return interfaceUpdate_->isActive();
}

void MainWindow::connectInterfaceTriggers() {
    interfaceUpdate_ = new QTimer(this);
    interfaceUpdate_->setSingleShot(true);
    interfaceUpdate_->setInterval(0);
    connect(interfaceUpdate_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        watchFocusedControl(now);
        scheduleInterfaceUpdate();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        interfaceState_->clipboardChanged();
        scheduleInterfaceUpdate();
    });
    connect(frameArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) {
        ObjectWindow* window = activeObjectWindow();
        QWidget* fileField = window == nullptr ? nullptr : window->Text4;
        if (fileField != watchedFileField_) {
            if (watchedFileField_)
                disconnect(watchedFileField_, nullptr, this, nullptr);
            watchedFileField_ = fileField;
            if (window != nullptr)
                connect(window->Text4, &QLineEdit::textChanged, this,
                        &MainWindow::scheduleInterfaceUpdate);
        }
        scheduleInterfaceUpdate();
    });
    // Every command may change what applies.
    for (const MenuTitle& title : kMenus)
        connect(this->*title.menu, &QMenu::triggered, this, &MainWindow::scheduleInterfaceUpdate);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &MainWindow::scheduleInterfaceUpdate);

    // The commands' keys must win over the text boxes' own use of them.
    qApp->installEventFilter(this);
}

void MainWindow::watchFocusedControl(QWidget* control) {
    if (control == watchedControl_)
        return;
    if (watchedControl_)
        disconnect(watchedControl_, nullptr, this, nullptr);
    watchedControl_ = nullptr;
    if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        connect(box, &QPlainTextEdit::selectionChanged, this, &MainWindow::scheduleInterfaceUpdate);
        connect(box, &QPlainTextEdit::textChanged, this, &MainWindow::scheduleInterfaceUpdate);
        watchedControl_ = box;
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        connect(field, &QLineEdit::selectionChanged, this, &MainWindow::scheduleInterfaceUpdate);
        connect(field, &QLineEdit::textChanged, this, &MainWindow::scheduleInterfaceUpdate);
        watchedControl_ = field;
    }
}

bool MainWindow::shortcutWins(QKeyEvent* key) {
    // The enabled flags must be current for the key being pressed.
    if (interfaceUpdatePending())
        Timer1_Timer();
    const QKeySequence pressed(key->keyCombination());
    for (const FrameCommand& command : kCommands) {
        const QAction* entry = this->*command.entry;
        if (entry->isEnabled() && entry->shortcut().matches(pressed) == QKeySequence::ExactMatch)
            return true;
    }
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && focus->window() == this &&
            shortcutWins(static_cast<QKeyEvent*>(event))) {
            // Left unaccepted, the key goes to the menu entry's shortcut.
            event->ignore();
            return true;
        }
        return false;
    }
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Image1->rect().contains(mouse->position().toPoint()))
            Image1_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    scheduleInterfaceUpdate();
}

} // namespace wirevane
