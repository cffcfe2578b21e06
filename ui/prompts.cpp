#include "ui/prompts.h"

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

    void tellError(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox::warning(parent, title, text);
    }

    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    }

    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override {
        // The program asks about existing files itself, with its own question.
        return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }

    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override {
        const QColor colour = QColorDialog::getColor(initial, parent);
        if (!colour.isValid())
            return std::nullopt;
        return colour;
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
