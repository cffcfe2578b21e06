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

void RecoveryKeeper::offerLeftCopies(QWidget* parent) {
    const LeftCopies left = folder_->takeLeftCopies();
    QString unreadable;
    if (!left.unreadable.empty()) {
        QStringList names;
        for (const std::string& name : left.unreadable)
            names << QString::fromStdString(name);
        unreadable = QStringLiteral("These recovery files cannot be read and were kept in %1:\n%2")
                         .arg(QString::fromStdString((folder_->folder() / "unreadable").string()),
                              names.join(u'\n'));
    }
    if (left.readable.empty()) {
        if (!unreadable.isEmpty())
            prompts().tellError(parent, QStringLiteral("Unsaved objects not recovered"),
                                unreadable);
        folder_->finishTaken();
        return;
    }
    QString text = QStringLiteral("Wirevane ended without saving %1 object(s). Open them again?")
                       .arg(left.readable.size());
    if (!unreadable.isEmpty())
        text += QStringLiteral("\n\n") + unreadable;
    if (prompts().askYesNo(parent, QStringLiteral("Recover unsaved objects?"), text) ==
        Prompts::Answer::Yes) {
        bool allKept = true;
        for (const RecoveryCopy& copy : left.readable) {
            ObjectWindow* window = files_.openRecovered(
                QString::fromStdString(copy.name), QString::fromStdString(copy.path), copy.values);
            // The old copy goes only once this run keeps its own.
            WindowRecovery* recovery = of(*window);
            recovery->writeCopy();
            allKept = allKept && recovery->lastWriteWorked();
        }
        if (!allKept) {
            folder_->releaseTaken();
            return;
        }
    }
    folder_->finishTaken();
}

} // namespace wirevane
