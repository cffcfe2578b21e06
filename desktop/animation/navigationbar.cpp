#include "desktop/animation/navigationbar.h"

#include "desktop/documents/colourswatch.h"
#include "desktop/ui/accessibility.h"
#include "desktop/ui/prompts.h"
#include "desktop/ui/twips.h"
#include "desktop/ui/updownspinner.h"
#include "desktop/ui/windowsetup.h"
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
#include <type_traits>
#include <variant>
#include <vector>

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
constexpr Colour kLightGrey = 0xC0C0C0;
constexpr Colour kLightRed = 0x8080FF; // red 255, green 128, blue 128
constexpr int kPad = 495;              // a turn pad button's side, twips
constexpr int kNoteShownMs = 2000;

QString speedText(int degrees) {
    // A number as text carries a space where a minus sign would stand.
    const QString number =
        degrees < 0 ? QString::number(degrees) : QLatin1Char(' ') + QString::number(degrees);
    return number + QChar(0x00B0);
}

template <typename Control> using Member = Control* NavigationBar::*;
using AnyMember = std::variant<Member<QPushButton>, Member<QCheckBox>, Member<QLabel>,
                               Member<QLineEdit>, Member<UpDownSpinner>, Member<QFrame>>;

enum class Face { Plain, Grey, LightRed };

// One control of the bar.
struct ControlRow {
    AnyMember member;
    const char* name;
    const char* caption;
    int left, top, width, height; // twips
    const char* accessibleName;   // nullptr: the caption says it
    const char* description;
    int tab;    // place in the keyboard's way through the bar; 0: not on it
    bool extra; // shown only with "more settings ..."
    void (NavigationBar::*click)();
    Face face = Face::Plain;
    const char* picture = nullptr; // a turn pad arrow, its name its tool tip
};

using B = NavigationBar;
constexpr const char* kTurnDescription = "One step of the speed in degrees";
constexpr const char* kMoveDescription = "By 0.1";

// The controls in the order they are made (which is the order a screen reader lists them in);
// the keyboard goes the turn pad row by row, then the extra settings from top to bottom.
const ControlRow kControls[] = {
    {&B::Command1, "Command1", "", 480, 0, kPad, kPad, "Turn up", kTurnDescription, 1, false,
     &B::Command1_Click, Face::Plain, "up"},
    {&B::Command4, "Command4", "", 0, 480, kPad, kPad, "Turn left", kTurnDescription, 2, false,
     &B::Command4_Click, Face::Plain, "left"},
    {&B::Command2, "Command2", "", 960, 480, kPad, kPad, "Turn right", kTurnDescription, 5, false,
     &B::Command2_Click, Face::Plain, "right"},
    {&B::Command3, "Command3", "", 480, 960, kPad, kPad, "Turn down", kTurnDescription, 6, false,
     &B::Command3_Click, Face::Plain, "down"},
    {&B::Check3, "Check3", "Run", 480, 480, kPad, kPad, nullptr,
     "Keep turning the way the last turn went", 3, false, &B::Check3_Click},
    // The credits button lies over "Run" while it is offered.
    {&B::Command5, "Command5", "!YES!", 480, 480, kPad, kPad, "Credits", "", 4, false,
     &B::Command5_Click, Face::LightRed},
    {&B::Command6, "Command6", "more settings ...", 0, 1560, 1455, 255, nullptr,
     "Show or hide moving, zoom, colours and speed", 7, false, &B::Command6_Click, Face::Grey},
    {&B::Frame1, "Frame1", "", 0, 1800, 1455, 135, nullptr, "", 0, false, nullptr},
    {&B::Command12, "Command12", "X(+)", 0, 2040, 495, 255, "Move x plus", kMoveDescription, 8,
     true, &B::Command12_Click, Face::Grey},
    {&B::Command13, "Command13", "Y(+)", 480, 2040, 495, 255, "Move y plus", kMoveDescription, 9,
     true, &B::Command13_Click, Face::Grey},
    {&B::Command14, "Command14", "Z(+)", 960, 2040, 495, 255, "Move z plus", kMoveDescription, 10,
     true, &B::Command14_Click, Face::Grey},
    {&B::Command15, "Command15", "X( - )", 0, 2280, 495, 255, "Move x minus", kMoveDescription, 11,
     true, &B::Command15_Click, Face::Grey},
    {&B::Command16, "Command16", "Y( - )", 480, 2280, 495, 255, "Move y minus", kMoveDescription,
     12, true, &B::Command16_Click, Face::Grey},
    {&B::Command17, "Command17", "Z( - )", 960, 2280, 495, 255, "Move z minus", kMoveDescription,
     13, true, &B::Command17_Click, Face::Grey},
    {&B::Command9, "Command9", "+", 240, 2640, kPad, kPad, "Zoom in", "", 14, true,
     &B::Command9_Click, Face::Grey},
    {&B::Command10, "Command10", "-", 720, 2640, kPad, kPad, "Zoom out", "", 15, true,
     &B::Command10_Click, Face::Grey},
    {&B::Check1, "Check1", "Cross", 120, 3240, 1575, 195, nullptr, "Show the axis cross", 16, true,
     &B::Check1_Click},
    {&B::Check2, "Check2", "3D-Data", 120, 3480, 1215, 255, nullptr,
     "Show the table of coordinates", 17, true, &B::Check2_Click},
    {&B::Check4, "Check4", "Number", 120, 3720, 1215, 315, nullptr, "Show the point numbers", 18,
     true, nullptr},
    {&B::Command7, "Command7", "Background", 120, 4080, 1215, 375, "Background colour", "", 19,
     true, &B::Command7_Click},
    {&B::Command8, "Command8", "Object", 120, 4440, 1215, 375, "Object colour", "", 20, true,
     &B::Command8_Click},
    {&B::Command11, "Command11", "Cross", 120, 4800, 1215, 375, "Cross colour", "", 21, true,
     &B::Command11_Click},
    {&B::Label1, "Label1", "Speed :", 120, 5280, 615, 255, nullptr, "", 0, true, nullptr},
    {&B::Text1, "Text1", "", 720, 5280, 375, 285, "Speed", "Degrees a step", 22, true, nullptr},
    {&B::UpDown1, "UpDown1", "", 1080, 5280, 195, 255, nullptr, "", 23, true, nullptr},
};

