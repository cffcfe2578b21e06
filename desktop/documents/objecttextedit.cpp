#include "desktop/documents/objecttextedit.h"

#include "core/engine/scene.h"
#include "desktop/documents/textlines.h"
#include "desktop/ui/accessibility.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace wirevane {
namespace {

const QColor kWarningColour(0xD9, 0x9A, 0x00);
const QColor kErrorColour(0xCC, 0x2A, 0x2A);
const QColor kNoticeColour(0x2A, 0x6F, 0xCC);
constexpr int kPadding = 3;

// The gutter is only a surface: the text box paints it and answers its tool tips.
class Gutter : public QWidget {
  public:
    explicit Gutter(ObjectTextEdit* edit) : QWidget(edit), edit_(edit) {
        setObjectName(QStringLiteral("Text1Gutter"));
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent* event) override { edit_->paintGutter(event); }

    bool event(QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return QWidget::event(event);
        const auto* help = static_cast<QHelpEvent*>(event);
        const int y = help->pos().y();
        showMessages(edit_->isNoticeAtGutterY(y) ? edit_->notice()
                                                 : edit_->noteOfLine(edit_->lineAtGutterY(y)),
                     help->globalPos(), this);
        return true;
    }

  public:
    static void showMessages(const QString& messages, const QPoint& at, QWidget* over) {
        if (messages.isEmpty()) {
            QToolTip::hideText();
            return;
        }
        // Rich text so that a quoted "<" in a message cannot be taken for markup.
        QString html = QStringLiteral("<p style='white-space:pre'>");
        html += messages.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
        html += QStringLiteral("</p>");
        QToolTip::showText(at, html, over);
    }

  private:
    ObjectTextEdit* edit_;
};

void drawSign(QPainter& painter, const QRectF& box, bool error,
              const QColor& round = kErrorColour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal side = std::min(box.width(), box.height());
    const QRectF sign(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    if (error) {
        painter.setBrush(round);
        painter.drawEllipse(sign);
    } else {
        QPainterPath triangle;
        triangle.moveTo(sign.center().x(), sign.top());
        triangle.lineTo(sign.right(), sign.bottom());
        triangle.lineTo(sign.left(), sign.bottom());
        triangle.closeSubpath();
        painter.setBrush(kWarningColour);
        painter.drawPath(triangle);
    }
    // The exclamation mark: a bar and a dot.
    painter.setBrush(Qt::white);
    const qreal stroke = std::max<qreal>(1.5, side / 7);
    const qreal x = sign.center().x() - stroke / 2;
    const qreal barTop = sign.top() + side * (error ? 0.2 : 0.32);
    painter.drawRect(QRectF(x, barTop, stroke, sign.top() + side * 0.62 - barTop));
    painter.drawRect(QRectF(x, sign.top() + side * 0.72, stroke, stroke));
    painter.restore();
}

} // namespace

ObjectTextEdit::ObjectTextEdit(QWidget* parent)
    : QPlainTextEdit(parent), gutter_(new Gutter(this)) {
    analysisTimer_.setSingleShot(true);
    analysisTimer_.setInterval(kAnalysisDelayMs);
    connect(&analysisTimer_, &QTimer::timeout, this, &ObjectTextEdit::analyseNow);
    connect(this, &QPlainTextEdit::textChanged, this, &ObjectTextEdit::textEdited);
    // A note read out on another line would give that line's values to this one.
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (toldLine_ >= 0 && caretLine() != toldLine_) {
            toldLine_ = -1;
            setAccessibleDescription(plainDescription_);
        }
    });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            gutter_->scroll(0, dy);
            if (!notice_.isEmpty()) // it stays at the foot
                gutter_->update();
        } else
            gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    });
    analyseNow();
}

const TextAnalysis& ObjectTextEdit::analysis() {
    if (analysisTimer_.isActive())
        analyseNow();
    return analysis_;
}

void ObjectTextEdit::textEdited() {
    if (document()->blockCount() < kAnalyseAtOnceBelowBlocks)
        analyseNow();
    else
        analysisTimer_.start();
}

void ObjectTextEdit::analyseNow() {
    analysisTimer_.stop();
    // Each block starts a compiler line; a line separator inside a block starts another.
    const QString boxText = document()->toRawText();
    blockFirstLine_.clear();
    blockFirstLine_.reserve(static_cast<std::size_t>(document()->blockCount()));
    blockFirstLine_.push_back(0);
    int line = 0;
    for (const QChar c : boxText) {
        if (c == QChar::ParagraphSeparator)
            blockFirstLine_.push_back(++line);
        else if (c == QChar::LineSeparator || c == u'\n')
            ++line;
    }
    const std::string text = boxTextToCrLf(boxText).toStdString();
    analysis_ = analyzeObjectText(text);
    measures_ = std::make_unique<ObjectMeasures>(text, axisOrder_.toStdString());
    digits_ = std::max(3, static_cast<int>(QString::number(analysis_.pointCount).size()));
    placeGutter();
    gutter_->update();
}

