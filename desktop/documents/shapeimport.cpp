#include "desktop/documents/shapeimport.h"

#include "core/documents/objectfile.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/ui/prompts.h"
#include "formats/shapes/shapereaders.h"

#include <QFile>
#include <QFileInfo>

namespace wirevane {
namespace {

// As much as wirevane-tool reads: far more than any shape an object can hold.
constexpr qint64 kMaxShapeFileBytes = qint64{16} << 20;

} // namespace

bool isShapeFile(const QString& path) {
    return shapeFormatOf(QFileInfo(path).fileName().toStdString()).has_value();
}

ObjectWindow* openShapeFile(QWidget* reportTo, FileCommands& commands, const QString& path) {
    const QString title = QStringLiteral("File not opened");
    const auto format = shapeFormatOf(QFileInfo(path).fileName().toStdString());
    QFile file(path);
    if (!format || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        prompts().tellError(
            reportTo, title,
            QStringLiteral("The file %1 could not be read.\n\n%2").arg(path, file.errorString()));
        return nullptr;
    }
    if (file.size() > kMaxShapeFileBytes) {
        prompts().tellError(reportTo, title,
                            QStringLiteral("The file %1 is larger than 16 MiB.").arg(path));
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    QString text;
    try {
        const Shape shape = readShape(
            *format, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            FaceEdges::ShapeOnly);
        text = QString::fromStdString(
            shapeObjectText(shape, QFileInfo(path).fileName().toStdString()));
    } catch (const ShapeError& error) {
        const QString message = QString::fromStdString(error.message);
        // The limit names the file itself; a malformed file is named here.
        prompts().tellError(reportTo, title,
                            message.startsWith(QFileInfo(path).fileName())
                                ? message
                                : QStringLiteral("%1: %2").arg(path, message));
        return nullptr;
    }
    if (static_cast<std::size_t>(text.toUcs4().size()) > kMaxObjectTextBytes) {
        prompts().tellError(reportTo, title,
                            QStringLiteral("The shape in %1 is too large for an object text, which "
                                           "holds at most %2 characters.")
                                .arg(path)
                                .arg(kMaxObjectTextBytes));
        return nullptr;
    }
    ObjectWindow* window = commands.MNew_Click();
    window->setObjectText(text);
    return window;
}

} // namespace wirevane
