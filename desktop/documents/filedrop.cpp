#include "desktop/documents/filedrop.h"

#include "core/documents/codepage1252.h"
#include "core/documents/objectfile.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/documents/shapeimport.h"
#include "desktop/ui/prompts.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStringDecoder>
#include <QTimer>
#include <QWidget>

namespace wirevane {
namespace {

const QString kNotOpened = QStringLiteral("File not opened");

// A text file's bytes as text: by its byte-order mark, else UTF-8 when it is valid UTF-8,
// else the code page object files use.
QString decodeText(const QByteArray& bytes) {
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder.decode(bytes);
    }
    // Stateless: a sequence cut off at the end is an error, not the start of more.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    const std::string_view raw(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return QString::fromStdString(windows1252ToUtf8(raw));
}

// Every line break of the file (CR LF, a lone LF, a lone CR) as the CR LF the object text uses.
QString withCrLf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

} // namespace

FileDrop::FileDrop(QWidget& frame, FileCommands& commands) : frame_(frame), commands_(commands) {
    frame.setAcceptDrops(true);
    // The object windows' text boxes take drops of their own; files must reach us first.
    qApp->installEventFilter(this);
}

FileDrop::Kind FileDrop::kindOf(const QUrl& url) {
    if (!url.isLocalFile())
        return Kind::Refused;
    const QFileInfo info(url.toLocalFile());
    if (!info.isFile())
        return Kind::Refused;
    if (info.suffix().compare(QLatin1String("kfm"), Qt::CaseInsensitive) == 0)
        return Kind::ObjectFile;
    // Before text: an OBJ or an ASCII PLY is text too, but not an object text.
    if (isShapeFile(info.filePath()))
        return Kind::ShapeFile;
    const QMimeDatabase types;
    if (types.mimeTypeForFile(info).inherits(QStringLiteral("text/plain")))
        return Kind::TextFile;
    return Kind::Refused;
}

bool FileDrop::acceptable(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty())
        return false;
    for (const QUrl& url : data->urls()) {
        if (kindOf(url) == Kind::Refused)
            return false;
    }
    return true;
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &frame_)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (drop->mimeData() == nullptr || !drop->mimeData()->hasUrls())
        return false; // text being dragged
    if (!acceptable(drop->mimeData())) {
        drop->ignore(); // the pointer shows that it cannot be dropped here
        return true;
    }
    // Copy, never move: the files stay where they are.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        // Messages about the files must not hold up the program the files came from.
        QTimer::singleShot(0, this, [this, urls = drop->mimeData()->urls()] { openFiles(urls); });
    }
    return true;
}

void FileDrop::openFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        switch (kindOf(url)) {
        case Kind::ObjectFile:
            commands_.openReadableFile(url.toLocalFile());
            break;
        case Kind::ShapeFile:
            openShapeFile(&frame_, commands_, url.toLocalFile());
            break;
        case Kind::TextFile:
            openTextFile(url.toLocalFile());
            break;
        case Kind::Refused:
            prompts().tellError(
                &frame_, kNotOpened,
                QStringLiteral("%1 is not an object file, a shape file or a text file.")
                    .arg(url.toDisplayString(QUrl::PreferLocalFile)));
            break;
        }
    }
}

void FileDrop::openTextFile(const QString& path) {
    const QString tooLarge =
        QStringLiteral("The file %1 is too large for an object text, which holds at most %2 "
                       "characters.")
            .arg(path)
            .arg(kMaxObjectTextBytes);
    // No character takes more than four bytes, so a larger file cannot fit.
    constexpr qint64 kMostBytesPerCharacter = 4;
    QFile file(path);
    if (file.size() > static_cast<qint64>(kMaxObjectTextBytes) * kMostBytesPerCharacter) {
        prompts().tellError(&frame_, kNotOpened, tooLarge);
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        prompts().tellError(
            &frame_, kNotOpened,
            QStringLiteral("The file %1 could not be read.\n\n%2").arg(path, file.errorString()));
        return;
    }
    const QString text = withCrLf(decodeText(file.readAll()));
    // An object file keeps one byte a character.
    if (static_cast<std::size_t>(text.toUcs4().size()) > kMaxObjectTextBytes) {
        prompts().tellError(&frame_, kNotOpened, tooLarge);
        return;
    }
    ObjectWindow* window = commands_.MNew_Click();
    window->setObjectText(text);
}

} // namespace wirevane
