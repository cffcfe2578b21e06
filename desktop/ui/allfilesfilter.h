#pragma once

class QFileDialog;

namespace wirevane {

// Makes a filter entry whose pattern is "*.*" ("Alle Dateien (*.*)") show every file, also
// names without a dot, while its caption stays as it is. On Linux "*.*" alone would hide
// names such as "cube" or "README". Works on Qt's own file dialog.
void letAllFilesEntryShowEveryFile(QFileDialog& dialog);

} // namespace wirevane
