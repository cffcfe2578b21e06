#include "desktop/app/splashwindow.h"

#include "desktop/app/pictures/pictures.h"
#include "desktop/ui/twips.h"
#include "desktop/ui/windowsetup.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace wirevane {
namespace {

constexpr int kClientWidthTwips = 5940;
constexpr int kClientHeightTwips = 3405;
constexpr int kTickMs = 510;

const QColor kCyan(0, 255, 255);

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Image1(new QLabel(this)),
      Label3(new QLabel(QStringLiteral("Fullversion 3.0"), this)), Frame1(new QFrame(this)),
      Shape1(new QFrame(Frame1)), Label1(new QLabel(Frame1)),
      Label2(new QLabel(QStringLiteral("This program may be copied and given away freely."), this)),
      Timer1(this) {
    setUpWindow(*this, {.name = "Form4",
                        .title = {},
                        .widthTwips = kClientWidthTwips,
                        .heightTwips = kClientHeightTwips,
                        .fixedSize = true,
                        .black = true});

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(splashPicture());
    Image1->setScaledContents(true);
    place(Image1, 0, 0, 5940, 3435);

    Label3->setObjectName(QStringLiteral("Label3"));
    QFont version(QStringLiteral("MS Sans Serif"));
    version.setStyleHint(QFont::SansSerif);
    version.setPointSize(18);
    version.setBold(true);
    // Narrow enough that the text fits its box with the wider fonts of today's desktops.
    version.setStretch(QFont::SemiCondensed);
    Label3->setFont(version);
    setTextColour(Label3, kCyan);
    place(Label3, 3120, 1680, 2655, 615);

    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::NoFrame);
    Frame1->setAutoFillBackground(true);
    Frame1->setPalette(palette());
    place(Frame1, 360, 2520, 5175, 495);

    // The band: a dark glass strip with a cyan rim.
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(
        QStringLiteral("QFrame#Shape1 { border: 1px solid rgb(0, 160, 200);"
                       " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(0, 30, 70),"
                       " stop:1 rgb(0, 0, 0)); }"));
    place(Shape1, 0, 0, 5175, 495);

    Label1->setObjectName(QStringLiteral("Label1"));
    QFont progress(QStringLiteral("MS Sans Serif"));
    progress.setStyleHint(QFont::SansSerif);
    progress.setPointSizeF(9.75);
    Label1->setFont(progress);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(Label1, Qt::white);
    place(Label1, 0, 120, 5175, 495);

    Label2->setObjectName(QStringLiteral("Label2"));
    setTextColour(Label2, Qt::white);
    place(Label2, 120, 3120, 6975, 255);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setRequestedInterval(kTickMs);
    connect(&Timer1, &QTimer::timeout, this, &SplashWindow::Timer1_Timer);
    Timer1.start();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

const char* SplashWindow::progressText(int step) {
    switch (step) {
    case 2:
        return "including mainunit...";
    case 3:
        return "loading navigationbar...";
    case 4:
        return "loading 3D-routines...";
    case 6:
        return "loading settings...";
    default:
        return nullptr;
    }
}

void SplashWindow::Timer1_Timer() {
    ++loadStep;
    if (const char* text = progressText(loadStep))
        Label1->setText(QString::fromLatin1(text));
    if (loadStep == kLastStep)
        finishLoading();
}

void SplashWindow::finishLoading() {
    if (finished_)
        return;
    finished_ = true;
    Timer1.stop();
    // Hidden before the main window shows, closed after: the program never has no window,
    // and nothing the main window asks at its start can be covered by the splash.
    hide();
    emit loadFinished();
    close();
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    QTimer::singleShot(0, this, &SplashWindow::finishLoading);
}

} // namespace wirevane
