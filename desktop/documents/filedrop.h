#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

class QMimeData;
class QWidget;

namespace wirevane {

class FileCommands;

// Files dragged onto the main window, anywhere over it, its object windows included: object
// files open each in a window of its own as Load opens them, a plain text file or the shape
// file of another program (OBJ, PLY, STL, OFF) becomes the text of a new object, and anything else
// is refused while it is still being dragged. Text dragged between text boxes is no concern of this
// and goes its usual way.
class FileDrop : public QObject {
    Q_OBJECT

  public:
    enum class Kind { ObjectFile, ShapeFile, TextFile, Refused };

    FileDrop(QWidget& frame, FileCommands& commands);

    static Kind kindOf(const QUrl& url);
    // Whether the dragged data are files that can all be opened.
    static bool acceptable(const QMimeData* data);

    // Opens each file in order; a file that cannot be opened is reported and opens nothing.
    void openFiles(const QList<QUrl>& urls);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void openTextFile(const QString& path);

    QWidget& frame_;
    FileCommands& commands_;
};

} // namespace wirevane
