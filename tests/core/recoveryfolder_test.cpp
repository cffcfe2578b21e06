// Recovery copies: their bytes, the private folder, and which run's copies a start may take.
#include "core/documents/recoveryfolder.h"
#include "tests/common/temporaryfolder.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace wirevane {
namespace {

RecoveryCopy sample(const std::string& text) {
    RecoveryCopy copy;
    copy.name = "house.kfm";
    copy.path = "/home/ann/my objects/house.kfm";
    copy.values.axisOrder = 2;
    copy.values.objectColor = 0x0000FF;
    copy.values.backgroundColor = 0xFFFFFF;
    copy.values.crossColor = 0x00FF00;
    copy.values.showCross = 1;
    copy.values.text = text;
    return copy;
}

fs::perms permissionsOf(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::mask;
}

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RecoveryCopyBytes, ReadBackAsWrittenAndRefuseWhatIsCutOrForeign) {
    // Texts the object file holds, and texts it cannot (past a record, outside its code page).
    for (const std::string& text :
         {std::string("1/2/3\r\n\r\n1-1"), std::string(), std::string(10525, '7'),
          std::string(10526, '7'), std::string("0/0/0 ' \xE2\x86\x92 a \xE2\x82\xAC sign")}) {
        RecoveryCopy read;
        ASSERT_TRUE(decodeRecoveryCopy(encodeRecoveryCopy(sample(text)), read).ok()) << text.size();
        EXPECT_EQ(read, sample(text)) << text.size();
    }
    const std::string good = encodeRecoveryCopy(sample("1/2/3"));
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } refused[] = {
        {"empty", "", "not a recovery file"},
        {"cut in the header", good.substr(0, 30), "not a recovery file"},
        {"cut in the object", good.substr(0, good.size() - 1), "not a recovery file"},
        {"one byte too many", good + "x", "not a recovery file"},
        {"garbage", std::string(5000, '\x9C'), "not a recovery file"},
        {"a plain object file", good.substr(good.size() - 84216), "not a recovery file"},
        {"a huge length", "WIREVANE RECOVERY 1\nname 99999999999999999999\n", "not a recovery"},
        {"newer version", "WIREVANE RECOVERY 2\nwhatever", "newer version"},
    };
    for (const auto& row : refused) {
        RecoveryCopy read = sample("untouched");
        const ObjectFileResult result = decodeRecoveryCopy(row.bytes, read);
        EXPECT_NE(result.reason.find(row.reason), std::string::npos)
            << row.what << ": " << result.reason;
        EXPECT_EQ(read, sample("untouched")) << row.what;
    }
}

TEST(RecoveryFolderPlace, FollowsTheStateHomeOrFallsBackToTheHomeFolder) {
    EXPECT_EQ(recoveryFolderPath("/s", "/home/ann"), fs::path("/s/wirevane/recovery"));
    EXPECT_EQ(recoveryFolderPath(nullptr, "/home/ann"),
              fs::path("/home/ann/.local/state/wirevane/recovery"));
    EXPECT_EQ(recoveryFolderPath("", "/home/ann"),
              fs::path("/home/ann/.local/state/wirevane/recovery"));
    EXPECT_EQ(recoveryFolderPath("relative/state", "/home/ann"),
              fs::path("/home/ann/.local/state/wirevane/recovery"));
    EXPECT_EQ(recoveryFolderPath(nullptr, nullptr), fs::path());
}

class RecoveryFolderTest : public ::testing::Test {
  protected:
    fs::path place() const { return folder.path() / "state" / "wirevane" / "recovery"; }

    // A run in a process of its own that writes one copy, tells, and then waits to be killed.
    pid_t liveRun(const std::string& text) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            auto* run = new RecoveryFolder(place()); // never destroyed: a killed run ends so
            const bool written = run->write(1, sample(text)).empty();
            char byte = written ? 'w' : 'f';
            (void)!::write(ready[1], &byte, 1);
            for (;;)
                ::pause();
        }
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_EQ(byte, 'w');
        ::close(ready[0]);
        ::close(ready[1]);
        return child;
    }
    static void kill(pid_t child) {
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
    }

    tests::TemporaryFolder folder;
};