void ObjectTextEdit::setNotice(const QString& notice) {
    if (notice == notice_)
        return;
    notice_ = notice;
    gutter_->update();
}

// The notice's place: the sign column's last line height of the gutter.
static QRect noticePlace(const QWidget* gutter, const QFont& font) {
    const int side = QFontMetrics(font).height();
    return {0, gutter->height() - side - 2 * kPadding, kPadding + side + kPadding,
            side + 2 * kPadding};
}

bool ObjectTextEdit::isNoticeAtGutterY(int y) const {
    const QRect place = noticePlace(gutter_, font());
    return !notice_.isEmpty() && y >= place.top() && y <= place.bottom();
}

int ObjectTextEdit::gutterWidth() const {
    const QFontMetrics metrics(font());
    return kPadding + metrics.height() + kPadding +
           digits_ * metrics.horizontalAdvance(QLatin1Char('9')) + 2 * kPadding;
}

void ObjectTextEdit::placeGutter() {
    const int width = gutterWidth();
    if (viewportMargins().left() != width)
        setViewportMargins(width, 0, 0, 0);
    const QRect view = viewport()->geometry();
    gutter_->setGeometry(view.left() - width, view.top(), width, view.height());
}

void ObjectTextEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    placeGutter();
}

void ObjectTextEdit::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeGutter();
}

bool ObjectTextEdit::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QPlainTextEdit::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    Gutter::showMessages(noteOfLine(lineAtViewportPoint(help->pos())), help->globalPos(),
                         viewport());
    return true;
}

int ObjectTextEdit::lineOf(const QTextBlock& block, int layoutLine) const {
    const auto index = static_cast<std::size_t>(block.blockNumber());
    if (!block.isValid() || index >= blockFirstLine_.size())
        return -1;
    return blockFirstLine_[index] + std::max(layoutLine, 0);
}

const LineAnalysis* ObjectTextEdit::lineInfo(int line) const {
    if (line < 0 || static_cast<std::size_t>(line) >= analysis_.lines.size())
        return nullptr;
    return &analysis_.lines[static_cast<std::size_t>(line)];
}

QString ObjectTextEdit::messagesOfLine(int line) const {
    const LineAnalysis* info = lineInfo(line);
    if (!info)
        return {};
    QStringList messages;
    for (const TextDiagnostic& diagnostic : analysis_.diagnosticsOf(*info))
        messages << QString::fromStdString(diagnostic.message);
    return messages.join(u'\n');
}

QString ObjectTextEdit::noteOfLine(int line) const {
    const LineAnalysis* info = lineInfo(line);
    if (!info || !measures_)
        return {};
    QString note = messagesOfLine(line);
    const QString measure = QString::fromStdString(measures_->measureOf(*info));
    if (!measure.isEmpty())
        note += (note.isEmpty() ? QString() : QStringLiteral("\n")) + measure;
    return note;
}

void ObjectTextEdit::setAxisOrderText(const QString& axisOrder) {
    if (axisOrder == axisOrder_)
        return;
    axisOrder_ = axisOrder;
    analyseNow();
}

int ObjectTextEdit::caretLine() const {
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    // Compiler lines inside a block are cut by line separators, which a wrapped layout line
    // does not show: count them up to the caret.
    int inside = 0;
    const QString text = block.text();
    for (int i = 0; i < cursor.positionInBlock() && i < text.size(); ++i)
        inside += text[i] == QChar::LineSeparator || text[i] == u'\n';
    const auto index = static_cast<std::size_t>(block.blockNumber());
    return index < blockFirstLine_.size() ? blockFirstLine_[index] + inside : -1;
}

void ObjectTextEdit::moveCaretToLine(int line, int column) {
    const auto after = std::upper_bound(blockFirstLine_.begin(), blockFirstLine_.end(), line);
    if (after == blockFirstLine_.begin())
        return;
    const int blockNumber = static_cast<int>(after - blockFirstLine_.begin()) - 1;
    const QTextBlock block = document()->findBlockByNumber(blockNumber);
    if (!block.isValid())
        return;
    const QString text = block.text();
    int start = 0;
    for (int skip = line - blockFirstLine_[static_cast<std::size_t>(blockNumber)];
         skip > 0 && start < text.size(); ++start)
        skip -= text[start] == QChar::LineSeparator || text[start] == u'\n';
    int end = start;
    while (end < text.size() && text[end] != QChar::LineSeparator && text[end] != u'\n')
        ++end;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + std::clamp(start + column - 1, start, end));
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool ObjectTextEdit::goToFinding(bool forward) {
    analysis();
    const int lines = static_cast<int>(analysis_.lines.size());
    const int from = caretLine();
    for (int step = 1; step <= lines; ++step) {
        const int line = ((from + (forward ? step : -step)) % lines + lines) % lines;
        const LineAnalysis& info = analysis_.lines[static_cast<std::size_t>(line)];
        if (info.diagnosticCount == 0)
            continue;
        moveCaretToLine(
            line, analysis_.diagnostics[static_cast<std::size_t>(info.firstDiagnostic)].column);
        tell(noteOfLine(line));
        return true;
    }
    tell(QStringLiteral("No findings"));
    return false;
}

