#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace wirevane {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Why path is not an ordinary file to read or replace (a folder, something else, not to be
// looked up); empty for an ordinary file, or when there is none.
std::string whyNotAnOrdinaryFile(const std::filesystem::path& path);

// Why the file at target cannot be replaced (a folder, not an ordinary file, write-protected);
// empty when it can, or when there is none yet.
std::string whyNotReplaceable(const std::filesystem::path& target);

// A new file written beside its target that takes the target's place only when it is complete,
// so a failure halfway leaves no half file and the old file as it was. The new file keeps the
// old one's permission bits. Until commit() succeeds, the temporary file is removed again: on
// destruction, and by removeUnfinishedReplacement() from a signal handler.
class FileReplacement {
  public:
    // Follows a link to the file it points to; file() is null when no temporary file can be made
    // (reason() says why).
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    std::FILE* file() const { return file_.get(); }
    // Why there is no file(): the target refuses to be replaced, or no temporary file can be made.
    const std::string& reason() const { return reason_; }
    bool targetRefused() const { return targetRefused_; }
    const std::filesystem::path& target() const { return target_; }

    // Flushes, optionally forces the bytes to the disk, and renames; empty when it worked, else
    // the reason (then the temporary file is gone). forceRenameError: tests stand in a failing
    // rename with it.
    std::string commit(bool syncToDisk, bool forceRenameError = false);

  private:
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    File file_;
    std::string reason_;
    bool targetRefused_ = false;
};

// Async-signal-safe: removes the temporary file of a replacement under way, if there is one.
void removeUnfinishedReplacement();

// Writes bytes to path through a FileReplacement. Exports are made again in a moment, so unlike
// object files they are not forced to the disk. Empty when it worked, else the reason.
std::string writeFileReplacing(const std::string& path, std::string_view bytes);

} // namespace wirevane
