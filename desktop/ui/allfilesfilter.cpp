#include "desktop/ui/allfilesfilter.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>

namespace wirevane {
namespace {

const QString kEveryName = QStringLiteral("*.*");

// The patterns of a filter entry: the words inside its last pair of parentheses.
QStringList patternsOf(const QString& entry) {
    const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
    const qsizetype close = entry.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return {};
    return entry.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

void letAllFilesEntryShowEveryFile(QFileDialog& dialog) {
    const auto widen = [&dialog](const QString& entry) {
        QStringList patterns = patternsOf(entry);
        if (!patterns.contains(kEveryName))
            return;
        patterns.replaceInStrings(QRegularExpression(QStringLiteral("^\\*\\.\\*$")),
                                  QStringLiteral("*"));
        // The dialog has set the entry's own patterns on its model just before.
        if (auto* model = dialog.findChild<QFileSystemModel*>())
            model->setNameFilters(patterns);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, widen);
    widen(dialog.selectedNameFilter());
}

} // namespace wirevane