// Makes the control of a row with its caption, if the kind of control has one.
template <typename Control> Control* makeControl(const ControlRow& row, QWidget* parent) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(row.name));
    if constexpr (requires(Control * c) { c->setText(QString()); })
        control->setText(QString::fromUtf8(row.caption));
    return control;
}

} // namespace

NavigationBar::NavigationBar(AnimationSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), session_(session),
      scene_(session.scene()) {
    registerTurnPadPictures();
    setUpWindow(*this, {.name = "Form1",
                        .title = QStringLiteral("Navigationbar"),
                        .deleteOnClose = true,
                        .pointSize = 7.5});
    session_.resetControls();

    makeControls();
    Check3->setCheckable(true);
    // The style's pressed look is faint; a running animation should be plain to see.
    connect(Check3, &QPushButton::toggled, this, [this](bool running) {
        QPalette palette = this->palette();
        if (running)
            palette.setColor(QPalette::Button, palette.color(QPalette::Highlight).lighter(160));
        Check3->setPalette(palette);
    });
    Command5->setEnabled(false);
    Command5->hide();
    Command5->raise();
    Frame1->setFrameShape(QFrame::HLine);
    Frame1->setFrameShadow(QFrame::Sunken);
    Text1->setText(speedText(session_.speed()));
    Text1->setReadOnly(true); // the spinner sets the speed
    Label1->setBuddy(Text1);
    UpDown1->setRange(AnimationSession::kSpeedMin, AnimationSession::kSpeedMax);
    UpDown1->setValue(session_.speed());
    UpDown1->setAccessibleNames(QStringLiteral("Speed"));
    // Code that ticks "Run" or "Number" is heard too, as the drawing reads them.
    connect(Check3, &QPushButton::toggled, this, [this](bool on) { session_.setRunning(on); });
    connect(Check4, &QCheckBox::toggled, this, &NavigationBar::Check4_Click);
    connect(UpDown1, &UpDownSpinner::valueChanged, this, &NavigationBar::UpDown1_Change);

    setFixedSize(twipsToPixels(kClientWidthTwips),
                 twipsToPixels(kOuterHeightLessTwips - kFrameHeightTwips));
    showExtraSettings(false);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    followIntervals();
    connect(&Timer1, &QTimer::timeout, this, &NavigationBar::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &NavigationBar::Timer2_Timer);
    // Timer1 starts when the bar is first shown: a bar that exists only for its controls (the
    // Animation command sets Command5 before it knows whether the object compiles) drives nothing.
}

