#pragma once
// A scripted stand-in for the program's dialogs, shared by the window tests.
//
//   ScriptedPrompts prompts;                    // installs itself, restores Qt's dialogs on exit
//   prompts.answers = {Prompts::Answer::Yes};   // what each Yes/No/Cancel question answers
//   prompts.saveNames = {"/tmp/x/cube.kfm"};    // what each save dialog returns ("" = cancel)
//   prompts.saveFilters = {"SVG drawing (*.svg)"}; // the filter each one ends on (the first
//                                               // of its list when not scripted)
//   ... drive the window ...
//   EXPECT_EQ(prompts.questions.size(), 1u);    // what was asked, in order
//
// A dialog that the test did not script fails the test and answers as if cancelled.

#include "desktop/ui/prompts.h"

#include <QColor>
#include <QString>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

class ScriptedPrompts : public wirevane::Prompts {
  public:
    // One shown dialog: its title and its text (the filter for file dialogs).
    struct Shown {
        QString title;
        QString text;
    };

    ScriptedPrompts() { wirevane::setPrompts(this); }
    ~ScriptedPrompts() override { wirevane::setPrompts(nullptr); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // The script, consumed front first.
    std::deque<Answer> answers;
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    std::deque<QString> saveFilters;
    std::deque<std::optional<QColor>> colours; // nullopt = the colour dialog was cancelled

    // What the program showed, in order.
    std::vector<Shown> questions;
    std::vector<Shown> errors;
    std::vector<Shown> openDialogs;
    std::vector<Shown> saveDialogs;
    std::vector<QColor> colourDialogs; // the colour each colour dialog started from

    // Everything scripted has been used.
    bool scriptUsedUp() const {
        return answers.empty() && openNames.empty() && saveNames.empty() && saveFilters.empty() &&
               colours.empty();
    }

    Answer askYesNoCancel(QWidget*, const QString& title, const QString& text) override {
        questions.push_back({title, text});
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << title.toStdString() << " / "
                          << text.toStdString();
            return Answer::Cancel;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Answers from the same script; a scripted Cancel fails the test.
    Answer askYesNo(QWidget* parent, const QString& title, const QString& text) override {
        const Answer answer = askYesNoCancel(parent, title, text);
        EXPECT_NE(answer, Answer::Cancel) << "a Yes/No question cannot be cancelled";
        return answer == Answer::Yes ? Answer::Yes : Answer::No;
    }

    void tellError(QWidget*, const QString& title, const QString& text) override {
        errors.push_back({title, text});
    }

    QString openFileName(QWidget*, const QString& title, const QString& filter) override {
        openDialogs.push_back({title, filter});
        return next(openNames, "open", title);
    }

    QString saveFileName(QWidget*, const QString& title, const QString& filter,
                         QString* chosenFilter) override {
        saveDialogs.push_back({title, filter});
        // As Qt's dialog does, an untouched dialog ends on the first filter.
        QString chosen = filter.section(QStringLiteral(";;"), 0, 0);
        if (!saveFilters.empty()) {
            chosen = saveFilters.front();
            saveFilters.pop_front();
        }
        if (chosenFilter)
            *chosenFilter = chosen;
        return next(saveNames, "save", title);
    }

    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override {
        colourDialogs.push_back(initial);
        if (colours.empty()) {
            ADD_FAILURE() << "unscripted colour dialog";
            return std::nullopt;
        }
        const auto colour = colours.front();
        colours.pop_front();
        return colour;
    }

  private:
    static QString next(std::deque<QString>& names, const char* kind, const QString& title) {
        if (names.empty()) {
            ADD_FAILURE() << "unscripted " << kind << " dialog: " << title.toStdString();
            return QString();
        }
        const QString name = names.front();
        names.pop_front();
        return name;
    }
};
