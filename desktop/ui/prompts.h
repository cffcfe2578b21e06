#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace wirevane {

// Every modal question or picker the program shows. The program uses Qt's dialogs; tests
// install a scripted fake, so no test ever waits on a real dialog.
class Prompts {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    // Yes / No / Cancel with a question icon.
    virtual Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) = 0;
    // Yes (the default) / No with a question icon; never Cancel.
    virtual Answer askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A plain message, for failures the user must know about.
    virtual void tellError(QWidget* parent, const QString& title, const QString& text) = 0;
    // Empty when cancelled. filter uses Qt's form: "Name (*.ext);;Other (*)".
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // chosenFilter, when given, receives the filter entry selected at the end, as it stands in
    // filter: "Name (*.ext)".
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 QString* chosenFilter = nullptr) = 0;
    // Empty when cancelled.
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) = 0;
};

// The dialogs of the running program.
Prompts& prompts();
// Replaces the program's prompts (tests); nullptr restores Qt's dialogs.
void setPrompts(Prompts* replacement);

} // namespace wirevane
