#pragma once

#include <QString>

class QWidget;

namespace wirevane {

class FileCommands;
class ObjectWindow;

// Whether the path names a shape file of another program (OBJ, PLY, STL, OFF) by its extension.
bool isShapeFile(const QString& path);

// Opens the shape at path as the text of a new, unsaved object ("noname.kfm"), as a dropped
// text file opens. A file that cannot be read, or a shape an object cannot hold, is told in a
// message and opens nothing. Returns the window, or nullptr.
ObjectWindow* openShapeFile(QWidget* reportTo, FileCommands& commands, const QString& path);

} // namespace wirevane
