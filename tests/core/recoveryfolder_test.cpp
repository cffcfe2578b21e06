// Recovery copies: their bytes, the private folder, and which run's copies a start may take.
#include "core/documents/recoveryfolder.h"
#include "tests/common/temporaryfolder.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
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
    EXPECT_TRUE(isNewerRecoveryCopy("WIREVANE RECOVERY 2\nwhatever"));
    EXPECT_FALSE(isNewerRecoveryCopy(good));
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

// Someone else with a hand in the folder must not steer our writes or what a start opens.
TEST_F(RecoveryFolderTest, AFolderOthersCanSteerIsRefusedAndLeftAsItWas) {
    constexpr uid_t kNobody = 65534;
    const struct {
        const char* what;
        mode_t mode;
        bool link;
        bool othersFolder;
        const char* refusal; // empty: used
    } rows[] = {
        {"writable by all", 01777, false, false, "other users may write"},
        {"writable by the group", 0770, false, false, "other users may write"},
        {"a link to a folder", 0755, true, false, "is a symbolic link"},
        {"another user's", 0700, false, true, "belongs to another user"},
        {"our own, readable by all", 0755, false, false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.othersFolder && ::geteuid() != 0)
            continue; // only the superuser can give a folder away
        fs::remove_all(folder.path() / "state");
        const fs::path real = row.link ? folder.path() / "state" / "Documents" : place();
        fs::create_directories(real);
        if (row.link) {
            fs::create_directories(place().parent_path());
            fs::create_directory_symlink(real, place());
        }
        tests::writeFile((real / "1-2-1.recovery").string(), encodeRecoveryCopy(sample("plant")));
        ::chmod(real.c_str(), row.mode);
        if (row.othersFolder) {
            ASSERT_EQ(::chown(real.c_str(), kNobody, kNobody), 0);
        }

        RecoveryFolder run(place());
        EXPECT_EQ(run.takeLeftCopies().readable.size(), *row.refusal ? 0u : 1u);
        run.finishTaken();
        const std::string reason = run.write(1, sample("mine"));
        EXPECT_NE(reason.find(row.refusal), std::string::npos) << reason;
        struct stat after {};
        ASSERT_EQ(::stat(real.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, *row.refusal ? row.mode : 0700);
        if (*row.refusal) {
            EXPECT_EQ(entries(real), std::vector<std::string>{"1-2-1.recovery"});
        }
    }
}

TEST_F(RecoveryFolderTest, ACopySwappedForALinkIsReplacedNeverWrittenThrough) {
    const std::string victim = folder.file("notes.kfm");
    tests::writeFile(victim, "my notes");
    ::chmod(victim.c_str(), 0644);
    RecoveryFolder run(place());
    ASSERT_EQ(run.write(1, sample("first")), "");
    std::string copy;
    for (const std::string& name : entries(place()))
        if (name.ends_with(".recovery"))
            copy = (place() / name).string();
    fs::remove(copy);
    fs::create_symlink(victim, copy);
    ASSERT_EQ(run.write(1, sample("second")), "");
    EXPECT_EQ(tests::readFile(victim), "my notes");
    EXPECT_EQ(permissionsOf(victim), fs::perms(0644));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(copy)));
}

