#include "documents/filenames.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace wirevane {
namespace {

TEST(FileNames, NamePartFollowsTheLastSeparator) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"D:\\objects\\cube.kfm", "cube.kfm"},
        {"cube.kfm", "cube.kfm"},
        {"D:\\objects\\", ""},
        {"/home/ann/cube.kfm", "cube.kfm"},
        {"/home/ann/", ""},
        {"/home\\ann/x\\cube.kfm", "cube.kfm"},
        {"D:cube.kfm", "D:cube.kfm"}, // a colon does not separate
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileNamePart(c.path), c.name) << c.path;
}

TEST(FileNames, ExistsFindsFilesAndFoldersButNotPathsEndingInASeparator) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("wirevane-names-" + std::to_string(::getpid()));
    fs::create_directories(folder / "sub");
    std::ofstream(folder / "cube.kfm") << "x";
    std::ofstream(folder / ".hidden.kfm") << "x";
    EXPECT_TRUE(fileExists((folder / "cube.kfm").string()));
    EXPECT_TRUE(fileExists((folder / ".hidden.kfm").string()));
    EXPECT_TRUE(fileExists((folder / "sub").string()));
    EXPECT_FALSE(fileExists((folder / "sub").string() + "/"));
    EXPECT_FALSE(fileExists((folder / "none.kfm").string()));
    EXPECT_FALSE(fileExists(""));
    fs::remove_all(folder);
}

} // namespace
} // namespace wirevane
