#include "desktop/documents/textlines.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace wirevane {
namespace {

bool isBoxLineBreak(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
}

QString rawBoxText(const QPlainTextEdit& box) {
    // toPlainText would turn non-breaking spaces into spaces, a byte the file must keep.
    return box.document()->toRawText();
}

} // namespace

QString crLfToBoxText(const QString& crLfText) {
    QString out;
    out.reserve(crLfText.size());
    for (qsizetype i = 0; i < crLfText.size(); ++i) {
        const QChar c = crLfText[i];
        if (c == u'\r' && i + 1 < crLfText.size() && crLfText[i + 1] == u'\n') {
            out += u'\n';
            ++i;
        } else if (c == u'\r') {
            out += QChar(kLoneCrPicture);
        } else if (c == u'\n') {
            out += QChar(kLoneLfPicture);
        } else {
            out += c;
        }
    }
    return out;
}

QString boxTextToCrLf(const QString& boxText) {
    QString out;
    out.reserve(boxText.size() + boxText.size() / 16);
    for (const QChar c : boxText) {
        if (isBoxLineBreak(c))
            out += u"\r\n";
        else if (c == kLoneCrPicture)
            out += u'\r';
        else if (c == kLoneLfPicture)
            out += u'\n';
        else
            out += c;
    }
    return out;
}

QString crLfText(const QPlainTextEdit& box) {
    return boxTextToCrLf(rawBoxText(box));
}

void setCrLfText(QPlainTextEdit& box, const QString& crLfText) {
    box.setPlainText(crLfToBoxText(crLfText));
}

int toCrLfPosition(const QPlainTextEdit& box, int boxPosition) {
    const QString text = rawBoxText(box);
    const int end = static_cast<int>(std::min<qsizetype>(std::max(boxPosition, 0), text.size()));
    int breaks = 0;
    for (int i = 0; i < end; ++i)
        if (isBoxLineBreak(text[i]))
            ++breaks;
    return end + breaks;
}

int toBoxPosition(const QPlainTextEdit& box, int crLfPosition) {
    const QString text = rawBoxText(box);
    int crLf = 0;
    int position = 0;
    for (; position < text.size(); ++position) {
        const int width = isBoxLineBreak(text[position]) ? 2 : 1;
        if (crLf + width > crLfPosition)
            break;
        crLf += width;
    }
    return position;
}

} // namespace wirevane
