#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <memory>

class QWidget;

namespace wirevane {

class FileCommands;
class ObjectWindow;
class RecoveryFolder;

// Keeps the recovery copy of one object window: written once changes pause, and at the latest
// a while after the first change, while the window holds unsaved changes; removed when it is
// saved or goes (closed after its question, or at the program's end).
class WindowRecovery : public QObject {
    Q_OBJECT

  public:
    static constexpr int kPauseMs = 2000;
    static constexpr int kLongestWaitMs = 10000;

    WindowRecovery(ObjectWindow& window, std::shared_ptr<RecoveryFolder> folder, int slot);
    ~WindowRecovery() override;

    // Restarted by every change.
    QTimer pauseTimer;
    // Started by the first change after a write, so steady typing is kept too.
    QTimer longestWaitTimer;
    // The handler of both: writes the copy, or removes it when nothing is unsaved. A failure
    // shows as a sign in the text's gutter until a write works again.
    void writeCopy();
    bool lastWriteWorked() const { return lastWriteWorked_; }
    int slot() const { return slot_; }

  private:
    void changed();
    void saved();

    ObjectWindow& window_;
    std::shared_ptr<RecoveryFolder> folder_;
    int slot_;
    bool lastWriteWorked_ = true;
};

// Gives every object window of the frame its recovery copy, and at the start offers the copies
// that runs which have ended left behind.
class RecoveryKeeper : public QObject {
    Q_OBJECT

  public:
    // The folder the environment names (see recoveryFolderPath).
    static std::filesystem::path defaultFolder();

    RecoveryKeeper(FileCommands& files, std::filesystem::path folder);
    ~RecoveryKeeper() override;

    // Asks whether to open left copies again: Yes opens each in its own window, No deletes them,
    // Cancel (Escape, or the box closed) leaves them for the next start.
    void offerLeftCopies(QWidget* parent);

    RecoveryFolder& folder() { return *folder_; }
    static WindowRecovery* of(ObjectWindow& window);

  private:
    void watch(ObjectWindow* window);

    FileCommands& files_;
    std::shared_ptr<RecoveryFolder> folder_;
    int nextSlot_ = 1;
};

} // namespace wirevane
