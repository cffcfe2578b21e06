#include "desktop/documents/editcommands.h"

#include "desktop/documents/textlines.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace wirevane {

namespace {

// Text from other programs may break its lines with LF or CR alone; each becomes a line.
QString withCrLfBreaks(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            result += QStringLiteral("\r\n");
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            result += QStringLiteral("\r\n");
        } else {
            result += c;
        }
    }
    return result;
}

bool isReadOnly(const QWidget* control) {
    if (auto* box = qobject_cast<const QPlainTextEdit*>(control))
        return box->isReadOnly();
    if (auto* field = qobject_cast<const QLineEdit*>(control))
        return field->isReadOnly();
    return true;
}

// Replaces the selection with text given in the program's CR LF form; the caret ends after it.
void replaceSelection(QWidget* control, const QString& text) {
    if (isReadOnly(control))
        return;
    if (auto* box = qobject_cast<QPlainTextEdit*>(control))
        box->insertPlainText(crLfToBoxText(text));
    else if (auto* field = qobject_cast<QLineEdit*>(control))
        field->insert(text);
}

} // namespace

std::optional<QString> selectedText(const QWidget* control) {
    if (auto* box = qobject_cast<const QPlainTextEdit*>(control))
        return boxTextToCrLf(box->textCursor().selectedText());
    if (auto* field = qobject_cast<const QLineEdit*>(control))
        return field->selectedText();
    return std::nullopt;
}

void copySelection(QWidget* control) {
    const std::optional<QString> text = selectedText(control);
    if (!text || text->isEmpty())
        return;
    QGuiApplication::clipboard()->setText(*text);
}

void cutSelection(QWidget* control) {
    const std::optional<QString> text = selectedText(control);
    if (!text || text->isEmpty())
        return;
    QGuiApplication::clipboard()->setText(*text);
    replaceSelection(control, QString());
}

void pasteClipboard(QWidget* control) {
    if (!selectedText(control))
        return;
    const QString text = QGuiApplication::clipboard()->text();
    // An empty clipboard would only wipe the selection.
    if (text.isEmpty())
        return;
    replaceSelection(control, withCrLfBreaks(text));
}

void deleteSelection(QWidget* control) {
    const std::optional<QString> text = selectedText(control);
    if (!text || text->isEmpty())
        return;
    replaceSelection(control, QString());
}

void selectWholeText(QWidget* control) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(control))
        box->selectAll();
    else if (auto* field = qobject_cast<QLineEdit*>(control))
        field->selectAll();
}

} // namespace wirevane
