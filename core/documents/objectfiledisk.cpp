#include "core/documents/objectfiledisk.h"

#include "core/documents/filereplacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace wirevane {
namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// Why a path cannot be an object file to read; empty when it can.
std::string checkEntry(const fs::path& path) {
    std::error_code error;
    if (fs::status(path, error).type() == fs::file_type::not_found)
        return "The file does not exist.";
    return whyNotAnOrdinaryFile(path);
}

// Reads up to limit bytes from the start of an open file.
bool readPrefix(std::FILE* file, std::size_t limit, std::string& bytes) {
    bytes.resize(limit);
    const std::size_t got = std::fread(bytes.data(), 1, limit, file);
    bytes.resize(got);
    return !std::ferror(file);
}

} // namespace

ObjectFileResult readObjectFileAt(const std::string& path, ObjectFileValues& values) {
    if (std::string reason = checkEntry(path); !reason.empty())
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
    FileReplacement replacement(path);
    const fs::path& target = replacement.target();
    if (replacement.targetRefused())
        return {replacement.reason()};

    // The old file is opened the way an in-place save would open it, so a file its user may
    // not write stays as it is; what the save keeps of it is read from here.
    File old;
    std::string oldBytes;
    std::error_code error;
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
    if (!replacement.file())
        return {"No file can be created in its folder (" + replacement.reason() + ")."};

    std::FILE* file = replacement.file();
    std::string failure;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        fault == SaveFault::Write)
        failure = systemReason(fault == SaveFault::Write ? ENOSPC : errno);
    // Whatever lies past the eighth record is kept, however long.
    if (failure.empty() && old && oldBytes.size() == kObjectFileLength) {
        char chunk[65536];
        std::size_t got = 0;
        while (failure.empty() && (got = std::fread(chunk, 1, sizeof chunk, old.get())) > 0)
            if (std::fwrite(chunk, 1, got, file) != got)
                failure = systemReason(errno);
        if (failure.empty() && std::ferror(old.get()))
            failure = "the old file cannot be read";
    }
    if (failure.empty() && fault == SaveFault::Flush)
        failure = systemReason(EIO);
    old.reset();
    if (failure.empty())
        failure = replacement.commit(true, fault == SaveFault::Rename);
    if (!failure.empty())
        return {"The file cannot be written (" + failure + "); it was left as it was."};
    return {};
}

} // namespace wirevane
