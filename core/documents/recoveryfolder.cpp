#include "core/documents/recoveryfolder.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace wirevane {
namespace {

constexpr std::string_view kMagic = "WIREVANE RECOVERY ";
constexpr int kFormatVersion = 1;
constexpr std::string_view kCopyExtension = ".recovery";
constexpr std::string_view kLockExtension = ".lock";
constexpr const char* kUnreadableFolder = "unreadable";

void appendSection(std::string& out, std::string_view key, std::string_view bytes) {
    out += key;
    out += ' ';
    out += std::to_string(bytes.size());
    out += '\n';
    out += bytes;
    out += '\n';
}

// Reads "key LENGTH\n" and LENGTH bytes and a line end from the front of rest.
bool readSection(std::string_view& rest, std::string_view key, std::string_view& bytes) {
    if (rest.substr(0, key.size()) != key || rest.substr(key.size(), 1) != " ")
        return false;
    rest.remove_prefix(key.size() + 1);
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), length);
    if (error != std::errc() || end == rest.data() || end == rest.data() + rest.size() ||
        *end != '\n')
        return false;
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()) + 1);
    if (length > rest.size())
        return false;
    bytes = rest.substr(0, length);
    rest.remove_prefix(length);
    if (key == "object")
        return true; // the last section: no line end after it
    if (rest.substr(0, 1) != "\n")
        return false;
    rest.remove_prefix(1);
    return true;
}

std::string systemReason(int error) {
    return std::strerror(error);
}

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A run's id is "PID-DIGITS"; its copies are "ID-SLOT.recovery", its temporary files
// ".ID-SLOT.tmp" and, for the moment before its lock file takes its name, ".ID.tmp".
std::string runOf(std::string_view name) {
    const std::size_t first = name.find('-');
    if (first == std::string_view::npos)
        return std::string(name);
    return std::string(name.substr(0, name.find('-', first + 1)));
}

std::string randomDigits() {
    std::random_device seed;
    return std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(seed));
}

// Opens an entry of the folder only when it is an ordinary file of this user's, never through
// a link: anyone else's file here may name any path.
int openOwnFile(int folder, const std::string& name, int flags) {
    const int fd = ::openat(folder, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool readAll(int fd, std::size_t size, std::string& bytes) {
    bytes.resize(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, bytes.data() + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return got == size;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::string encodeRecoveryCopy(const RecoveryCopy& copy) {
    std::string object;
    std::string text;
    if (!encodeObjectFile(copy.values, {}, object).ok()) {
        // The object file cannot hold this text, but the user's work must not be lost.
        text = copy.values.text;
        ObjectFileValues withoutText = copy.values;
        withoutText.text.clear();
        encodeObjectFile(withoutText, {}, object);
    }
    std::string out(kMagic);
    out += std::to_string(kFormatVersion);
    out += '\n';
    appendSection(out, "name", copy.name);
    appendSection(out, "path", copy.path);
    if (!text.empty())
        appendSection(out, "text", text);
    out += "object " + std::to_string(object.size()) + '\n';
    out += object;
    return out;
}

ObjectFileResult decodeRecoveryCopy(std::string_view bytes, RecoveryCopy& copy) {
    const ObjectFileResult invalid{"It is not a recovery file, or it is cut short."};
    if (bytes.substr(0, kMagic.size()) != kMagic)
        return invalid;
    std::string_view rest = bytes.substr(kMagic.size());
    int version = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), version);
    if (error != std::errc() || end == rest.data() + rest.size() || *end != '\n')
        return invalid;
    if (version > kFormatVersion)
        return {"It was written by a newer version of Wirevane."};
    if (version != kFormatVersion)
        return invalid;
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()) + 1);

    std::string_view name, path, text, object;
    if (!readSection(rest, "name", name) || !readSection(rest, "path", path))
        return invalid;
    const bool hasText = rest.substr(0, 5) == "text ";
    if ((hasText && !readSection(rest, "text", text)) || !readSection(rest, "object", object) ||
        !rest.empty() || object.size() != kObjectFileLength)
        return invalid;
    RecoveryCopy read;
    if (ObjectFileResult result = decodeObjectFile(object, read.values); !result.ok())
        return result;
    read.name = name;
    read.path = path;
    if (hasText)
        read.values.text = text;
    copy = std::move(read);
    return {};
}

bool isNewerRecoveryCopy(std::string_view bytes) {
    if (bytes.substr(0, kMagic.size()) != kMagic)
        return false;
    bytes.remove_prefix(kMagic.size());
    int version = 0;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), version);
    return error == std::errc() && end != bytes.data() + bytes.size() && *end == '\n' &&
           version > kFormatVersion;
}

fs::path recoveryFolderPath(const char* stateHome, const char* home) {
    fs::path base;
    if (stateHome != nullptr && fs::path(stateHome).is_absolute())
        base = stateHome;
    else if (home != nullptr && fs::path(home).is_absolute())
        base = fs::path(home) / ".local" / "state";
    else
        return {};
    return base / "wirevane" / "recovery";
}

