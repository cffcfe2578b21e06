#include "core/documents/recoveryfolder.h"

#include "core/documents/filereplacement.h"
#include "core/documents/objectfiledisk.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
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

// Every missing folder on the way is made private, as the base directory rules ask.
std::string makePrivateFolders(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            return "the folder " + made.string() + " cannot be made (" + systemReason(errno) + ")";
    }
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return folder.string() + " is not a folder";
    // An existing folder is made private too; one of another user's stays as it is.
    ::chmod(folder.c_str(), 0700);
    return {};
}

std::string randomDigits() {
    std::random_device seed;
    return std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(seed));
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
    releaseTaken();
    if (lockFd_ < 0)
        return;
    for (const int slot : std::set<int>(written_))
        remove(slot);
    // The next start must find copies that could not be removed, so their lock file stays.
    if (!removalFailed_)
        ::unlink((folder_ / (runId_ + std::string(kLockExtension))).c_str());
    ::close(lockFd_);
}

// The one thing a run leaves for the next (and only until the user has answered), against the
// rule that the program keeps nothing between runs: what a crash would otherwise lose.
std::string RecoveryFolder::openRun() {
    if (lockFd_ >= 0)
        return {};
    if (folder_.empty())
        return "there is no home folder";
    if (std::string reason = makePrivateFolders(folder_); !reason.empty())
        return reason;
    const std::string id = std::to_string(::getpid()) + "-" + randomDigits();
    // Locked before it takes its name, so no start ever sees it unlocked.
    const fs::path unnamed = folder_ / ("." + id + ".tmp");
    const int fd = ::open(unnamed.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return "no file can be made in " + folder_.string() + " (" + systemReason(errno) + ")";
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::rename(unnamed.c_str(), (folder_ / (id + std::string(kLockExtension))).c_str()) != 0) {
        const int error = errno;
        ::unlink(unnamed.c_str());
        ::close(fd);
        return "the lock file cannot be made (" + systemReason(error) + ")";
    }
    runId_ = id;
    lockFd_ = fd;
    return {};
}

fs::path RecoveryFolder::copyPath(int slot) const {
    return folder_ / (runId_ + "-" + std::to_string(slot) + std::string(kCopyExtension));
}

std::string RecoveryFolder::write(int slot, const RecoveryCopy& copy) {
    if (std::string reason = openRun(); !reason.empty())
        return reason;
    const std::string bytes = encodeRecoveryCopy(copy);
    FileReplacement replacement(copyPath(slot).string());
    if (!replacement.file())
        return replacement.reason();
    std::FILE* file = replacement.file();
    ::fchmod(::fileno(file), 0600); // an object may be private
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        return systemReason(errno);
    if (simulatedWriteError != 0)
        return systemReason(simulatedWriteError);
    // A kill or a crash cannot touch what the system already holds; against a power cut the
    // copy is forced to the disk beside the program, as waiting for the disk would be felt.
    if (std::string failure = replacement.commit(false); !failure.empty())
        return failure;
    written_.insert(slot);
    std::thread([file = copyPath(slot)] {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fdatasync(fd);
            ::close(fd);
        }
    }).detach();
    return {};
}

void RecoveryFolder::remove(int slot) {
    if (written_.erase(slot) == 0)
        return;
    if (::unlink(copyPath(slot).c_str()) != 0 && errno != ENOENT)
        removalFailed_ = true;
}

LeftCopies RecoveryFolder::takeLeftCopies() {
    LeftCopies left;
    std::error_code error;
    if (folder_.empty() || !fs::is_directory(folder_, error))
        return left;
    std::set<std::string> endedRuns;
    std::set<std::string> liveRuns;
    std::vector<fs::path> copies;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_, error)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error))
            continue;
        if (endsWith(name, kCopyExtension)) {
            copies.push_back(entry.path());
        } else if (endsWith(name, kLockExtension)) {
            const std::string run = name.substr(0, name.size() - kLockExtension.size());
            const int fd = ::open(entry.path().c_str(), O_RDWR | O_CLOEXEC);
            if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                takenLocks_.push_back(fd);
                takenLockFiles_.push_back(entry.path());
                endedRuns.insert(run);
            } else {
                if (fd >= 0)
                    ::close(fd);
                liveRuns.insert(run);
            }
        }
    }
    std::sort(copies.begin(), copies.end());
    for (const fs::path& file : copies) {
        const std::string name = file.filename().string();
        const std::size_t dash = name.rfind('-');
        const std::string run = dash == std::string::npos ? std::string() : name.substr(0, dash);
        // A live run always holds its lock file: a copy without one was left by an ended run.
        if (liveRuns.count(run) != 0 || run == runId_)
            continue;
        std::string bytes;
        RecoveryCopy copy;
        if (const File in(std::fopen(file.c_str(), "rb")); in) {
            char chunk[65536];
            std::size_t got = 0;
            while ((got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0)
                bytes.append(chunk, got);
        }
        if (decodeRecoveryCopy(bytes, copy).ok()) {
            left.readable.push_back(std::move(copy));
            takenCopies_.push_back(file);
            continue;
        }
        // Kept aside for whoever can read it, and so reported only once.
        const fs::path aside = folder_ / kUnreadableFolder;
        ::mkdir(aside.c_str(), 0700);
        fs::rename(file, aside / name, error);
        left.unreadable.push_back(name);
    }
    return left;
}

void RecoveryFolder::finishTaken() {
    // The copies go before the lock files, so a copy is never left without its run's lock.
    for (const fs::path& file : takenCopies_)
        ::unlink(file.c_str());
    for (const fs::path& file : takenLockFiles_)
        ::unlink(file.c_str());
    takenCopies_.clear();
    takenLockFiles_.clear();
    releaseTaken();
}

void RecoveryFolder::releaseTaken() {
    for (const int fd : takenLocks_)
        ::close(fd);
    takenLocks_.clear();
}

} // namespace wirevane
