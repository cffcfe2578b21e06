#include "tools/tooloutput.h"

#include "engine/sceneexport.h"
#include "tools/toolinput.h"

namespace wirevane {

void writeToolOutput(const std::string& path, const QByteArray& bytes) {
    if (bytes.isEmpty())
        throw InputError{path + ": the picture cannot be made"};
    const QString reason = writeFileReplacing(QString::fromStdString(path), bytes);
    if (!reason.isEmpty())
        throw InputError{path + ": cannot be written (" + reason.toStdString() + ")"};
}

} // namespace wirevane
