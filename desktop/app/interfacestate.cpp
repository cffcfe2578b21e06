#include "desktop/app/interfacestate.h"

#include "desktop/app/mainwindow.h"
#include "desktop/documents/editcommands.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

namespace wirevane {

const QString InterfaceState::kNoFile = QStringLiteral(" No file ");
const QString InterfaceState::kNoName = QStringLiteral(" noname.kfm ");
const QString InterfaceState::kNotice =
    QStringLiteral(" Type points and connections, then Ctrl+A animates the object ");

namespace {

QLabel* makePanel(QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    return panel;
}

} // namespace

InterfaceState::InterfaceState(MainWindow& frame) : frame_(frame) {
    QLabel* fileText = makePanel(frame_.StatusBar1);
    fileText->setObjectName(QStringLiteral("Panel1"));
    frame_.StatusBar1->addWidget(fileText);
    panels_.push_back(fileText);
    clipboardChanged();
}

void InterfaceState::clipboardChanged() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    clipboardHoldsText_ = data != nullptr && data->hasText() && !data->text().isEmpty();
}

QLabel* InterfaceState::statusPanel(int index) const {
    if (index < 1 || index > statusPanelCount())
        return nullptr;
    return panels_[static_cast<size_t>(index - 1)];
}

void InterfaceState::setCommand(QAction* menuEntry, int buttonIndex, bool enabled) {
    if (menuEntry != nullptr)
        menuEntry->setEnabled(enabled);
    if (QAction* button = frame_.toolbarButton(buttonIndex))
        button->setEnabled(enabled);
}

void InterfaceState::Timer1_Timer() {
    // 1. to 4. Which commands apply: a selection in whatever control has the focus, in any
    // window of the program; an object window, recognised by being there, not by its path's
    // text; text on the clipboard.
    const std::optional<QString> selection = selectedText(QApplication::focusWidget());
    const bool hasSelection = selection.has_value() && !selection->isEmpty();
    ObjectWindow* window = frame_.activeObjectWindow();
    const bool windowActive = window != nullptr;
    for (const FrameCommand& command : MainWindow::commands()) {
        bool applies = true;
        switch (command.needs) {
        case CommandNeeds::Nothing:
            continue;
        case CommandNeeds::Selection:
            applies = hasSelection;
            break;
        case CommandNeeds::ObjectWindow:
            applies = windowActive;
            break;
        case CommandNeeds::TextToPaste:
            applies = windowActive && clipboardHoldsText_;
            break;
        }
        setCommand(frame_.*command.entry, command.button.position, applies);
    }

    // 5. The first run builds the four panels.
    if (statusPanelsReady == 0)
        addStatusPanels();

    // 6. File text; a document never saved has no path yet.
    statusFileText = window != nullptr ? window->Text4->text() : kNoFile;
    if (statusFileText.isEmpty())
        statusFileText = kNoName;

    // 7. and 8. Time and date, written only when they change.
    const QDateTime now = clock();
    const QString time = now.time().toString(QStringLiteral("hh:mm:ss"));
    if (time != shownTime) {
        shownTime = time;
        panels_[1]->setText(time);
    }
    const QString date = QLocale::system().toString(now.date(), QLocale::ShortFormat);
    if (date != shownDate) {
        shownDate = date;
        panels_[2]->setText(date);
    }

    // 9. File panel.
    if (!statusFileText.isEmpty())
        panels_[0]->setText(QLatin1Char(' ') + statusFileText + QLatin1Char(' '));

    placeLogo();
}

void InterfaceState::addStatusPanels() {
    QStatusBar* bar = frame_.StatusBar1;
    for (int number = 2; number <= kPanelCount; ++number) {
        QLabel* panel = makePanel(bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(number));
        panels_.push_back(panel);
    }
    statusPanelsReady = 1;

    QLabel* notice = panels_[3];
    notice->setText(kNotice);
    notice->setFrameStyle(QFrame::NoFrame);
    notice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    notice->setMinimumWidth(0);
    notice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    panels_[1]->setAlignment(Qt::AlignCenter);
    panels_[2]->setAlignment(Qt::AlignCenter);
    panels_[2]->setFixedWidth(twipsToPixels(kDatePanelTwips));

    bar->addWidget(panels_[1]);
    bar->addWidget(panels_[2]);
    bar->addWidget(notice, 1);
}

void InterfaceState::placeLogo() {
    QLabel* logo = frame_.Image2;
    if (logo == nullptr)
        return;
    const int frameWidth = frame_.width();
    if (pixelsToTwips(frameWidth) > kNarrowFrameTwips) {
        // The logo lives on the toolbar; its left edge goes to the frame's width less its own.
        const QPoint toolbarOrigin = frame_.Toolbar1->mapTo(&frame_, QPoint(0, 0));
        const int left = frameWidth - logo->width() - toolbarOrigin.x();
        const int top = (frame_.Toolbar1->height() - logo->height()) / 2;
        if (logo->pos() != QPoint(left, top))
            logo->move(left, top);
        if (logo->isHidden())
            logo->show();
    } else if (!logo->isHidden()) {
        logo->hide();
    }
}

} // namespace wirevane
