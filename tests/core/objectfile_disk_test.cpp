// Reading and saving object files on disk: read-only loads and atomic saves.
#include "core/documents/filereplacement.h"
#include "core/documents/objectfiledisk.h"
#include "tests/common/asnobody.h"
#include "tests/common/temporaryfolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace wirevane {
namespace {

class ObjectFileDisk : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder.file(name); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static ObjectFileValues sample() {
        ObjectFileValues values;
        values.axisOrder = 3;
        values.objectColor = 0xC0C000;
        values.crossColor = 0xE0E0E0;
        values.showCross = 1;
        values.text = "1/2/3\r\n\r\n1-1";
        return values;
    }

    tests::TemporaryFolder folder;
};

TEST_F(ObjectFileDisk, SavedFileReadsBackAndLeavesNoTemporaryFile) {
    const std::string file = path("cube.kfm");
    ASSERT_TRUE(writeObjectFileAt(file, sample()).ok());
    EXPECT_EQ(fs::file_size(file), 84216u);
    EXPECT_EQ(entries(), std::vector<std::string>{"cube.kfm"});
    ObjectFileValues read;
    ASSERT_TRUE(readObjectFileAt(file, read).ok());
    EXPECT_EQ(read, sample());
}

TEST_F(ObjectFileDisk, SaveOverAnOldFileKeepsWhatTheSaveDoesNotWrite) {
    const std::string file = path("old.kfm");
    // Longer than one copy chunk past the eighth record.
    std::string old(kObjectFileLength + 200000, '\x11');
    for (std::size_t i = kObjectFileLength; i < old.size(); ++i)
        old[i] = static_cast<char>(i * 7);
    tests::writeFile(file, old);
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(writeObjectFileAt(file, sample()).ok());
    const std::string now = tests::readFile(file);
    ASSERT_EQ(now.size(), old.size());
    EXPECT_EQ(now.substr(recordOffset(2), 2 * kRecordLength),
              old.substr(recordOffset(2), 2 * kRecordLength));
    EXPECT_EQ(now.substr(kObjectFileLength), old.substr(kObjectFileLength));
    EXPECT_EQ(now[recordOffset(1) + 20], '\0'); // filler of a written record
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(), std::vector<std::string>{"old.kfm"});
}

TEST_F(ObjectFileDisk, RefusedSaveLeavesTheOldFileAlone) {
    const std::string file = path("keep.kfm");
    tests::writeFile(file, "old content");
    ObjectFileValues values = sample();
    values.text = "\xe2\x9c\x93";
    const ObjectFileResult result = writeObjectFileAt(file, values);
    EXPECT_NE(result.reason.find("Line 1"), std::string::npos) << result.reason;
    EXPECT_EQ(tests::readFile(file), "old content");
    EXPECT_EQ(entries(), std::vector<std::string>{"keep.kfm"});
}

TEST_F(ObjectFileDisk, FailureAfterTheTemporaryFileExistsLeavesTheOldFileAndNoTemporary) {
    const struct {
        SaveFault fault;
        const char* reason;
    } cases[] = {
        {SaveFault::Write, "No space left on device"},
        {SaveFault::Flush, "Input/output error"},
        {SaveFault::Rename, "Input/output error"},
    };
    const std::string file = path("keep.kfm");
    tests::writeFile(file, "old content");
    for (const auto& c : cases) {
        const ObjectFileResult result = writeObjectFileAt(file, sample(), c.fault);
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
        EXPECT_EQ(tests::readFile(file), "old content") << c.reason;
        EXPECT_EQ(entries(), std::vector<std::string>{"keep.kfm"}) << c.reason;
    }
}

TEST_F(ObjectFileDisk, SaveFailuresSayWhyAndChangeNothing) {
    fs::create_directory(folder.path() / "folder.kfm");
    EXPECT_NE(writeObjectFileAt(path("folder.kfm"), sample()).reason.find("folder"),
              std::string::npos);
    EXPECT_FALSE(writeObjectFileAt(path("missing/cube.kfm"), sample()).ok());
    const std::string locked = path("locked.kfm");
    tests::writeFile(locked, "locked");
    ::chmod(locked.c_str(), 0444);
    fs::create_directory(folder.path() / "readonly");
    ::chmod((folder.path() / "readonly").c_str(), 0555);
    const tests::AsNobody nobody(folder.path());
    const ObjectFileResult lockedResult = writeObjectFileAt(locked, sample());
    EXPECT_EQ(lockedResult.reason, "The file locked.kfm is write-protected.");
    EXPECT_EQ(tests::readFile(locked), "locked");
    const ObjectFileResult folderResult =
        writeObjectFileAt((folder.path() / "readonly" / "new.kfm").string(), sample());
    EXPECT_NE(folderResult.reason.find("Permission denied"), std::string::npos)
        << folderResult.reason;
    EXPECT_TRUE(fs::is_empty(folder.path() / "readonly"));
}

