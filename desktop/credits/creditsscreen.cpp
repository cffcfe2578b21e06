#include "desktop/credits/creditsscreen.h"

#include "desktop/ui/windowsetup.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTime>
#include <array>

namespace wirevane {
namespace {

constexpr int kStartDelayMs = 1000;
constexpr int kStarStepMs = 1;
constexpr int kWordPauseMs = 1000;
constexpr int kZoomStepMs = 50;

constexpr double kSmallestWordSize = 2;
constexpr double kZoomFactor = 1.9;
constexpr double kLargestWordSize = 100;

// Steps 4, 5, 9, 10 and 17 carry names.
constexpr std::array<const char*, CreditsScreen::kWordSteps> kWords = {
    "",          "The", "Travenor", "Wirevane", "3.0",    "was",  "programmed",
    "by",        "the", "team",     "in",       "august", "1997", "",
    "Greetings", "to",  "all",      "Germany",  "!!!"};

} // namespace

CreditsScreen::CreditsScreen(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), Label1(new QLabel(this)), Timer1(this),
      Timer2(this), Timer3(this), Timer4(this) {
    setUpWindow(*this, {.name = "gagscreen", .title = {}, .black = true});
    setAttribute(Qt::WA_OpaquePaintEvent);

    Label1->setObjectName("Label1");
    QPalette yellow = Label1->palette();
    yellow.setColor(QPalette::WindowText, QColor(255, 255, 0));
    Label1->setPalette(yellow);
    QFont times("Times New Roman");
    times.setStyleHint(QFont::Serif);
    Label1->setFont(times);
    Label1->hide();

    Timer1.setObjectName("Timer1");
    Timer2.setObjectName("Timer2");
    Timer3.setObjectName("Timer3");
    Timer4.setObjectName("Timer4");
    Timer1.setRequestedInterval(kStartDelayMs);
    Timer2.setRequestedInterval(kStarStepMs);
    Timer3.setRequestedInterval(kWordPauseMs);
    Timer4.setRequestedInterval(kZoomStepMs);
    connect(&Timer1, &QTimer::timeout, this, &CreditsScreen::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &CreditsScreen::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &CreditsScreen::Timer3_Timer);
    connect(&Timer4, &QTimer::timeout, this, &CreditsScreen::Timer4_Timer);
    Timer1.start();
    Timer3.start();
}

QString CreditsScreen::wordOfStep(int step) {
    if (step < 1 || step > kWordSteps)
        return QString();
    return QString::fromLatin1(kWords[static_cast<std::size_t>(step - 1)]);
}

double CreditsScreen::nextRandom() {
    // 32 random bits over 2^32: always below 1.
    return static_cast<double>(random_()) / 4294967296.0;
}

void CreditsScreen::Timer1_Timer() {
    Timer1.stop();
    Timer2.start();
    starField_.start();
    seedRandom(static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay()));
}

void CreditsScreen::Timer2_Timer() {
    starField_.step(surface_, [this] { return nextRandom(); });
    update();
}

void CreditsScreen::Timer3_Timer() {
    Timer3.stop();
    ++wordStep;
    if (wordStep > kWordSteps)
        wordStep = 1;
    Label1->setText(wordOfStep(wordStep));
    Timer4.start();
}

void CreditsScreen::Timer4_Timer() {
    if (wordSize < kSmallestWordSize)
        wordSize = kSmallestWordSize;
    wordSize *= kZoomFactor;
    Label1->hide();
    QFont font = Label1->font();
    font.setPointSizeF(wordSize);
    Label1->setFont(font);
    Label1->adjustSize();
    Label1->move(width() / 2 - Label1->width() / 2, height() / 2 - Label1->height() / 2);
    Label1->show();
    if (wordSize > kLargestWordSize) {
        Label1->hide();
        wordSize = 0;
        Timer4.stop();
        Timer3.start();
    }
}

void CreditsScreen::Form_Click() {
    close();
}

bool CreditsScreen::onWord(const QPoint& position) const {
    return Label1->isVisible() && Label1->geometry().contains(position);
}

void CreditsScreen::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_.image(), event->rect());
}

void CreditsScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    surface_.resize(width(), height());
}

// The word lets clicks through to the window; a click that lands on it must not close the
// screen, so the window tests where the click was.
void CreditsScreen::mousePressEvent(QMouseEvent* event) {
    pressedBesideWord_ = !onWord(event->position().toPoint());
}

void CreditsScreen::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressedBesideWord_ && !onWord(event->position().toPoint()) &&
                       rect().contains(event->position().toPoint());
    pressedBesideWord_ = false;
    if (click)
        Form_Click();
}

void showCreditsScreen(QWidget* parent) {
    QPointer<CreditsScreen> screen = new CreditsScreen(parent);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(screen, &QObject::destroyed, &loop, &QEventLoop::quit);
    // Sized to the screen first, for desktops whose window manager ignores a full-screen
    // request.
    const QScreen* display = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (display)
        screen->setGeometry(display->geometry());
    screen->showFullScreen();
    loop.exec();
}

} // namespace wirevane
