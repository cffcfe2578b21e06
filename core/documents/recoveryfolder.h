#pragma once

#include "core/documents/objectfile.h"

#include <cstddef>
#include <filesystem>
#include <map>
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

// No copy is ever written larger, so a start never reads more than this of a file.
constexpr std::size_t kMaxRecoveryCopyBytes = std::size_t{32} << 20;

// A recovery file: a short header with the name, the path and, when the object file cannot hold
// the text (too long, or characters its code page lacks), the text itself, then an object file.
std::string encodeRecoveryCopy(const RecoveryCopy& copy);
ObjectFileResult decodeRecoveryCopy(std::string_view bytes, RecoveryCopy& copy);
// True for a copy that a newer version of the program wrote.
bool isNewerRecoveryCopy(std::string_view bytes);

// $XDG_STATE_HOME/wirevane/recovery, or ~/.local/state/wirevane/recovery when it is unset or not
// an absolute path; empty when neither is known.
std::filesystem::path recoveryFolderPath(const char* stateHome, const char* home);

// The copies that runs which have ended left behind.
struct LeftCopies {
    std::vector<RecoveryCopy> readable;
    std::vector<std::string> unreadable; // file names, now in the folder's "unreadable" folder
    std::vector<std::string> newer;      // file names of copies a newer version made, left as
                                         // they are
};

// The recovery folder of one run. The run's copies carry its id; a lock file that the run holds
// with flock() for as long as it lives (the system drops the lock when the process dies, however
// it dies) tells a live run from one that has ended. Nothing touches the disk before the first
// copy is written.
//
// Only a folder that is the user's own, a real folder (not a link) and closed to other users'
// writes is used; everything inside it is reached through the open folder, so nobody can swap
// the folder or a file in it for a link to somewhere else.
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
    // no other start offers them too. Unreadable copies are moved aside, never deleted; stale
    // temporary files of ended runs are removed.
    LeftCopies takeLeftCopies();
    // The taken copy readable[index] goes once the copy of slot is written or removed: the
    // window that reopened it keeps it now.
    void inherit(int slot, std::size_t index);
    // Deletes the taken copies and their runs' lock files.
    void finishTaken();
    // Leaves the taken copies for a later start.
    void releaseTaken();

    // Tests stand in a full disk or a failing folder with an errno value (ENOSPC).
    int simulatedWriteError = 0;

  private:
    std::string openFolder(bool create);
    std::string openRun();
    std::string copyName(int slot) const;
    bool runIsLive(const std::string& run);
    void dropInherited(int slot);
    void closeTakenLocks();

    std::filesystem::path folder_;
    int folderFd_ = -1;
    std::string runId_;
    int lockFd_ = -1;
    std::set<int> written_;
    bool removalFailed_ = false;
    std::vector<int> takenLocks_;
    std::vector<std::string> takenCopies_; // names, in the order of LeftCopies::readable
    std::vector<std::string> takenLockFiles_;
    std::map<int, std::string> inherited_; // slot: the taken copy it replaces
    std::map<std::string, bool> runLiveness_;
};

} // namespace wirevane