// Every control from its row: made, placed, named for a screen reader, coloured and wired;
// then the keyboard's way through them.
void NavigationBar::makeControls() {
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlRow& row : kControls) {
        QWidget* control = std::visit(
            [&](auto member) -> QWidget* {
                using Control =
                    std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
                auto* made = makeControl<Control>(row, this);
                this->*member = made;
                if constexpr (std::is_base_of_v<QAbstractButton, Control>) {
                    if (row.click)
                        connect(made, &QAbstractButton::clicked, this, row.click);
                }
                return made;
            },
            row.member);
        place(control, row.left, row.top, row.width, row.height);
        if (row.accessibleName)
            control->setAccessibleName(QLatin1String(row.accessibleName));
        if (*row.description)
            control->setAccessibleDescription(QLatin1String(row.description));
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            if (row.face != Face::Plain)
                setButtonColour(button, row.face == Face::Grey ? kLightGrey : kLightRed);
            if (row.picture) {
                button->setIcon(QIcon(QStringLiteral(":/turnpad/%1.svg").arg(row.picture)));
                button->setIconSize(QSize(24, 24));
                button->setToolTip(tr(row.accessibleName));
            }
        }
        if (row.tab > 0)
            tabOrder.emplace_back(row.tab, control);
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
}

// The extra settings lie below the window's edge while they are hidden; hidden they also leave
// the keyboard's way and a screen reader's view.
void NavigationBar::showExtraSettings(bool shown) {
    for (const ControlRow& row : kControls) {
        if (row.extra)
            findChild<QWidget*>(QLatin1String(row.name), Qt::FindDirectChildrenOnly)
                ->setVisible(shown);
    }
}

void NavigationBar::followIntervals() {
    Timer1.setRequestedInterval(session_.stepIntervalMs());
    Timer2.setRequestedInterval(session_.runIntervalMs());
}

void NavigationBar::Command1_Click() {
    session_.turnUp();
}
void NavigationBar::Command3_Click() {
    session_.turnDown();
}
void NavigationBar::Command2_Click() {
    session_.turnRight();
}
void NavigationBar::Command4_Click() {
    session_.turnLeft();
}

void NavigationBar::Command12_Click() {
    session_.move(Axis::X, true);
}
void NavigationBar::Command13_Click() {
    session_.move(Axis::Y, true);
}
void NavigationBar::Command14_Click() {
    session_.move(Axis::Z, true);
}
void NavigationBar::Command15_Click() {
    session_.move(Axis::X, false);
}
void NavigationBar::Command16_Click() {
    session_.move(Axis::Y, false);
}
void NavigationBar::Command17_Click() {
    session_.move(Axis::Z, false);
}

void NavigationBar::Command9_Click() {
    session_.zoomIn();
}
void NavigationBar::Command10_Click() {
    session_.zoomOut();
}

void NavigationBar::Command6_Click() {
    if (scene_.modeFlag == 0) {
        Command6->setText(QStringLiteral("less settings..."));
        setOuterHeightTwips(kOuterHeightMoreTwips);
        scene_.zoomFactor = 1;
        session_.redrawUnturned();
        scene_.modeFlag = 1;
        tell(QStringLiteral("More settings shown"));
    } else if (scene_.modeFlag == 1) {
        Command6->setText(QStringLiteral("more settings..."));
        setOuterHeightTwips(kOuterHeightLessTwips);
        scene_.modeFlag = 0;
        tell(QStringLiteral("More settings hidden"));
    }
}

// A screen reader says neither the new caption of the focused button nor the controls that
// appear; it says a note that shows.
void NavigationBar::tell(const QString& note) {
    if (!note_) {
        note_ = new SpokenNote(this);
        note_->setHidingAfter(kNoteShownMs);
    }
    note_->say(note, Command6->geometry().bottomLeft());
}

void NavigationBar::Check1_Click() {
    session_.setCross(Check1->isChecked());
}

void NavigationBar::Check2_Click() {
    if (Check2->isChecked())
        emit coordinateTableOpened();
    else
        emit coordinateTableClosed();
    session_.setShowData(Check2->isChecked());
    followIntervals();
}

void NavigationBar::tableWindowClosed() {
    if (Check2->isChecked()) {
        Check2->setChecked(false);
        Check2_Click();
    }
}

void NavigationBar::Check4_Click() {
    session_.setNumbers(Check4->isChecked());
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
    session_.setColour(colour, buttonColour(button));
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
    session_.setSpeed(UpDown1->value());
    Text1->setText(speedText(session_.speed()));
}

void NavigationBar::Timer1_Timer() {
    session_.stepTick();
    Check1->setChecked(session_.cross());
}

void NavigationBar::Timer2_Timer() {
    session_.runTick();
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
