#include "core/documents/filereplacement.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <system_error>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define WIREVANE_HAVE_POSIX 1
#endif

namespace fs = std::filesystem;

namespace wirevane {
namespace {

// The temporary file under way, for the signal handler: a plain buffer, as nothing else is safe
// to read there.
char unfinished[PATH_MAX + 1] = {};

void rememberUnfinished(const fs::path& path) {
    const std::string& text = path.native();
    if (text.size() < sizeof unfinished)
        std::memcpy(unfinished, text.c_str(), text.size() + 1);
}

void forgetUnfinished() {
    unfinished[0] = '\0';
}

// Short, so that a target name of the longest length a folder takes still gets one, and hidden,
// so that it is never taken for the target itself.
File createTemporaryBeside(const fs::path& target, fs::path& temporary, int& error) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary.replace_filename(".wirevane-" + std::to_string(random() % 1000000) + ".tmp");
        errno = 0;
        File file(std::fopen(temporary.c_str(), "wbx"));
        if (file)
            return file;
        error = errno;
        if (error != EEXIST)
            return nullptr;
    }
    return nullptr;
}

// A file its user may not write: no write bit at all (which binds even the superuser here, as
// it binds the tools that ask before they overwrite), or none for this user.
bool writeProtected([[maybe_unused]] const fs::path& target, fs::perms permissions) {
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((permissions & anyWrite) == fs::perms::none)
        return true;
#ifdef WIREVANE_HAVE_POSIX
    return ::access(target.c_str(), W_OK) != 0 && errno == EACCES;
#else
    return false;
#endif
}

void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifdef WIREVANE_HAVE_POSIX
    const int fd = ::open(folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

} // namespace

std::string whyNotAnOrdinaryFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return {};
    if (error)
        return "The file cannot be looked up (" + error.message() + ").";
    if (status.type() == fs::file_type::directory)
        return "It is a folder, not a file.";
    if (status.type() != fs::file_type::regular)
        return "It is not an ordinary file.";
    return {};
}

std::string whyNotReplaceable(const fs::path& target) {
    if (std::string reason = whyNotAnOrdinaryFile(target); !reason.empty())
        return reason;
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (status.type() == fs::file_type::regular && writeProtected(target, status.permissions()))
        return "The file " + target.filename().string() + " is write-protected.";
    return {};
}

FileReplacement::FileReplacement(const std::string& path) : target_(path) {
    std::error_code error;
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(target_, error) && fs::exists(target_, error))
        target_ = fs::canonical(target_, error);
    reason_ = whyNotReplaceable(target_);
    if ((targetRefused_ = !reason_.empty()))
        return;
    int createError = 0;
    file_ = createTemporaryBeside(target_, temporary_, createError);
    if (!file_)
        reason_ = std::strerror(createError);
    else
        rememberUnfinished(temporary_);
}

FileReplacement::~FileReplacement() {
    discard();
}

void FileReplacement::discard() {
    if (temporary_.empty())
        return;
    file_.reset();
    std::error_code error;
    fs::remove(temporary_, error);
    temporary_.clear();
    forgetUnfinished();
}

std::string FileReplacement::commit(bool syncToDisk, bool forceRenameError) {
    if (!file_)
        return reason_;
    std::string failure;
    errno = 0;
    if (std::fflush(file_.get()) != 0)
        failure = std::strerror(errno);
#ifdef WIREVANE_HAVE_POSIX
    if (failure.empty() && syncToDisk && ::fsync(::fileno(file_.get())) != 0)
        failure = std::strerror(errno);
    // The new file takes the old one's owner and group where it may (as the superuser, or a
    // group of the user's), then its permission bits, which a change of owner may clear.
    struct stat old {};
    if (failure.empty() && ::stat(target_.c_str(), &old) == 0) {
        const int fd = ::fileno(file_.get());
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            failure = std::strerror(errno);
    }
#endif
    if (std::fclose(file_.release()) != 0 && failure.empty())
        failure = std::strerror(errno);
    std::error_code error;
#ifndef WIREVANE_HAVE_POSIX
    if (failure.empty() && fs::exists(target_, error)) {
        fs::permissions(temporary_, fs::status(target_, error).permissions() & fs::perms::mask,
                        error);
        if (error)
            failure = error.message();
    }
#endif
    if (failure.empty()) {
        if (forceRenameError)
            error = std::make_error_code(std::errc::io_error);
        else
            fs::rename(temporary_, target_, error);
        if (error)
            failure = error.message();
    }
    if (!failure.empty()) {
        discard();
        return failure;
    }
    temporary_.clear();
    forgetUnfinished();
    if (syncToDisk)
        syncFolder(target_.parent_path().empty() ? fs::path(".") : target_.parent_path());
    return {};
}

void removeUnfinishedReplacement() {
#ifdef WIREVANE_HAVE_POSIX
    if (unfinished[0] != '\0')
        ::unlink(unfinished);
#endif
}

std::string writeFileReplacing(const std::string& path, std::string_view bytes) {
    FileReplacement replacement(path);
    if (!replacement.file())
        return replacement.reason();
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), replacement.file()) != bytes.size())
        return std::strerror(errno);
    return replacement.commit(false);
}

} // namespace wirevane
