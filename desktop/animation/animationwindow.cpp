#include "desktop/animation/animationwindow.h"

#include "desktop/animation/animationwindowsurface.h"
#include "desktop/ui/twips.h"
#include "desktop/ui/windowsetup.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

namespace wirevane {
namespace {

constexpr int kClientWidthTwips = 8295;
constexpr int kClientHeightTwips = 5625;
constexpr int kOpeningDelayMs = 100;
constexpr Colour kDesignLabelColour = 0xFFFFFF;

} // namespace

AnimationWindow::AnimationWindow(Scene& scene, QWidget* parent)
    : QWidget(parent, Qt::Window), scene_(scene) {
    setUpWindow(*this, {.name = "Form5",
                        .title = QStringLiteral("3D-Animation"),
                        .widthTwips = kClientWidthTwips,
                        .heightTwips = kClientHeightTwips,
                        .deleteOnClose = true});
    // The image covers every pixel; Qt need not fill the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);

    for (int j = 0; j < kLabelCount; ++j) {
        QLabel* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(j));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(toRgb(kDesignLabelColour)));
        label->setPalette(palette);
        place(label, 240, 120, 45, 195);
        label->hide(); // empty
        Label1[j] = label;
    }
    surface_ = std::make_unique<AnimationWindowSurface>(*this, Label1);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setRequestedInterval(kOpeningDelayMs);
    connect(&Timer1, &QTimer::timeout, this, &AnimationWindow::Timer1_Timer);
    Timer1.start();
}

AnimationWindow::~AnimationWindow() = default;

void AnimationWindow::draw(RendererState& state, const RenderOptions& options,
                           const Motion& motion) {
    surface_->beginFrame();
    drawScene(scene_, state, *surface_, options, motion);
    surface_->endFrame();
}

void AnimationWindow::Form_Resize() {
    surface_->clearSurface();
    emit drawRequested();
}

void AnimationWindow::Timer1_Timer() {
    Timer1.stop();
    surface_->setBackColor(scene_.backgroundColor);
    scene_.modeFlag = 0;
    emit openingFinished();
}

void AnimationWindow::resizeEvent(QResizeEvent*) {
    surface_->resizeClient(width(), height());
    Form_Resize();
}

void AnimationWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = surface_->image();
    for (const QRect& rect : event->region())
        painter.drawImage(rect, image, rect);
}

void AnimationWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

} // namespace wirevane