void ObjectTextEdit::tellCaretLine() {
    analysis();
    const QString note = noteOfLine(caretLine());
    tell(note.isEmpty() ? QStringLiteral("Nothing to tell about this line") : note);
}

// The note shows below the caret as a notification, which a screen reader says; it stays the
// box's description while the caret keeps to its line, for a reader that asks again.
void ObjectTextEdit::tell(const QString& note) {
    if (toldLine_ < 0)
        plainDescription_ = accessibleDescription();
    toldLine_ = caretLine();
    setAccessibleDescription(note);
    if (!caretNote_) {
        caretNote_ = new SpokenNote(viewport());
        caretNote_->setFont(QToolTip::font());
    }
    caretNote_->say(note, cursorRect().bottomLeft() + QPoint(0, 2));
}

void ObjectTextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F8) {
        const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)
            goToFinding(modifiers == Qt::NoModifier);
        else if (modifiers == Qt::ControlModifier)
            tellCaretLine();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// Tab types a tab into the object text. Escape and then Tab (or Shift+Tab) leaves it for the
// window's next (or previous) control instead, as code editors do, so the box never keeps the
// focus.
bool ObjectTextEdit::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (caretNote_)
            caretNote_->hide(); // the note was about where the caret stood
        const bool leaving = tabLeaves_;
        tabLeaves_ = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
        if (leaving && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            QAbstractScrollArea::focusNextPrevChild(!back); // the text box itself refuses
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        tabLeaves_ = false;
        if (caretNote_)
            caretNote_->hide();
    }
    return QPlainTextEdit::event(event);
}

int ObjectTextEdit::lineAtViewportPoint(const QPoint& point) const {
    const QTextCursor cursor = cursorForPosition(point);
    const QTextBlock block = cursor.block();
    const QRectF place = blockBoundingGeometry(block).translated(contentOffset());
    if (point.y() < place.top() || point.y() >= place.bottom())
        return -1; // below the last line
    const QTextLine row = block.layout()->lineForTextPosition(cursor.positionInBlock());
    return lineOf(block, row.isValid() ? row.lineNumber() : 0);
}

int ObjectTextEdit::lineAtGutterY(int y) const {
    return lineAtViewportPoint(QPoint(0, y));
}

void ObjectTextEdit::paintGutter(QPaintEvent* event) {
    QPainter painter(gutter_);
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Window));
    painter.setFont(font());

    const QFontMetrics metrics(font());
    const int signSide = std::max(6, metrics.height() - 2 * kPadding);
    const int numberLeft = kPadding + metrics.height() + kPadding;
    const int numberWidth = gutter_->width() - numberLeft - 2 * kPadding;
    const QColor numberColour = palette().color(QPalette::Disabled, QPalette::Text);

    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= area.bottom()) {
        const qreal height = blockBoundingRect(block).height();
        if (block.isVisible() && top + height >= area.top()) {
            const QTextLayout* layout = block.layout();
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine row = layout->lineAt(i);
                const LineAnalysis* info = lineInfo(lineOf(block, i));
                if (!info)
                    continue;
                const qreal y = top + row.y();
                if (info->diagnosticCount > 0)
                    drawSign(painter, QRectF(kPadding, y, metrics.height(), row.height()),
                             info->hasError);
                const QRectF number(numberLeft, y, numberWidth, row.height());
                if (info->kind == LineKind::Point) {
                    // Points past the table's end are not drawn: their numbers show it.
                    painter.setPen(info->number > kMaxPoints ? kErrorColour : numberColour);
                    painter.drawText(number, Qt::AlignRight | Qt::AlignVCenter,
                                     QString::number(info->number));
                } else if (info->kind == LineKind::Separator) {
                    painter.setPen(QPen(numberColour, 1, Qt::DotLine));
                    const qreal middle = std::floor(number.center().y()) + 0.5;
                    painter.drawLine(QPointF(number.left() + signSide / 2.0, middle),
                                     QPointF(number.right(), middle));
                }
            }
        }
        top += height;
        block = block.next();
    }
    if (!notice_.isEmpty()) {
        const QRect place = noticePlace(gutter_, font());
        painter.fillRect(place, palette().color(QPalette::Window));
        drawSign(painter, QRectF(place).adjusted(kPadding, kPadding, -kPadding, -kPadding), true,
                 kNoticeColour);
    }
}

} // namespace wirevane
