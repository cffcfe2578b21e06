#pragma once

#include <QString>

class QPlainTextEdit;

namespace wirevane {

// The object text box shows lines; everything that reads it (compiler, save, the unsaved-
// changes test, clipboard, selection positions) sees them separated by CR LF. A CR or an LF
// that is not part of a CR LF pair is an ordinary character of its line, so the box shows it
// as its control picture (U+240D, U+240A) instead of breaking the line there; that keeps such
// text unchanged through a load and a save.

constexpr char16_t kLoneCrPicture = u'\u240D';
constexpr char16_t kLoneLfPicture = u'\u240A';

// The text as the box holds it (from setPlainText's point of view) for a CR LF text, and back.
// The box's own line separators (paragraph and line separators, LF) all become CR LF.
QString crLfToBoxText(const QString& crLfText);
QString boxTextToCrLf(const QString& boxText);

// The box's whole text as CR LF text, and setting it from CR LF text.
QString crLfText(const QPlainTextEdit& box);
void setCrLfText(QPlainTextEdit& box, const QString& crLfText);

// A cursor position in the box as a position in its CR LF text (each line break counts two),
// and back; a CR LF position between CR and LF maps to the end of that line.
int toCrLfPosition(const QPlainTextEdit& box, int boxPosition);
int toBoxPosition(const QPlainTextEdit& box, int crLfPosition);

} // namespace wirevane
