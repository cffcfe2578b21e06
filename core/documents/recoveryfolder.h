#pragma once

#include "core/documents/objectfile.h"

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace wirevane {

// What a recovery copy keeps of one object window: the values an object file holds, and the
// name and path it does not.
struct RecoveryCopy {
    std::string name;
    std::string path;
    ObjectFileValues values;

    bool operator==(const RecoveryCopy&) const = default;
};

// A recovery file: a short header with the name, the path and, when the object file cannot hold
// the text (too long, or characters its code page lacks), the text itself, then an object file.
std::string encodeRecoveryCopy(const RecoveryCopy& copy);
ObjectFileResult decodeRecoveryCopy(std::string_view bytes, RecoveryCopy& copy);

// $XDG_STATE_HOME/wirevane/recovery, or ~/.local/state/wirevane/recovery when it is unset or not
// an absolute path; empty when neither is known.
std::filesystem::path recoveryFolderPath(const char* stateHome, const char* home);

// The copies that runs which have ended left behind.
struct LeftCopies {
    std::vector<RecoveryCopy> readable;
    std::vector<std::string> unreadable; // file names, now in the folder's "unreadable" folder
};

// The recovery folder of one run. The run's copies carry its id; a lock file that the run holds
// with flock() for as long as it lives (the system drops the lock when the process dies, however
// it dies) tells a live run from one that has ended. Nothing touches the disk before the first
// copy is written.
class RecoveryFolder {
  public:
    explicit RecoveryFolder(std::filesystem::path folder);
    // A normal end: the run's lock file goes unless a copy could not be removed.
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

    // Writes the copy of one window (slot) through a temporary file; empty when it worked, else
    // the reason.
    std::string write(int slot, const RecoveryCopy& copy);
    void remove(int slot);

    // Takes the copies of ended runs: their locks stay held by this run until finishTaken(), so
    // no other start offers them too. Unreadable copies are moved aside, never deleted.
    LeftCopies takeLeftCopies();
    // Deletes the taken copies and their runs' lock files.
    void finishTaken();
    // Leaves the taken copies for a later start.
    void releaseTaken();

    // Tests stand in a full disk or a failing folder with an errno value (ENOSPC).
    int simulatedWriteError = 0;

  private:
    std::string openRun();
    std::filesystem::path copyPath(int slot) const;

    std::filesystem::path folder_;
    std::string runId_;
    int lockFd_ = -1;
    std::set<int> written_;
    bool removalFailed_ = false;
    std::vector<int> takenLocks_;
    std::vector<std::filesystem::path> takenCopies_;
    std::vector<std::filesystem::path> takenLockFiles_;
};

} // namespace wirevane
