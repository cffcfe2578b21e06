#include "desktop/ui/focusring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace wirevane {

FocusRing::FocusRing() {
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void FocusRing::install() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // The ring lives in the window of its control and goes with it; the next focus makes one anew.
    static QPointer<FocusRing> ring;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
        if (!ring)
            ring = new FocusRing;
        ring->follow(now);
    });
}

void FocusRing::follow(QWidget* control) {
    if (control_)
        control_->removeEventFilter(this);
    control_ = control;
    // A window with the focus (the picture) is a ring of its own.
    if (control == nullptr || control->isWindow()) {
        hide();
        return;
    }
    control->installEventFilter(this);
    place();
}

void FocusRing::place() {
    QWidget* control = control_;
    if (control == nullptr || !control->isVisible()) {
        hide();
        return;
    }
    if (parentWidget() != control->parentWidget())
        setParent(control->parentWidget());
    const int out = kWidth + 1;
    setGeometry(control->geometry().adjusted(-out, -out, out, out));
    raise();
    show();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ZOrderChange:
            place();
            break;
        default:
            break;
        }
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < kWidth; ++i) {
        painter.setPen(Qt::black);
        painter.drawRect(outer.adjusted(i, i, -i - 1, -i - 1));
    }
    painter.setPen(Qt::white);
    painter.drawRect(outer.adjusted(kWidth, kWidth, -kWidth - 1, -kWidth - 1));
}

} // namespace wirevane
