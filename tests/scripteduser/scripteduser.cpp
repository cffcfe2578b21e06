// A user for the real program in a test: Qt loads it into the process as a generic plugin
// (QT_QPA_GENERIC_PLUGINS=scripteduser:MODE), so the program runs unchanged. It answers every
// message box with its default button and closes other modal windows. MODE "type" types a
// remark into the first object window; MODE "report" prints every object window's name and
// text on standard output and ends the process. Each line it prints starts with what it saw.
#include <QApplication>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

class ScriptedUser : public QObject {
  public:
    explicit ScriptedUser(const QString& mode) : mode_(mode) {
        connect(&tick_, &QTimer::timeout, this, &ScriptedUser::act);
        tick_.start(50);
    }

  private:
    static void say(const QString& line) {
        std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
        std::fflush(stdout);
    }

    QList<QWidget*> objectWindows() const {
        QList<QWidget*> windows;
        for (QWidget* widget : QApplication::allWidgets())
            if (widget->objectName() == QLatin1String("Form2"))
                windows << widget;
        return windows;
    }

    void act() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            say(QStringLiteral("question|%1|%2").arg(box->windowTitle(), box->text()));
            box->defaultButton()->click();
            return;
        }
        const QList<QWidget*> windows = objectWindows();
        if (mode_ == QLatin1String("report") && !windows.isEmpty()) {
            for (QWidget* window : windows)
                say(QStringLiteral("window|%1|%2")
                        .arg(window->findChild<QLineEdit*>(QStringLiteral("Text2"))->text(),
                             window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
                                 ->toPlainText()
                                 .section(QLatin1Char('\n'), 0, 0)));
            ::_exit(0);
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            return;
        }
        if (mode_ == QLatin1String("type") && !typed_ && !windows.isEmpty()) {
            auto* text = windows[0]->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
            for (const QChar c : QStringLiteral("' typed, then killed\n")) {
                const int key = c == u'\n' ? Qt::Key_Return : 0;
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
                QApplication::sendEvent(text, &press);
                QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
                QApplication::sendEvent(text, &release);
            }
            typed_ = true;
            say(QStringLiteral("typed"));
        }
    }

    QString mode_;
    QTimer tick_;
    bool typed_ = false;
};

class ScriptedUserPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "scripteduser.json")

  public:
    QObject* create(const QString&, const QString& mode) override { return new ScriptedUser(mode); }
};

} // namespace

#include "scripteduser.moc"