TEST_F(RecoveryFolderTest, IsPrivateAndEmptyOnceTheRunEndsNormally) {
    {
        RecoveryFolder run(place());
        EXPECT_FALSE(fs::exists(place())); // nothing on the disk before the first copy
        ASSERT_EQ(run.write(1, sample("1/2/3")), "");
        ASSERT_EQ(run.write(2, sample("4/5/6")), "");
        ASSERT_EQ(run.write(1, sample("7/8/9")), "");
        EXPECT_EQ(permissionsOf(place()), fs::perms::owner_all);
        EXPECT_EQ(permissionsOf(place().parent_path()), fs::perms::owner_all);
        const std::vector<std::string> names = entries(place());
        ASSERT_EQ(names.size(), 3u); // two copies and the run's lock, no temporary file
        for (const std::string& name : names)
            EXPECT_EQ(permissionsOf(place() / name), fs::perms::owner_read | fs::perms::owner_write)
                << name;
        run.remove(2);
        EXPECT_EQ(entries(place()).size(), 2u);
    }
    EXPECT_EQ(entries(place()), std::vector<std::string>{});
}

TEST_F(RecoveryFolderTest, AStartTakesOnlyTheCopiesOfRunsThatHaveEnded) {
    const pid_t live = liveRun("live");
    const pid_t killed = liveRun("killed");
    kill(killed);
    RecoveryFolder start(place());
    LeftCopies left = start.takeLeftCopies();
    ASSERT_EQ(left.readable.size(), 1u);
    EXPECT_EQ(left.readable[0], sample("killed"));
    // A second start meanwhile finds the ended run taken.
    EXPECT_TRUE(RecoveryFolder(place()).takeLeftCopies().readable.empty());
    start.finishTaken();
    EXPECT_EQ(entries(place()).size(), 2u); // the live run's copy and lock, untouched

    kill(live);
    left = RecoveryFolder(place()).takeLeftCopies();
    ASSERT_EQ(left.readable.size(), 1u); // released, not finished: offered again
    EXPECT_EQ(left.readable[0], sample("live"));
}

TEST_F(RecoveryFolderTest, UnreadableCopiesAreKeptAsideAndReportedOnce) {
    fs::create_directories(place());
    tests::writeFile((place() / "1-2-1.recovery").string(), "WIREVANE RECOVERY 1\nname 4\nab");
    tests::writeFile((place() / "1-2-2.recovery").string(), encodeRecoveryCopy(sample("ok")));
    RecoveryFolder start(place());
    const LeftCopies left = start.takeLeftCopies();
    EXPECT_EQ(left.readable.size(), 1u);
    EXPECT_EQ(left.unreadable, std::vector<std::string>{"1-2-1.recovery"});
    start.finishTaken();
    EXPECT_EQ(entries(place()), std::vector<std::string>{"unreadable"});
    EXPECT_EQ(entries(place() / "unreadable"), std::vector<std::string>{"1-2-1.recovery"});
    EXPECT_TRUE(RecoveryFolder(place()).takeLeftCopies().unreadable.empty());
}

TEST_F(RecoveryFolderTest, AFullDiskOrAnUnwritableFolderIsReportedAndHarmsNoCopy) {
    RecoveryFolder run(place());
    ASSERT_EQ(run.write(1, sample("kept")), "");
    run.simulatedWriteError = ENOSPC;
    EXPECT_EQ(run.write(1, sample("lost")), "No space left on device");
    RecoveryCopy read;
    const std::vector<std::string> names = entries(place());
    ASSERT_EQ(names.size(), 2u); // no temporary file left behind
    ASSERT_TRUE(decodeRecoveryCopy(tests::readFile((place() / names[0]).string()), read).ok());
    EXPECT_EQ(read, sample("kept"));

    tests::writeFile(folder.file("file"), "not a folder");
    RecoveryFolder blocked(folder.path() / "file" / "wirevane" / "recovery");
    EXPECT_NE(blocked.write(1, sample("x")).find("Not a directory"), std::string::npos);
    RecoveryFolder homeless{fs::path()};
    EXPECT_NE(homeless.write(1, sample("x")), "");
}

} // namespace
} // namespace wirevane
