#include "desktop/ui/updownspinner.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

namespace wirevane {
namespace {

constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelayMs);
    button->setAutoRepeatInterval(kRepeatIntervalMs);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

UpDownSpinner::UpDownSpinner(QWidget* parent)
    : QWidget(parent), up_(arrowButton(this, Qt::UpArrow)),
      down_(arrowButton(this, Qt::DownArrow)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(up_, &QToolButton::clicked, this, &UpDownSpinner::stepUp);
    connect(down_, &QToolButton::clicked, this, &UpDownSpinner::stepDown);
}

void UpDownSpinner::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    setValue(value_);
}

void UpDownSpinner::setValue(int value) {
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_)
        return;
    value_ = value;
    QAccessibleValueChangeEvent change(this, value_);
    QAccessible::updateAccessibility(&change);
    emit valueChanged(value_);
}

void UpDownSpinner::setAccessibleNames(const QString& name) {
    setAccessibleName(name);
    up_->setAccessibleName(name + QStringLiteral(" up"));
    down_->setAccessibleName(name + QStringLiteral(" down"));
}

void UpDownSpinner::resizeEvent(QResizeEvent*) {
    placeButtons();
}

// While the spinner has the focus its buttons step aside for a frame that shows it.
void UpDownSpinner::placeButtons() {
    const QRect inside = hasFocus() ? rect().adjusted(1, 1, -1, -1) : rect();
    const int upper = inside.height() / 2;
    up_->setGeometry(inside.left(), inside.top(), inside.width(), upper);
    down_->setGeometry(inside.left(), inside.top() + upper, inside.width(),
                       inside.height() - upper);
}

void UpDownSpinner::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        stepUp();
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        stepDown();
        break;
    case Qt::Key_Home:
        setValue(minimum_);
        break;
    case Qt::Key_End:
        setValue(maximum_);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void UpDownSpinner::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    placeButtons();
    update();
}

void UpDownSpinner::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    placeButtons();
    update();
}

void UpDownSpinner::paintEvent(QPaintEvent*) {
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace wirevane
