#pragma once

#include "engine/objecttextanalysis.h"

#include <QPlainTextEdit>
#include <QTimer>
#include <vector>

namespace wirevane {

// The object text box with a narrow gutter in its left viewport margin: each point line's
// number, a quiet mark on the blank line that ends the points, and a warning or error sign on
// lines the compiler will read differently from how they look. Hovering a sign or a line
// shows its messages. The gutter only shows; the text is the box's as ever.
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

  private:
    void textEdited();
    void analyseNow();
    void placeGutter();
    int lineOf(const QTextBlock& block, int layoutLine) const;
    const LineAnalysis* lineInfo(int line) const;

    QWidget* gutter_;
    QTimer analysisTimer_;
    TextAnalysis analysis_;
    std::vector<int> blockFirstLine_; // the compiler line each block starts with
    int digits_ = 3;                  // of the widest point number shown
    QString notice_;
};

} // namespace wirevane