// A start offers only the user's own ordinary files, never reads one whole that no copy can be,
// leaves what a newer version wrote for that version, and clears what a kill left half written.
TEST_F(RecoveryFolderTest, AStartTakesOnlyWhatIsSafeAndClearsStaleTemporaryFiles) {
    const pid_t live = liveRun("live");
    const std::unique_ptr<void, std::function<void(void*)>> killAtEnd(this, [live](void*) {
        kill(live); // also when an assertion ends the test early
    });
    std::string liveRunId;
    for (const std::string& name : entries(place()))
        if (name.ends_with(".lock"))
            liveRunId = name.substr(0, name.size() - 5);
    const std::string elsewhere = folder.file("elsewhere.recovery");
    tests::writeFile(elsewhere, encodeRecoveryCopy(sample("linked")));
    fs::create_symlink(elsewhere, place() / "1-2-1.recovery");
    ASSERT_EQ(::mkfifo((place() / "1-2-2.recovery").c_str(), 0600), 0); // a read would wait
    tests::writeFile((place() / "1-2-3.recovery").string(), encodeRecoveryCopy(sample("theirs")));
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((place() / "1-2-3.recovery").c_str(), 65534, 65534), 0);
    } else {
        fs::remove(place() / "1-2-3.recovery");
    }
    const int huge = ::open((place() / "1-2-4.recovery").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_EQ(::ftruncate(huge, off_t{5} << 30), 0); // sparse: a read would take 5 GiB
    ::close(huge);
    tests::writeFile((place() / "1-2-5.recovery").string(), "WIREVANE RECOVERY 2\nlater");
    tests::writeFile((place() / "1-2-6.recovery").string(), encodeRecoveryCopy(sample("ok")));
    for (const char* stale : {".1-2-7.tmp", ".1-2.tmp", ".wirevane-123456.tmp"})
        tests::writeFile((place() / stale).string(), "half");
    const std::string liveTemporary = "." + liveRunId + "-9.tmp";
    tests::writeFile((place() / liveTemporary).string(), "being written");

    RecoveryFolder start(place());
    const LeftCopies left = start.takeLeftCopies();
    ASSERT_EQ(left.readable.size(), 1u);
    EXPECT_EQ(left.readable[0], sample("ok"));
    EXPECT_EQ(left.unreadable, std::vector<std::string>{"1-2-4.recovery"});
    EXPECT_EQ(left.newer, std::vector<std::string>{"1-2-5.recovery"});
    start.finishTaken();
    std::vector<std::string> expected = {
        liveTemporary,    liveRunId + "-1.recovery", "1-2-1.recovery",    "1-2-2.recovery",
        "1-2-3.recovery", "1-2-5.recovery",          liveRunId + ".lock", "unreadable"};
    if (::geteuid() != 0)
        std::erase(expected, "1-2-3.recovery");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(place()), expected);
    EXPECT_EQ(fs::file_size(place() / "unreadable" / "1-2-4.recovery"), std::uintmax_t{5} << 30);
    EXPECT_EQ(RecoveryFolder(place()).takeLeftCopies().unreadable.size(), 0u); // said once
}

// A full disk may keep a reopened object from getting its own copy; the old one then stays
// until the object is saved or discarded, never longer.
TEST_F(RecoveryFolderTest, ATakenCopyGoesOnceItsWindowKeepsItsOwnOrIsDiscarded) {
    fs::create_directories(place());
    tests::writeFile((place() / "1-2.lock").string(), "");
    tests::writeFile((place() / "1-2-1.recovery").string(), encodeRecoveryCopy(sample("one")));
    tests::writeFile((place() / "1-2-2.recovery").string(), encodeRecoveryCopy(sample("two")));
    RecoveryFolder start(place());
    ASSERT_EQ(start.takeLeftCopies().readable.size(), 2u);
    start.inherit(1, 0);
    start.inherit(2, 1);
    start.simulatedWriteError = ENOSPC;
    EXPECT_NE(start.write(1, sample("one")), "");
    EXPECT_NE(start.write(2, sample("two")), "");
    EXPECT_TRUE(fs::exists(place() / "1-2-1.recovery"));
    start.remove(1); // discarded
    EXPECT_FALSE(fs::exists(place() / "1-2-1.recovery"));
    EXPECT_TRUE(fs::exists(place() / "1-2-2.recovery"));
    start.simulatedWriteError = 0;
    ASSERT_EQ(start.write(2, sample("two")), "");
    EXPECT_FALSE(fs::exists(place() / "1-2-2.recovery"));
    EXPECT_FALSE(fs::exists(place() / "1-2.lock"));
}

} // namespace
} // namespace wirevane
