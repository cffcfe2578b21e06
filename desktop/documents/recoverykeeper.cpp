#include "desktop/documents/recoverykeeper.h"

#include "core/documents/recoveryfolder.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/ui/prompts.h"

#include <QStringList>
#include <cstdlib>

namespace wirevane {

WindowRecovery::WindowRecovery(ObjectWindow& window, std::shared_ptr<RecoveryFolder> folder,
                               int slot)
    : QObject(&window), window_(window), folder_(std::move(folder)), slot_(slot) {
    setObjectName(QStringLiteral("recovery"));
    pauseTimer.setSingleShot(true);
    pauseTimer.setInterval(kPauseMs);
    longestWaitTimer.setSingleShot(true);
    longestWaitTimer.setInterval(kLongestWaitMs);
    connect(&pauseTimer, &QTimer::timeout, this, &WindowRecovery::writeCopy);
    connect(&longestWaitTimer, &QTimer::timeout, this, &WindowRecovery::writeCopy);
    connect(&window, &ObjectWindow::valuesChanged, this, &WindowRecovery::changed);
    connect(&window, &ObjectWindow::markedSaved, this, &WindowRecovery::saved);
}

// Only the folder may be touched here: the window is already half gone.
WindowRecovery::~WindowRecovery() {
    folder_->remove(slot_);
}

void WindowRecovery::changed() {
    // Every keystroke comes here: nothing but the timers, the work waits for them.
    pauseTimer.start();
    if (!longestWaitTimer.isActive())
        longestWaitTimer.start();
}

void WindowRecovery::saved() {
    pauseTimer.stop();
    longestWaitTimer.stop();
    folder_->remove(slot_);
}

void WindowRecovery::writeCopy() {
    pauseTimer.stop();
    longestWaitTimer.stop();
    if (!window_.hasUnsavedChanges()) {
        folder_->remove(slot_);
        return;
    }
    RecoveryCopy copy;
    copy.name = window_.Text2->text().toStdString();
    copy.path = window_.Text4->text().toStdString();
    copy.values = window_.fileValues();
    const std::string failure = folder_->write(slot_, copy);
    lastWriteWorked_ = failure.empty();
    window_.Text1->setNotice(failure.empty()
                                 ? QString()
                                 : QStringLiteral("Recovery copies cannot be written (%1).")
                                       .arg(QString::fromStdString(failure)));
}

std::filesystem::path RecoveryKeeper::defaultFolder() {
    return recoveryFolderPath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

RecoveryKeeper::RecoveryKeeper(FileCommands& files, std::filesystem::path folder)
    : files_(files), folder_(std::make_shared<RecoveryFolder>(std::move(folder))) {
    connect(&files, &FileCommands::windowCreated, this, &RecoveryKeeper::watch);
}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::watch(ObjectWindow* window) {
    new WindowRecovery(*window, folder_, nextSlot_++);
}

WindowRecovery* RecoveryKeeper::of(ObjectWindow& window) {
    return window.findChild<WindowRecovery*>(QString(), Qt::FindDirectChildrenOnly);
}

namespace {

// A few names and how many more, so that hundreds of files still make a box that fits.
QString listedNames(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 10;
    QStringList lines;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i)
        lines << QString::fromStdString(names[i]);
    if (names.size() > kShown)
        lines << QStringLiteral("and %1 more").arg(names.size() - kShown);
    return lines.join(u'\n');
}

} // namespace

void RecoveryKeeper::offerLeftCopies(QWidget* parent) {
    const LeftCopies left = folder_->takeLeftCopies();
    QStringList notes;
    if (!left.unreadable.empty())
        notes << QStringLiteral("These recovery files cannot be read and were kept in %1:\n%2")
                     .arg(QString::fromStdString((folder_->folder() / "unreadable").string()),
                          listedNames(left.unreadable));
    if (!left.newer.empty())
        notes << QStringLiteral("These recovery files were made by a newer Wirevane and were "
                                "left in %1:\n%2")
                     .arg(QString::fromStdString(folder_->folder().string()),
                          listedNames(left.newer));
    const QString note = notes.join(QStringLiteral("\n\n"));
    if (left.readable.empty()) {
        if (!note.isEmpty())
            prompts().tellError(parent, QStringLiteral("Unsaved objects not recovered"), note);
        folder_->finishTaken();
        return;
    }
    QString text = QStringLiteral("Wirevane ended without saving %1 object(s). Open them again?\n\n"
                                  "No deletes them. Cancel keeps them for the next start.")
                       .arg(left.readable.size());
    if (!note.isEmpty())
        text += QStringLiteral("\n\n") + note;
    switch (prompts().askYesNoCancel(parent, QStringLiteral("Recover unsaved objects?"), text)) {
    case Prompts::Answer::Yes:
        for (std::size_t i = 0; i < left.readable.size(); ++i) {
            const RecoveryCopy& copy = left.readable[i];
            ObjectWindow* window = files_.openRecovered(
                QString::fromStdString(copy.name), QString::fromStdString(copy.path), copy.values);
            // The old copy goes once this run keeps its own, or once the window is saved or
            // discarded; until then this run holds it.
            WindowRecovery* recovery = of(*window);
            folder_->inherit(recovery->slot(), i);
            recovery->writeCopy();
        }
        return;
    case Prompts::Answer::No:
        folder_->finishTaken();
        return;
    case Prompts::Answer::Cancel: // Escape or the window closed: asked again next start
        folder_->releaseTaken();
        return;
    }
}

} // namespace wirevane
