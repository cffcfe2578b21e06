#include "desktop/ui/prompts.h"

#include "desktop/ui/allfilesfilter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace wirevane {
namespace {

class DialogPrompts : public Prompts {
  public:
    Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) override {
        const auto button = QMessageBox::question(
            parent, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            QMessageBox::Yes);
        if (button == QMessageBox::Yes)
            return Answer::Yes;
        if (button == QMessageBox::No)
            return Answer::No;
        return Answer::Cancel;
    }

    Answer askYesNo(QWidget* parent, const QString& title, const QString& text) override {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes
                   ? Answer::Yes
                   : Answer::No;
    }

    void tellError(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox::warning(parent, title, text);
    }

    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override {
        return fileName(parent, title, filter, QFileDialog::AcceptOpen, nullptr);
    }

    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         QString* chosenFilter) override {
        return fileName(parent, title, filter, QFileDialog::AcceptSave, chosenFilter);
    }

    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override {
        const QColor colour = QColorDialog::getColor(initial, parent);
        if (!colour.isValid())
            return std::nullopt;
        return colour;
    }

  private:
    static QString fileName(QWidget* parent, const QString& title, const QString& filter,
                            QFileDialog::AcceptMode mode, QString* chosenFilter) {
        QFileDialog dialog(parent, title, QString(), filter);
        // Qt's own dialog, where "Alle Dateien (*.*)" can be made to show every file.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(mode);
        if (mode == QFileDialog::AcceptOpen) {
            dialog.setFileMode(QFileDialog::ExistingFile);
        } else {
            // The program asks about existing files itself, with its own question.
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
            dialog.setFileMode(QFileDialog::AnyFile);
        }
        letAllFilesEntryShowEveryFile(dialog);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        if (chosenFilter)
            *chosenFilter = dialog.selectedNameFilter();
        return dialog.selectedFiles().value(0);
    }
};

DialogPrompts dialogPrompts;
Prompts* current = nullptr;

} // namespace

Prompts& prompts() {
    return current ? *current : dialogPrompts;
}
void setPrompts(Prompts* replacement) {
    current = replacement;
}

} // namespace wirevane
