#include "desktop/animation/navigationbar.h"

#include "desktop/documents/colourswatch.h"
#include "desktop/ui/accessibility.h"
#include "desktop/ui/named.h"
#include "desktop/ui/prompts.h"
#include "desktop/ui/twips.h"
#include "desktop/ui/updownspinner.h"
#include "surfaces/imagesurface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

// The turn pad's pictures live in a resource of the static windows library; a static library's
// resources must be registered by name, from the global namespace.
static void registerTurnPadPictures() {
    Q_INIT_RESOURCE(turnpad);
}

namespace wirevane {
namespace {

constexpr int kClientWidthTwips = 1455;
// The caption bar and border of a tool window, which the outer heights below include.
constexpr int kFrameHeightTwips = 330;
constexpr int kOuterHeightLessTwips = 2145;
constexpr int kOuterHeightMoreTwips = 5925;
constexpr int kDesignIntervalMs = 5;
constexpr int kTableStepIntervalMs = 10;
constexpr int kTableRunIntervalMs = 50;
constexpr int kNoTableIntervalMs = 1;
constexpr double kMoveStep = Navigation::kMoveStep;
constexpr int kSpeedMin = Navigation::kSpeedMin;
constexpr int kSpeedMax = Navigation::kSpeedMax;
constexpr int kSpeedAtStart = Navigation::kSpeedAtStart;
constexpr Colour kLightGrey = 0xC0C0C0;
constexpr Colour kLightRed = 0x8080FF; // red 255, green 128, blue 128

// A control of the bar, named and placed.
template <typename Control>
Control* makeControl(QWidget* parent, const char* name, const QString& caption, int left, int top,
                     int width, int height) {
    auto* control = makeNamed<Control>(name, caption, parent);
    place(control, left, top, width, height);
    return control;
}

QString speedText(int degrees) {
    // A number as text carries a space where a minus sign would stand.
    const QString number =
        degrees < 0 ? QString::number(degrees) : QLatin1Char(' ') + QString::number(degrees);
    return number + QChar(0x00B0);
}

} // namespace

NavigationBar::NavigationBar(Scene& scene, QWidget* parent)
    // The redraw happens inside the emit, as the connection is direct (see AnimationController),
    // so the navigation's one-off redraws can put the turn back right after it.
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), scene_(scene),
      navigation_(scene, [this] { emit redrawRequested(); }) {
    registerTurnPadPictures();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Navigationbar"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);

    const int pad = 495;
    Command1 = makeControl<QPushButton>(this, "Command1", {}, 480, 0, pad, pad);
    Command4 = makeControl<QPushButton>(this, "Command4", {}, 0, 480, pad, pad);
    Command2 = makeControl<QPushButton>(this, "Command2", {}, 960, 480, pad, pad);
    Command3 = makeControl<QPushButton>(this, "Command3", {}, 480, 960, pad, pad);
    Command1->setIcon(QIcon(QStringLiteral(":/turnpad/up.svg")));
    Command4->setIcon(QIcon(QStringLiteral(":/turnpad/left.svg")));
    Command2->setIcon(QIcon(QStringLiteral(":/turnpad/right.svg")));
    Command3->setIcon(QIcon(QStringLiteral(":/turnpad/down.svg")));
    for (QPushButton* arrow : {Command1, Command2, Command3, Command4})
        arrow->setIconSize(QSize(24, 24));
    Command1->setToolTip(tr("Turn up"));
    Command3->setToolTip(tr("Turn down"));
    Command2->setToolTip(tr("Turn right"));
    Command4->setToolTip(tr("Turn left"));

    Check3 = makeControl<QPushButton>(this, "Check3", QStringLiteral("Run"), 480, 480, pad, pad);
    Check3->setCheckable(true);
    // The style's pressed look is faint; a running animation should be plain to see.
    connect(Check3, &QPushButton::toggled, this, [this](bool running) {
        QPalette palette = this->palette();
        if (running)
            palette.setColor(QPalette::Button, palette.color(QPalette::Highlight).lighter(160));
        Check3->setPalette(palette);
    });
    // The credits button lies over "Run" while it is offered.
    Command5 =
        makeControl<QPushButton>(this, "Command5", QStringLiteral("!YES!"), 480, 480, pad, pad);
    setButtonColour(Command5, kLightRed);
    Command5->setEnabled(false);
    Command5->hide();
    Command5->raise();

    Command6 = makeControl<QPushButton>(this, "Command6", QStringLiteral("more settings ..."), 0,
                                        1560, 1455, 255);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::HLine);
    Frame1->setFrameShadow(QFrame::Sunken);
    place(Frame1, 0, 1800, 1455, 135);

    Command12 =
        makeControl<QPushButton>(this, "Command12", QStringLiteral("X(+)"), 0, 2040, 495, 255);
    Command13 =
        makeControl<QPushButton>(this, "Command13", QStringLiteral("Y(+)"), 480, 2040, 495, 255);
    Command14 =
        makeControl<QPushButton>(this, "Command14", QStringLiteral("Z(+)"), 960, 2040, 495, 255);
    Command15 =
        makeControl<QPushButton>(this, "Command15", QStringLiteral("X( - )"), 0, 2280, 495, 255);
    Command16 =
        makeControl<QPushButton>(this, "Command16", QStringLiteral("Y( - )"), 480, 2280, 495, 255);
    Command17 =
        makeControl<QPushButton>(this, "Command17", QStringLiteral("Z( - )"), 960, 2280, 495, 255);
    Command9 = makeControl<QPushButton>(this, "Command9", QStringLiteral("+"), 240, 2640, pad, pad);
    Command10 =
        makeControl<QPushButton>(this, "Command10", QStringLiteral("-"), 720, 2640, pad, pad);
    for (QPushButton* grey : {Command6, Command12, Command13, Command14, Command15, Command16,
                              Command17, Command9, Command10})
        setButtonColour(grey, kLightGrey);

    Check1 = makeControl<QCheckBox>(this, "Check1", QStringLiteral("Cross"), 120, 3240, 1575, 195);
    Check2 =
        makeControl<QCheckBox>(this, "Check2", QStringLiteral("3D-Data"), 120, 3480, 1215, 255);
    Check4 = makeControl<QCheckBox>(this, "Check4", QStringLiteral("Number"), 120, 3720, 1215, 315);
    Command7 = makeControl<QPushButton>(this, "Command7", QStringLiteral("Background"), 120, 4080,
                                        1215, 375);
    Command8 =
        makeControl<QPushButton>(this, "Command8", QStringLiteral("Object"), 120, 4440, 1215, 375);
    Command11 =
        makeControl<QPushButton>(this, "Command11", QStringLiteral("Cross"), 120, 4800, 1215, 375);

    Label1 = new QLabel(QStringLiteral("Speed :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, 120, 5280, 615, 255);
    Text1 = new QLineEdit(speedText(kSpeedAtStart), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true); // the spinner sets the speed
    place(Text1, 720, 5280, 375, 285);
    UpDown1 = new UpDownSpinner(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(kSpeedMin, kSpeedMax);
    UpDown1->setValue(kSpeedAtStart);
    place(UpDown1, 1080, 5280, 195, 255);

    describeControls();
    setFixedSize(twipsToPixels(kClientWidthTwips),
                 twipsToPixels(kOuterHeightLessTwips - kFrameHeightTwips));
    showExtraSettings(false);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer1.setRequestedInterval(kDesignIntervalMs);
    Timer2.setRequestedInterval(kDesignIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &NavigationBar::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &NavigationBar::Timer2_Timer);
    // Timer1 starts when the bar is first shown: a bar that exists only for its controls (the
    // Animation command sets Command5 before it knows whether the object compiles) drives nothing.

    connect(Command1, &QPushButton::clicked, this, &NavigationBar::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &NavigationBar::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &NavigationBar::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &NavigationBar::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &NavigationBar::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &NavigationBar::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &NavigationBar::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &NavigationBar::Command8_Click);
    connect(Command11, &QPushButton::clicked, this, &NavigationBar::Command11_Click);
    connect(Command9, &QPushButton::clicked, this, &NavigationBar::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &NavigationBar::Command10_Click);
    connect(Command12, &QPushButton::clicked, this, &NavigationBar::Command12_Click);
    connect(Command13, &QPushButton::clicked, this, &NavigationBar::Command13_Click);
    connect(Command14, &QPushButton::clicked, this, &NavigationBar::Command14_Click);
    connect(Command15, &QPushButton::clicked, this, &NavigationBar::Command15_Click);
    connect(Command16, &QPushButton::clicked, this, &NavigationBar::Command16_Click);
    connect(Command17, &QPushButton::clicked, this, &NavigationBar::Command17_Click);
    // Code that sets a check box runs its click handler itself, where it must.
    connect(Check1, &QCheckBox::clicked, this, &NavigationBar::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &NavigationBar::Check2_Click);
    connect(Check3, &QPushButton::clicked, this, &NavigationBar::Check3_Click);
    connect(UpDown1, &UpDownSpinner::valueChanged, this, &NavigationBar::UpDown1_Change);
}

// Names and descriptions for a screen reader, and the keyboard's way through the bar: the turn
// pad row by row, then the extra settings from top to bottom.
void NavigationBar::describeControls() {
    const std::pair<QWidget*, const char*> names[] = {
        {Command1, "Turn up"},
        {Command4, "Turn left"},
        {Command2, "Turn right"},
        {Command3, "Turn down"},
        {Command5, "Credits"},
        {Command12, "Move x plus"},
        {Command13, "Move y plus"},
        {Command14, "Move z plus"},
        {Command15, "Move x minus"},
        {Command16, "Move y minus"},
        {Command17, "Move z minus"},
        {Command9, "Zoom in"},
        {Command10, "Zoom out"},
        {Command7, "Background colour"},
        {Command8, "Object colour"},
        {Command11, "Cross colour"},
        {Text1, "Speed"},
    };
    for (const auto& [control, name] : names)
        control->setAccessibleName(QLatin1String(name));
    for (QPushButton* arrow : {Command1, Command2, Command3, Command4})
        arrow->setAccessibleDescription(QStringLiteral("One step of the speed in degrees"));
    Check3->setAccessibleDescription(QStringLiteral("Keep turning the way the last turn went"));
    Command6->setAccessibleDescription(
        QStringLiteral("Show or hide moving, zoom, colours and speed"));
    for (QPushButton* mover : {Command12, Command13, Command14, Command15, Command16, Command17})
        mover->setAccessibleDescription(QStringLiteral("By 0.1"));
    Check1->setAccessibleDescription(QStringLiteral("Show the axis cross"));
    Check2->setAccessibleDescription(QStringLiteral("Show the table of coordinates"));
    Check4->setAccessibleDescription(QStringLiteral("Show the point numbers"));
    Text1->setAccessibleDescription(QStringLiteral("Degrees a step"));
    Label1->setBuddy(Text1);
    UpDown1->setAccessibleNames(QStringLiteral("Speed"));

    QWidget* const order[] = {Command1,  Command4,  Check3,    Command5,  Command2,  Command3,
                              Command6,  Command12, Command13, Command14, Command15, Command16,
                              Command17, Command9,  Command10, Check1,    Check2,    Check4,
                              Command7,  Command8,  Command11, Text1,     UpDown1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// The extra settings lie below the window's edge while they are hidden; hidden they also leave
// the keyboard's way and a screen reader's view.
void NavigationBar::showExtraSettings(bool shown) {
    for (QWidget* extra : std::initializer_list<QWidget*>{
             Command12, Command13, Command14, Command15, Command16, Command17, Command9, Command10,
             Check1, Check2, Check4, Command7, Command8, Command11, Label1, Text1, UpDown1})
        extra->setVisible(shown);
}

void NavigationBar::Command1_Click() {
    navigation_.turnUp();
}
void NavigationBar::Command3_Click() {
    navigation_.turnDown();
}
void NavigationBar::Command2_Click() {
    navigation_.turnRight();
}
void NavigationBar::Command4_Click() {
    navigation_.turnLeft();
}

void NavigationBar::Command12_Click() {
    navigation_.move(&Scene::sceneX, kMoveStep);
}
void NavigationBar::Command13_Click() {
    navigation_.move(&Scene::sceneY, kMoveStep);
}
void NavigationBar::Command14_Click() {
    navigation_.move(&Scene::sceneZ, kMoveStep);
}
void NavigationBar::Command15_Click() {
    navigation_.move(&Scene::sceneX, -kMoveStep);
}
void NavigationBar::Command16_Click() {
    navigation_.move(&Scene::sceneY, -kMoveStep);
}
void NavigationBar::Command17_Click() {
    navigation_.move(&Scene::sceneZ, -kMoveStep);
}

void NavigationBar::Command9_Click() {
    navigation_.zoom(Navigation::kZoomIn);
}
void NavigationBar::Command10_Click() {
    navigation_.zoom(Navigation::kZoomOut);
}

void NavigationBar::Command6_Click() {
    if (scene_.modeFlag == 0) {
        Command6->setText(QStringLiteral("less settings..."));
        setOuterHeightTwips(kOuterHeightMoreTwips);
        scene_.zoomFactor = 1;
        navigation_.redrawUnturned();
        scene_.modeFlag = 1;
    } else if (scene_.modeFlag == 1) {
        Command6->setText(QStringLiteral("more settings..."));
        setOuterHeightTwips(kOuterHeightLessTwips);
        scene_.modeFlag = 0;
    }
}

void NavigationBar::Check1_Click() {
    scene_.showCross = Check1->isChecked() ? 1 : 0;
    emit clearRequested();
    emit redrawRequested();
}

void NavigationBar::Check2_Click() {
    if (Check2->isChecked()) {
        scene_.tableInitialized = 0;
        emit coordinateTableOpened();
        Timer1.setRequestedInterval(kTableStepIntervalMs);
        Timer2.setRequestedInterval(kTableRunIntervalMs);
    } else {
        emit coordinateTableClosed();
        Timer1.setRequestedInterval(kNoTableIntervalMs);
        Timer2.setRequestedInterval(kNoTableIntervalMs);
    }
    emit redrawRequested();
}

void NavigationBar::Check3_Click() {
    if (Check3->isChecked()) {
        Timer1.stop();
        Timer2.start();
    } else {
        Timer2.stop();
        Timer1.start();
    }
}

void NavigationBar::chooseColour(QPushButton* button, Colour Scene::*colour) {
    const auto chosen = prompts().chooseColour(this, QColor(toRgb(buttonColour(button))));
    if (!chosen || !chosen->isValid())
        return; // cancelled: the button keeps its colour
    setButtonColour(button, fromQColor(*chosen));
    scene_.*colour = buttonColour(button);
}

void NavigationBar::Command7_Click() {
    chooseColour(Command7, &Scene::backgroundColor);
}
void NavigationBar::Command8_Click() {
    chooseColour(Command8, &Scene::objectColor);
}
void NavigationBar::Command11_Click() {
    chooseColour(Command11, &Scene::crossColor);
}

void NavigationBar::Command5_Click() {
    emit creditsRequested();
}

void NavigationBar::UpDown1_Change() {
    Text1->setText(speedText(UpDown1->value()));
    scene_.speedSetting = UpDown1->value();
}

void NavigationBar::Timer1_Timer() {
    navigation_.settle();
    const bool cross = scene_.showCross != 0;
    if (Check1->isChecked() != cross) {
        Check1->setChecked(cross);
        Check1_Click();
    }
    navigation_.stepTick(UpDown1->value());
}

void NavigationBar::Timer2_Timer() {
    navigation_.runTick();
}

void NavigationBar::setButtonColour(QPushButton* button, Colour colour) {
    const QColor face(toRgb(colour));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, face);
    // Keep the caption readable on a dark face.
    palette.setColor(QPalette::ButtonText, face.lightness() < 110 ? Qt::white : Qt::black);
    button->setPalette(palette);
    // The three colour buttons say which colour they show; the grey ones are only grey.
    static const QStringList kColourButtons = {
        QStringLiteral("Command7"), QStringLiteral("Command8"), QStringLiteral("Command11")};
    if (kColourButtons.contains(button->objectName()))
        button->setAccessibleDescription(colourWords(colour));
}

Colour NavigationBar::buttonColour(const QPushButton* button) {
    return fromQColor(button->palette().color(QPalette::Button));
}

int NavigationBar::outerHeightTwips() const {
    return pixelsToTwips(height()) + kFrameHeightTwips;
}

void NavigationBar::setOuterHeightTwips(int twips) {
    setFixedHeight(twipsToPixels(twips - kFrameHeightTwips));
    showExtraSettings(twips >= kOuterHeightMoreTwips);
}

void NavigationBar::showEvent(QShowEvent*) {
    if (!Timer1.isActive() && !Timer2.isActive())
        (Check3->isChecked() ? Timer2 : Timer1).start();
}

// A tool window leaves with Escape, as a dialog does: the animation ends.
void NavigationBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void NavigationBar::closeEvent(QCloseEvent* event) {
    // A closed bar drives nothing any more, also not before it is destroyed.
    Timer1.stop();
    Timer2.stop();
    event->accept();
    emit closing();
}

} // namespace wirevane