TEST_F(ObjectFileDisk, SaveThroughALinkReplacesTheFileItPointsTo) {
    const std::string real = path("real.kfm");
    tests::writeFile(real, "");
    fs::create_symlink(real, folder.path() / "link.kfm");
    ASSERT_TRUE(writeObjectFileAt(path("link.kfm"), sample()).ok());
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.kfm"));
    EXPECT_EQ(fs::file_size(real), 84216u);
}

TEST_F(ObjectFileDisk, LoadNeverCreatesOrChangesAFile) {
    ObjectFileValues values;
    const ObjectFileResult missing = readObjectFileAt(path("absent.kfm"), values);
    EXPECT_NE(missing.reason.find("does not exist"), std::string::npos) << missing.reason;
    EXPECT_FALSE(fs::exists(folder.path() / "absent.kfm"));

    fs::create_directory(folder.path() / "dir.kfm");
    EXPECT_NE(readObjectFileAt(path("dir.kfm"), values).reason.find("folder"), std::string::npos);

    ASSERT_EQ(::mkfifo(path("pipe.kfm").c_str(), 0600), 0);
    EXPECT_NE(readObjectFileAt(path("pipe.kfm"), values).reason.find("not an ordinary file"),
              std::string::npos);

    const std::string bad = path("bad.kfm");
    tests::writeFile(bad, std::string("\x09\x00", 2));
    const ObjectFileResult invalid = readObjectFileAt(bad, values);
    EXPECT_NE(invalid.reason.find("not a valid object file"), std::string::npos) << invalid.reason;

    const std::string readOnly = path("readonly.kfm");
    const std::string unreadable = path("unreadable.kfm");
    tests::writeFile(readOnly, "");
    tests::writeFile(unreadable, "");
    ::chmod(readOnly.c_str(), 0444);
    ::chmod(unreadable.c_str(), 0000);
    const tests::AsNobody nobody(folder.path());
    EXPECT_TRUE(readObjectFileAt(readOnly, values).ok());
    EXPECT_NE(readObjectFileAt(unreadable, values).reason.find("cannot be opened"),
              std::string::npos);
}

// Object-file saves and exports replace a file the same way: its permission bits survive, a
// write-protected file is left alone (even by the superuser), and the longest name a folder takes
// still gets its temporary file.
TEST_F(ObjectFileDisk, ReplacingKeepsPermissionsRefusesProtectedFilesAndTakesLongNames) {
    const struct {
        const char* writer;
        std::string (*write)(const std::string& path);
    } writers[] = {
        {"object file", [](const std::string& p) { return writeObjectFileAt(p, sample()).reason; }},
        {"export", [](const std::string& p) { return writeFileReplacing(p, "picture"); }},
    };
    const struct {
        std::string name;
        mode_t mode; // 0: no old file
        mode_t modeAfter;
        bool written;
        bool othersFile = false; // another user's, replaced by the superuser
    } cases[] = {
        {"private.kfm", 0600, 0600, true},      {"shared.kfm", 0664, 0664, true},
        {"protected.kfm", 0444, 0444, false},   {std::string(251, 'n') + ".kfm", 0, 0, true},
        {"theirs.kfm", 0640, 0640, true, true},
    };
    constexpr uid_t kNobody = 65534;
    for (const auto& writer : writers)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(writer.writer) + " " + c.name.substr(0, 20));
            const std::string file = path(c.name);
            fs::remove(file);
            if (c.mode != 0) {
                tests::writeFile(file, "old");
                ::chmod(file.c_str(), c.mode);
                if (c.othersFile && ::geteuid() == 0) {
                    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
                }
            }
            const std::string reason = writer.write(file);
            EXPECT_EQ(reason.empty(), c.written) << reason;
            if (!c.written) {
                EXPECT_EQ(reason, "The file " + c.name + " is write-protected.");
            }
            EXPECT_EQ(tests::readFile(file) == "old", !c.written);
            if (c.mode != 0) {
                struct stat status {};
                ASSERT_EQ(::stat(file.c_str(), &status), 0);
                EXPECT_EQ(status.st_mode & 07777, c.modeAfter);
                if (c.othersFile && ::geteuid() == 0) {
                    EXPECT_TRUE(status.st_uid == kNobody && status.st_gid == kNobody);
                }
            }
            EXPECT_EQ(entries().size(), 1u) << "a temporary file is left";
            fs::remove(file);
        }
}

} // namespace
} // namespace wirevane