RecoveryFolder::RecoveryFolder(fs::path folder) : folder_(std::move(folder)) {}

RecoveryFolder::~RecoveryFolder() {
    closeTakenLocks();
    if (lockFd_ >= 0) {
        for (const int slot : std::set<int>(written_))
            remove(slot);
        // The next start must find copies that could not be removed, so their lock file stays.
        if (!removalFailed_)
            ::unlinkat(folderFd_, (runId_ + std::string(kLockExtension)).c_str(), 0);
        ::close(lockFd_);
    }
    if (folderFd_ >= 0)
        ::close(folderFd_);
}

// Opens the folder once and checks what was opened: whoever else may write in it could plant
// copies that name any file, or swap a copy for a link through which we would write.
std::string RecoveryFolder::openFolder(bool create) {
    if (folderFd_ >= 0)
        return {};
    if (folder_.empty())
        return "there is no home folder";
    if (create) {
        // Every missing folder on the way is made private, as the base directory rules ask.
        fs::path made;
        for (const fs::path& part : folder_) {
            made /= part;
            if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
                return "the folder " + made.string() + " cannot be made (" + systemReason(errno) +
                       ")";
        }
    }
    const std::string name = folder_.string();
    struct stat seen {};
    if (::lstat(folder_.c_str(), &seen) != 0)
        return name + " cannot be looked up (" + systemReason(errno) + ")";
    if (S_ISLNK(seen.st_mode))
        return name + " is a symbolic link";
    if (!S_ISDIR(seen.st_mode))
        return name + " is not a folder";
    const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return name + " cannot be opened (" + systemReason(errno) + ")";
    struct stat opened {};
    std::string refusal;
    if (::fstat(fd, &opened) != 0 || opened.st_dev != seen.st_dev || opened.st_ino != seen.st_ino)
        refusal = name + " changed while it was opened";
    else if (opened.st_uid != ::geteuid())
        refusal = name + " belongs to another user";
    else if ((opened.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        refusal = "other users may write in " + name;
    if (!refusal.empty()) {
        ::close(fd);
        return refusal;
    }
    // Our own folder is kept private; the change goes to what was opened, never to a path.
    if ((opened.st_mode & 077) != 0)
        ::fchmod(fd, 0700);
    folderFd_ = fd;
    return {};
}

// The one thing a run leaves for the next (and only until the user has answered), against the
// rule that the program keeps nothing between runs: what a crash would otherwise lose.
std::string RecoveryFolder::openRun() {
    if (lockFd_ >= 0)
        return {};
    if (std::string reason = openFolder(true); !reason.empty())
        return reason;
    const std::string id = std::to_string(::getpid()) + "-" + randomDigits();
    // Locked before it takes its name, so no start ever sees it unlocked.
    const std::string unnamed = "." + id + ".tmp";
    const int fd = ::openat(folderFd_, unnamed.c_str(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return "no file can be made in " + folder_.string() + " (" + systemReason(errno) + ")";
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::renameat(folderFd_, unnamed.c_str(), folderFd_,
                   (id + std::string(kLockExtension)).c_str()) != 0) {
        const int error = errno;
        ::unlinkat(folderFd_, unnamed.c_str(), 0);
        ::close(fd);
        return "the lock file cannot be made (" + systemReason(error) + ")";
    }
    runId_ = id;
    lockFd_ = fd;
    return {};
}

std::string RecoveryFolder::copyName(int slot) const {
    return runId_ + "-" + std::to_string(slot) + std::string(kCopyExtension);
}

std::string RecoveryFolder::write(int slot, const RecoveryCopy& copy) {
    if (std::string reason = openRun(); !reason.empty())
        return reason;
    const std::string bytes = encodeRecoveryCopy(copy);
    if (bytes.size() > kMaxRecoveryCopyBytes)
        return "the text is too long for a recovery copy";
    // A new file renamed over the copy: whatever stands in its place, a link included, is
    // replaced and never written through.
    const std::string temporary = "." + runId_ + "-" + std::to_string(slot) + ".tmp";
    ::unlinkat(folderFd_, temporary.c_str(), 0); // one a failed write of this run left
    const int fd = ::openat(folderFd_, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return "no file can be made in " + folder_.string() + " (" + systemReason(errno) + ")";
    errno = 0;
    int error = writeAll(fd, bytes) ? simulatedWriteError : (errno != 0 ? errno : EIO);
    if (error == 0 &&
        ::renameat(folderFd_, temporary.c_str(), folderFd_, copyName(slot).c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::close(fd);
        ::unlinkat(folderFd_, temporary.c_str(), 0);
        return systemReason(error);
    }
    written_.insert(slot);
    dropInherited(slot);
    // A kill or a crash cannot touch what the system already holds; against a power cut the
    // copy is forced to the disk beside the program, as waiting for the disk would be felt.
    std::thread([fd] {
        ::fdatasync(fd);
        ::close(fd);
    }).detach();
    return {};
}

void RecoveryFolder::remove(int slot) {
    dropInherited(slot);
    if (written_.erase(slot) == 0)
        return;
    if (::unlinkat(folderFd_, copyName(slot).c_str(), 0) != 0 && errno != ENOENT)
        removalFailed_ = true;
}

// A run is alive while its lock file is there and locked. One whose lock file appeared after
// the folder was listed has only just started.
bool RecoveryFolder::runIsLive(const std::string& run) {
    if (run == runId_)
        return true;
    const auto known = runLiveness_.find(run);
    if (known != runLiveness_.end())
        return known->second;
    struct stat status {};
    const bool live = ::fstatat(folderFd_, (run + std::string(kLockExtension)).c_str(), &status,
                                AT_SYMLINK_NOFOLLOW) == 0;
    runLiveness_[run] = live;
    return live;
}

LeftCopies RecoveryFolder::takeLeftCopies() {
    LeftCopies left;
    struct stat status {};
    // A folder that fails the checks offers nothing: its copies may be anyone's.
    if (folder_.empty() || ::lstat(folder_.c_str(), &status) != 0 || !openFolder(false).empty())
        return left;
    std::vector<std::string> names;
    if (DIR* listing = ::fdopendir(::dup(folderFd_))) {
        ::rewinddir(listing);
        while (const dirent* entry = ::readdir(listing))
            names.emplace_back(entry->d_name);
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        if (!endsWith(name, kLockExtension) || name.front() == '.')
            continue;
        const std::string run = name.substr(0, name.size() - kLockExtension.size());
        if (run == runId_)
            continue;
        const int fd = openOwnFile(folderFd_, name, O_RDWR);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            takenLocks_.push_back(fd);
            takenLockFiles_.push_back(name);
            runLiveness_[run] = false;
        } else {
            if (fd >= 0)
                ::close(fd);
            runLiveness_[run] = true;
        }
    }

    // What a kill in the middle of a write left; a file a run still holds locked is its lock
    // file about to take its name.
    for (const std::string& name : names) {
        if (name.front() != '.' || !endsWith(name, ".tmp") || runIsLive(runOf(name.substr(1))))
            continue;
        const int fd = openOwnFile(folderFd_, name, O_RDONLY);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(folderFd_, name.c_str(), 0);
        if (fd >= 0)
            ::close(fd);
    }

    const auto moveAside = [&](const std::string& name) {
        // Kept for whoever can read it, and so reported only once.
        ::mkdirat(folderFd_, kUnreadableFolder, 0700);
        ::renameat(folderFd_, name.c_str(), folderFd_,
                   (std::string(kUnreadableFolder) + "/" + name).c_str());
        left.unreadable.push_back(name);
    };
    for (const std::string& name : names) {
        // A live run always holds its lock file: a copy without one was left by an ended run.
        if (!endsWith(name, kCopyExtension) || name.front() == '.' || runIsLive(runOf(name)))
            continue;
        const int fd = openOwnFile(folderFd_, name, O_RDONLY);
        if (fd < 0)
            continue;
        struct stat file {};
        std::string bytes;
        const bool tooLarge = ::fstat(fd, &file) != 0 || file.st_size < 0 ||
                              static_cast<std::uintmax_t>(file.st_size) > kMaxRecoveryCopyBytes;
        if (!tooLarge)
            readAll(fd, static_cast<std::size_t>(file.st_size), bytes);
        ::close(fd);
        RecoveryCopy copy;
        if (!tooLarge && decodeRecoveryCopy(bytes, copy).ok()) {
            left.readable.push_back(std::move(copy));
            takenCopies_.push_back(name);
        } else if (!tooLarge && isNewerRecoveryCopy(bytes)) {
            left.newer.push_back(name); // for the version that can read it
        } else {
            moveAside(name);
        }
    }
    return left;
}

void RecoveryFolder::inherit(int slot, std::size_t index) {
    if (index < takenCopies_.size() && !takenCopies_[index].empty())
        inherited_[slot] = takenCopies_[index];
}

void RecoveryFolder::dropInherited(int slot) {
    const auto found = inherited_.find(slot);
    if (found == inherited_.end())
        return;
    ::unlinkat(folderFd_, found->second.c_str(), 0);
    std::replace(takenCopies_.begin(), takenCopies_.end(), found->second, std::string());
    inherited_.erase(found);
    // Once every taken copy has a keeper again, their runs' lock files have served.
    if (std::all_of(takenCopies_.begin(), takenCopies_.end(),
                    [](const std::string& name) { return name.empty(); }))
        finishTaken();
}

void RecoveryFolder::finishTaken() {
    // The copies go before the lock files, so a copy is never left without its run's lock.
    for (const std::string& name : takenCopies_)
        if (!name.empty())
            ::unlinkat(folderFd_, name.c_str(), 0);
    for (const std::string& name : takenLockFiles_)
        ::unlinkat(folderFd_, name.c_str(), 0);
    releaseTaken();
}

void RecoveryFolder::releaseTaken() {
    takenCopies_.clear();
    takenLockFiles_.clear();
    inherited_.clear();
    closeTakenLocks();
}

void RecoveryFolder::closeTakenLocks() {
    for (const int fd : takenLocks_)
        ::close(fd);
    takenLocks_.clear();
}

} // namespace wirevane
