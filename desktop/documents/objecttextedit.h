#pragma once

#include "core/engine/objectmeasures.h"
#include "core/engine/objecttextanalysis.h"

#include <QPlainTextEdit>
#include <QTimer>
#include <memory>
#include <vector>

namespace wirevane {

class SpokenNote;

// The object text box with a narrow gutter in its left viewport margin: each point line's
// number, a quiet mark on the blank line that ends the points, and a warning or error sign on
// lines the compiler will read differently from how they look. Hovering a sign or a line
// shows its messages, with what the line measures (a point's values, a connection's length).
// F8 and Shift+F8 take the caret to the next and previous line with a finding and tell it at
// the caret; Ctrl+F8 tells about the caret's line. Escape and then Tab leaves the box. The
// gutter only shows; the text is the box's as ever.
class ObjectTextEdit : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit ObjectTextEdit(QWidget* parent = nullptr);

    // Larger texts are analysed once typing pauses for this long, not on every keystroke.
    static constexpr int kAnalysisDelayMs = 150;
    static constexpr int kAnalyseAtOnceBelowBlocks = 20000;

    // What the compiler makes of the text as it stands (runs a pending analysis first).
    const TextAnalysis& analysis();
    // The messages of a line (0-based, lines as the compiler cuts them), one per line of
    // text; empty when it has none.
    QString messagesOfLine(int line) const;
    // The messages of a line followed by what it measures: what its tool tip and the caret
    // note show.
    QString noteOfLine(int line) const;
    // The compiler line the caret is on.
    int caretLine() const;

    // The axis order the lengths are measured with, as the axis-order field holds it.
    void setAxisOrderText(const QString& axisOrder);

    // F8: the caret to the next line with a finding (backwards: the previous one), wrapping
    // around; its note is shown at the caret and becomes the box's accessible description, so
    // that a screen reader says it. False when the text has no finding.
    bool goToFinding(bool forward);
    // Ctrl+F8: the note of the caret's line, shown and said the same way.
    void tellCaretLine();
    // The compiler line shown at a point of the viewport or of the gutter; -1 for none.
    int lineAtViewportPoint(const QPoint& point) const;
    int lineAtGutterY(int y) const;

    // A note about the box as a whole, as a sign at the foot of the gutter with the note as its
    // tool tip; empty for none.
    void setNotice(const QString& notice);
    const QString& notice() const { return notice_; }
    bool isNoticeAtGutterY(int y) const;

    QWidget* gutter() const { return gutter_; }
    int gutterWidth() const;
    void paintGutter(QPaintEvent* event);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void textEdited();
    void analyseNow();
    void placeGutter();
    int lineOf(const QTextBlock& block, int layoutLine) const;
    const LineAnalysis* lineInfo(int line) const;
    void moveCaretToLine(int line, int column);
    void tell(const QString& note);

    QWidget* gutter_;
    QTimer analysisTimer_;
    TextAnalysis analysis_;
    std::unique_ptr<ObjectMeasures> measures_;
    QString axisOrder_ = QStringLiteral("0");
    SpokenNote* caretNote_ = nullptr; // made on first use
    int toldLine_ = -1;               // the line the description tells about; -1: none
    QString plainDescription_;        // the description without a note
    bool tabLeaves_ = false;          // Escape was the last key: Tab leaves the box
    std::vector<int> blockFirstLine_; // the compiler line each block starts with
    int digits_ = 3;                  // of the widest point number shown
    QString notice_;
};

} // namespace wirevane
