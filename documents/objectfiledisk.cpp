#include "documents/objectfiledisk.h"

#include "documents/filereplacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define WIREVANE_HAVE_FSYNC 1
#endif

namespace fs = std::filesystem;

namespace wirevane {
namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// Why a path cannot be an object file to read or replace; empty when it can.
std::string checkEntry(const fs::path& path, bool mustExist) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return mustExist ? "The file does not exist." : std::string();
    if (error)
        return "The file cannot be looked up (" + error.message() + ").";
    if (status.type() == fs::file_type::directory)
        return "It is a folder, not a file.";
    if (status.type() != fs::file_type::regular)
        return "It is not an ordinary file.";
    return {};
}

// Reads up to limit bytes from the start of an open file.
bool readPrefix(std::FILE* file, std::size_t limit, std::string& bytes) {
    bytes.resize(limit);
    const std::size_t got = std::fread(bytes.data(), 1, limit, file);
    bytes.resize(got);
    return !std::ferror(file);
}

bool syncToDisk([[maybe_unused]] std::FILE* file) {
#ifdef WIREVANE_HAVE_FSYNC
    return ::fsync(::fileno(file)) == 0;
#else
    return true;
#endif
}

void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifdef WIREVANE_HAVE_FSYNC
    const int fd = ::open(folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

} // namespace

ObjectFileResult readObjectFileAt(const std::string& path, ObjectFileValues& values) {
    if (std::string reason = checkEntry(path, true); !reason.empty())
        return {reason};
    errno = 0;
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return {"The file cannot be opened (" + systemReason(errno) + ")."};
    std::string bytes;
    if (!readPrefix(file.get(), kObjectFileLength, bytes))
        return {"The file cannot be read (" + systemReason(errno) + ")."};
    ObjectFileResult result = decodeObjectFile(bytes, values);
    if (!result.ok())
        result.reason = "It is not a valid object file. " + result.reason;
    return result;
}

ObjectFileResult writeObjectFileAt(const std::string& path, const ObjectFileValues& values,
                                   SaveFault fault) {
    fs::path target(path);
    std::error_code error;
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(target, error) && fs::exists(target, error))
        target = fs::canonical(target, error);
    if (std::string reason = checkEntry(target, false); !reason.empty())
        return {reason};

    // The old file is opened the way an in-place save would open it, so a write-protected
    // file stays protected; what the save keeps of it is read from here.
    File old;
    std::string oldBytes;
    if (fs::exists(target, error)) {
        errno = 0;
        old.reset(std::fopen(target.c_str(), "r+b"));
        if (!old)
            return {"The file cannot be opened for writing (" + systemReason(errno) + ")."};
        if (!readPrefix(old.get(), kObjectFileLength, oldBytes))
            return {"The old file cannot be read (" + systemReason(errno) + ")."};
    }
    std::string bytes;
    if (ObjectFileResult result = encodeObjectFile(values, oldBytes, bytes); !result.ok())
        return result;

    fs::path temporary;
    int createError = 0;
    File file = createTemporaryBeside(target, temporary, createError);
    if (!file)
        return {"No file can be created in its folder (" + systemReason(createError) + ")."};
    std::string failure;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        fault == SaveFault::Write)
        failure = systemReason(fault == SaveFault::Write ? ENOSPC : errno);
    // Whatever lies past the eighth record is kept, however long.
    if (failure.empty() && old && oldBytes.size() == kObjectFileLength) {
        char chunk[65536];
        std::size_t got = 0;
        while (failure.empty() && (got = std::fread(chunk, 1, sizeof chunk, old.get())) > 0)
            if (std::fwrite(chunk, 1, got, file.get()) != got)
                failure = systemReason(errno);
        if (failure.empty() && std::ferror(old.get()))
            failure = "the old file cannot be read";
    }
    if (failure.empty() &&
        (std::fflush(file.get()) != 0 || !syncToDisk(file.get()) || fault == SaveFault::Flush))
        failure = systemReason(fault == SaveFault::Flush ? EIO : errno);
    if (std::fclose(file.release()) != 0 && failure.empty())
        failure = systemReason(errno);
    if (failure.empty() && old) {
        fs::permissions(temporary, fs::status(target, error).permissions(), error);
        old.reset();
    }
    if (failure.empty()) {
        if (fault == SaveFault::Rename)
            error = std::make_error_code(std::errc::io_error);
        else
            fs::rename(temporary, target, error);
        if (error)
            failure = error.message();
    }
    if (!failure.empty()) {
        fs::remove(temporary, error);
        return {"The file cannot be written (" + failure + "); it was left as it was."};
    }
    syncFolder(target.parent_path().empty() ? fs::path(".") : target.parent_path());
    return {};
}

} // namespace wirevane
