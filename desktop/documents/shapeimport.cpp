#include "desktop/documents/shapeimport.h"

#include "core/documents/objectfile.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/ui/prompts.h"
#include "formats/shapes/shapeimport.h"
#include "formats/shapes/shapereaders.h"

#include <QFile>
#include <QFileInfo>

namespace wirevane {

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
    // No more than the limit and a byte: importShape says what is too large.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxShapeFileBytes) + 1);
    const ImportedShape shape =
        importShape(path.toStdString(),
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!shape.reason.empty()) {
        prompts().tellError(reportTo, title, QString::fromStdString(shape.reason));
        return nullptr;
    }
    const QString text = QString::fromStdString(shape.text);
    ObjectWindow* window = commands.MNew_Click();
    window->setObjectText(text);
    return window;
}

} // namespace wirevane
