#include "documents/filereplacement.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace wirevane {

File createTemporaryBeside(const fs::path& target, fs::path& temporary, int& error) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary.replace_filename("." + target.filename().string() + "." +
                                   std::to_string(random() % 1000000) + ".tmp");
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

std::string writeFileReplacing(const std::string& path, std::string_view bytes) {
    fs::path target(path);
    std::error_code error;
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(target, error) && fs::exists(target, error))
        target = fs::canonical(target, error);
    if (fs::is_directory(target, error))
        return "It is a folder, not a file.";
    fs::path temporary;
    int createError = 0;
    File file = createTemporaryBeside(target, temporary, createError);
    if (!file)
        return std::strerror(createError);
    std::string failure;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0)
        failure = std::strerror(errno);
    if (std::fclose(file.release()) != 0 && failure.empty())
        failure = std::strerror(errno);
    if (failure.empty()) {
        fs::rename(temporary, target, error);
        if (error)
            failure = error.message();
    }
    if (!failure.empty())
        fs::remove(temporary, error);
    return failure;
}

} // namespace wirevane
