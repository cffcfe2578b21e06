#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace wirevane {

// The five edit commands on the selection of one text control (a multi- or single-line text
// box). Text leaving or entering a multi-line box crosses the clipboard with CR LF line breaks.
// A control without a text selection, or nullptr, makes each command do nothing.

// The selected text as the program's texts hold it (CR LF); nullopt when the control has no
// text selection at all.
std::optional<QString> selectedText(const QWidget* control);

void cutSelection(QWidget* control);
void copySelection(QWidget* control);
void pasteClipboard(QWidget* control);
void deleteSelection(QWidget* control);
void selectWholeText(QWidget* control);

} // namespace wirevane
