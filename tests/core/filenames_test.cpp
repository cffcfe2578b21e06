#include "core/documents/filenames.h"
#include "tests/common/temporaryfolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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

TEST(FileNames, ExtensionIsTheFileNamesLastPartInLowerCase) {
    const struct {
        const char* path;
        const char* extension;
    } cases[] = {
        {"/home/ann/Cube.KFM", "kfm"},
        {"house.tar.OBJ", "obj"},
        {"objects.d/cube", ""},
        {"/home/ann/.kfm", ""},
        {"cube.", ""},
        {"D:\\x.y\\Star.Ply", "ply"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lowerExtension(c.path), c.extension) << c.path;
}

TEST(FileNames, ExistsFindsFilesAndFoldersButNotPathsEndingInASeparator) {
    namespace fs = std::filesystem;
    const tests::TemporaryFolder temporary;
    const fs::path& folder = temporary.path();
    fs::create_directories(folder / "sub");
    std::ofstream(folder / "cube.kfm") << "x";
    std::ofstream(folder / ".hidden.kfm") << "x";
    EXPECT_TRUE(fileExists((folder / "cube.kfm").string()));
    EXPECT_TRUE(fileExists((folder / ".hidden.kfm").string()));
    EXPECT_TRUE(fileExists((folder / "sub").string()));
    EXPECT_FALSE(fileExists((folder / "sub").string() + "/"));
    EXPECT_FALSE(fileExists((folder / "none.kfm").string()));
    EXPECT_FALSE(fileExists(""));
    // a save there would write where the link points
    fs::create_symlink(folder / "gone.kfm", folder / "dangling.kfm");
    EXPECT_TRUE(fileExists((folder / "dangling.kfm").string()));
}

} // namespace
} // namespace wirevane
