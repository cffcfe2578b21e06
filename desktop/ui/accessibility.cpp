#include "desktop/ui/accessibility.h"

#include "desktop/ui/focusring.h"
#include "desktop/ui/updownspinner.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <algorithm>
#include <limits>

namespace wirevane {
namespace {

QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

// Qt's own interface toggles a checkable button without a click, and presses a button with a
// click a moment later; the first misses the handlers that listen to clicked, the second makes
// a screen reader's press differ from a click.
class ClickingButton : public QAccessibleWidget {
  public:
    explicit ClickingButton(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? withoutMnemonic(button()->text()) : name;
        }
        return QAccessibleWidget::text(kind);
    }

    // A toggle button (the navigation bar's "Run") is a check box drawn as a button.
    QAccessible::Role role() const override {
        return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        if (const auto* push = qobject_cast<const QPushButton*>(button()))
            state.defaultButton = push->isDefault();
        return state;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << (button()->isCheckable() ? toggleAction() : pressAction());
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            if (widget()->isEnabled())
                button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

class SpinnerValue : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit SpinnerValue(UpDownSpinner* spinner)
        : QAccessibleWidget(spinner, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return QString::number(spinner()->value());
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return spinner()->value(); }
    void setCurrentValue(const QVariant& value) override {
        if (widget()->isEnabled())
            spinner()->setValue(value.toInt());
    }
    QVariant maximumValue() const override { return spinner()->maximum(); }
    QVariant minimumValue() const override { return spinner()->minimum(); }
    QVariant minimumStepSize() const override { return spinner()->singleStep(); }

  private:
    UpDownSpinner* spinner() const { return static_cast<UpDownSpinner*>(widget()); }
};

class NoteNotification : public QAccessibleWidget {
  public:
    explicit NoteNotification(SpokenNote* note)
        : QAccessibleWidget(note, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

// Our windows are plain widgets, which Qt shows a screen reader as fillers; a window is entered
// as a window, a tool window beside it (the bar, the table) as a dialog. A line that parts
// controls is a separator, not an unnamed frame.
class PlainWidget : public QAccessibleWidget {
  public:
    explicit PlainWidget(QWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override {
        if (widget()->isWindow())
            return widget()->windowType() == Qt::Tool ? QAccessible::Dialog : QAccessible::Window;
        return QAccessible::Separator;
    }

    static bool wanted(const QObject* object) {
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (widget == nullptr)
            return false;
        // Only our own: Qt's popups (menus) are plain widgets too, with interfaces of their own.
        if (widget->isWindow())
            return widget->metaObject()->superClass() == &QWidget::staticMetaObject &&
                   QByteArray(widget->metaObject()->className()).startsWith("wirevane::");
        const auto* frame = qobject_cast<const QFrame*>(object);
        return frame != nullptr && frame->metaObject() == &QFrame::staticMetaObject &&
               (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine);
    }
};

// A screen reader that hears a window become active (also again, as a menu closes) goes to the
// window and waits for the focus to be told; Qt tells none when the control had the focus
// already, and the reader is left on the window. It is told again once the window is active.
void tellFocusAgain(QWindow* active) {
    QTimer::singleShot(0, qApp, [active = QPointer<QWindow>(active)] {
        QWidget* focus = QApplication::focusWidget();
        if (active == nullptr || focus == nullptr || focus->window()->windowHandle() != active)
            return;
        QAccessibleEvent told(focus, QAccessible::Focus);
        QAccessible::updateAccessibility(&told);
    });
}

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
    if (PlainWidget::wanted(object))
        return new PlainWidget(static_cast<QWidget*>(object));
    if (auto* note = qobject_cast<SpokenNote*>(object))
        return new NoteNotification(note);
    if (auto* spinner = qobject_cast<UpDownSpinner*>(object))
        return new SpinnerValue(spinner);
    // Whether a button is checkable may change after its interface is made; it is asked anew.
    if (qobject_cast<QPushButton*>(object) || qobject_cast<QCheckBox*>(object))
        return new ClickingButton(static_cast<QAbstractButton*>(object));
    return nullptr;
}

struct NamedColour {
    const char* name;
    int red, green, blue;
};

constexpr NamedColour kColourNames[] = {
    {"black", 0, 0, 0},
    {"white", 255, 255, 255},
    {"light grey", 211, 211, 211},
    {"grey", 128, 128, 128},
    {"dark grey", 64, 64, 64},
    {"red", 255, 0, 0},
    {"dark red", 128, 0, 0},
    {"green", 0, 255, 0},
    {"dark green", 0, 128, 0},
    {"blue", 0, 0, 255},
    {"navy", 0, 0, 128},
    {"yellow", 255, 255, 0},
    {"olive", 128, 128, 0},
    {"cyan", 0, 255, 255},
    {"teal", 0, 128, 128},
    {"magenta", 255, 0, 255},
    {"purple", 128, 0, 128},
    {"orange", 255, 165, 0},
    {"pink", 255, 192, 203},
    {"brown", 150, 75, 0},
    {"light red", 255, 128, 128},
    {"light blue", 128, 128, 255},
    {"light green", 128, 255, 128},
};

} // namespace

SpokenNote::SpokenNote(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("SpokenNote"));
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMargin(3);
    setTextFormat(Qt::PlainText);
}

void SpokenNote::say(const QString& note, const QPoint& at) {
    hide(); // shown anew, so that it is said again
    setText(note);
    adjustSize();
    // Within its parent, as far as it fits.
    const QWidget* room = parentWidget();
    move(std::clamp(at.x(), 0, std::max(0, room->width() - width())),
         std::clamp(at.y(), 0, std::max(0, room->height() - height())));
    raise();
    show();
    if (hiding_)
        hiding_->start();
}

void SpokenNote::setHidingAfter(int milliseconds) {
    if (!hiding_) {
        hiding_ = new QTimer(this);
        hiding_->setSingleShot(true);
        connect(hiding_, &QTimer::timeout, this, &QWidget::hide);
    }
    hiding_->setInterval(milliseconds);
}

void installAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(accessibleFactory);
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, tellFocusAgain);
        FocusRing::install();
    }
    installed = true;
}

QString colourWords(Colour colour) {
    const int red = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    const int blue = static_cast<int>((colour >> 16) & 0xFF);
    const char* nearest = "";
    int best = std::numeric_limits<int>::max();
    for (const NamedColour& named : kColourNames) {
        const int distance = (red - named.red) * (red - named.red) +
                             (green - named.green) * (green - named.green) +
                             (blue - named.blue) * (blue - named.blue);
        if (distance < best) {
            best = distance;
            nearest = named.name;
        }
    }
    const QString hex =
        QStringLiteral("%1").arg((red << 16) | (green << 8) | blue, 6, 16, QLatin1Char('0'));
    return QLatin1String(nearest) + QStringLiteral(", #") + hex.toUpper();
}

} // namespace wirevane
