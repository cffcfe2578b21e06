// Recovery copies of unsaved object windows: kept while typing pauses, gone once not needed,
// offered again at the next start.
#include "core/documents/recoveryfolder.h"
#include "desktop/app/splashwindow.h"
#include "desktop/app/startup.h"
#include "desktop/documents/recoverykeeper.h"
#include "mainwindow_fixture.h"
#include "tests/common/temporaryfolder.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace wirevane {
namespace {

using Answer = Prompts::Answer;

// A state folder of the test's own, in place before the frame reads where it is.
class StateHome {
  protected:
    StateHome() : before_(std::getenv("XDG_STATE_HOME")) {
        ::setenv("XDG_STATE_HOME", home.path().c_str(), 1);
    }
    ~StateHome() { ::setenv("XDG_STATE_HOME", before_.c_str(), 1); }

    fs::path recoveryFolder() const { return home.path() / "wirevane" / "recovery"; }
    std::vector<std::string> files(const std::string& ending = ".recovery") const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(recoveryFolder(), error)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(ending))
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    RecoveryCopy readCopy(const std::string& name) const {
        RecoveryCopy copy;
        EXPECT_TRUE(
            decodeRecoveryCopy(tests::readFile((recoveryFolder() / name).string()), copy).ok());
        return copy;
    }

    tests::TemporaryFolder home;

  private:
    std::string before_;
};

class RecoveryTest : protected StateHome, public FrameTest {
  protected:
    WindowRecovery& recoveryOf(ObjectWindow* window) {
        WindowRecovery* recovery = RecoveryKeeper::of(*window);
        EXPECT_NE(recovery, nullptr);
        return *recovery;
    }
    // Types as a user does and lets the pause pass.
    void typeAndPause(ObjectWindow* window, const QString& keys) {
        QTest::keyClicks(window->Text1, keys);
        WindowRecovery& recovery = recoveryOf(window);
        EXPECT_TRUE(recovery.pauseTimer.isActive());
        EXPECT_EQ(recovery.pauseTimer.interval(), 2000);
        EXPECT_TRUE(recovery.longestWaitTimer.isActive());
        EXPECT_EQ(recovery.longestWaitTimer.interval(), 10000);
        recovery.writeCopy();
    }
    static void closeWindow(ObjectWindow* window) {
        window->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::string savePath(const char* name) const { return home.file(name); }
};

TEST_F(RecoveryTest, TypedWorkIsKeptOnceTypingPausesAndGoesWhenNoLongerNeeded) {
    const struct {
        const char* how;
        std::deque<Answer> answers;
        std::function<void(ObjectWindow*)> end;
        bool kept;
    } rows[] = {
        {"Save", {}, [this](ObjectWindow*) { frame.MSave_Click(); }, false},
        {"close, No", {Answer::No}, closeWindow, false},
        {"close, Yes", {Answer::Yes}, closeWindow, false},
        {"close, Cancel", {Answer::Cancel}, closeWindow, true},
    };
    for (const auto& row : rows) {
        ObjectWindow* window = newWindow();
        QTest::keyClicks(window->Text1, "1/2/");
        EXPECT_TRUE(files().empty()) << row.how << ": written before the pause";
        typeAndPause(window, "3");
        ASSERT_EQ(files().size(), 1u) << row.how;
        const RecoveryCopy copy = readCopy(files()[0]);
        EXPECT_EQ(copy.values.text, "1/2/3") << row.how;
        EXPECT_EQ(copy.name, "noname.kfm") << row.how;

        prompts.answers = row.answers;
        prompts.saveNames = {QString::fromStdString(savePath("saved.kfm"))};
        fs::remove(savePath("saved.kfm"));
        row.end(window);
        EXPECT_EQ(files().size(), row.kept ? 1u : 0u) << row.how;
        prompts.saveNames.clear();
        if (row.kept) {
            window->markSaved(); // what a save does: the copy goes at once
            EXPECT_TRUE(files().empty()) << row.how;
            closeWindow(window);
        }
    }
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(RecoveryTest, ACopyThatCannotBeWrittenShowsOnlyAsASignInTheGutter) {
    const struct {
        const char* what;
        std::function<void()> fail;
        std::function<void()> mend;
        const char* reason;
    } rows[] = {
        {"unwritable folder", [this] { tests::writeFile(home.file("wirevane"), "a file"); },
         [this] { fs::remove(home.file("wirevane")); }, "Not a directory"},
        {"full disk", [this] { frame.recovery().folder().simulatedWriteError = ENOSPC; },
         [this] { frame.recovery().folder().simulatedWriteError = 0; },
         "(No space left on device)"},
    };
    // The folder is blocked first: once a run has made it, it stays.
    for (const auto& row : rows) {
        row.fail();
        ObjectWindow* window = newWindow();
        const QString status = panel(1);
        typeAndPause(window, "1/2/3");
        EXPECT_TRUE(window->Text1->notice().startsWith("Recovery copies cannot be written"))
            << row.what;
        EXPECT_TRUE(window->Text1->notice().contains(row.reason))
            << row.what << ": " << window->Text1->notice().toStdString();
        EXPECT_TRUE(window->Text1->isNoticeAtGutterY(window->Text1->gutter()->height() - 4));
        EXPECT_EQ(window->windowTitle(), "3D-Objekt");
        EXPECT_EQ(panel(1), status);
        EXPECT_TRUE(prompts.questions.empty() && prompts.errors.empty()) << row.what;
        EXPECT_TRUE(files().empty()) << row.what;

        row.mend();
        typeAndPause(window, "4");
        EXPECT_EQ(window->Text1->notice(), "") << row.what;
        EXPECT_EQ(files().size(), 1u) << row.what;
        window->markSaved();
        closeWindow(window);
    }
}

class RecoveryStartTest : public RecoveryTest {
  protected:
    RecoveryStartTest() {
        frame.hide();
        frame.aboutBoxOpener = [this](QWidget*) {
            questionsBeforeAboutBox = prompts.questions.size();
        };
    }

    void start(const QString& commandLine) {
        QPointer<SplashWindow> splash = startProgram(scene, frame, commandLine);
        for (int tick = 1; tick <= SplashWindow::kLastStep && splash; ++tick)
            splash->Timer1_Timer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // What a killed run leaves: its copies and a lock file nobody holds.
    void leaveEndedRun(const std::vector<std::pair<std::string, std::string>>& copies) {
        fs::create_directories(recoveryFolder());
        tests::writeFile((recoveryFolder() / "4242-100000.lock").string(), "");
        for (const auto& [name, bytes] : copies)
            tests::writeFile((recoveryFolder() / name).string(), bytes);
    }
    std::vector<ObjectWindow*> objectWindows() const {
        std::vector<ObjectWindow*> windows;
        for (QMdiSubWindow* sub : frame.frameArea->subWindowList(QMdiArea::CreationOrder))
            windows.push_back(qobject_cast<ObjectWindow*>(sub->widget()));
        return windows;
    }
    static RecoveryCopy house() {
        RecoveryCopy copy;
        copy.name = "house.kfm";
        copy.path = "/somewhere/my house.kfm";
        copy.values.text = "-3/0/-3\r\n3/0/-3\r\n\r\n1-2";
        copy.values.axisOrder = 2;
        copy.values.objectColor = 0x0000FF;
        copy.values.backgroundColor = 0x102030;
        copy.values.crossColor = 0x00FF00;
        copy.values.showCross = 1;
        return copy;
    }
    static RecoveryCopy unnamed() {
        RecoveryCopy copy;
        copy.name = "noname.kfm";
        copy.values.text = "0/0/0 ' \xE2\x86\x92 not in the code page";
        return copy;
    }

    std::size_t questionsBeforeAboutBox = 99;
};

TEST_F(RecoveryStartTest, LeftCopiesAreOfferedBeforeTheFileAndOpenUnsavedOrAreDeleted) {
    // Cancel stands for Escape and a closed box: nothing is lost, the next start asks again.
    for (const Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
        const bool yes = answer == Answer::Yes;
        const bool cancel = answer == Answer::Cancel;
        leaveEndedRun({{"4242-100000-1.recovery", encodeRecoveryCopy(house())},
                       {"4242-100000-3.recovery", encodeRecoveryCopy(unnamed())}});
        // A run that is still alive: its copy is neither offered nor touched.
        RecoveryFolder live(recoveryFolder());
        ASSERT_EQ(live.write(1, house()), "");
        std::vector<std::string> liveFiles = files();
        std::erase_if(liveFiles, [](const std::string& name) { return name.starts_with("4242-"); });
        ASSERT_EQ(liveFiles.size(), 1u);
        const std::string liveBytes = tests::readFile((recoveryFolder() / liveFiles[0]).string());

        const QString cube = QString::fromStdString(home.file("cube.kfm"));
        QFile::remove(cube);
        ASSERT_TRUE(QFile::copy(WIREVANE_SOURCE "/examples/cube.kfm", cube));
        prompts.questions.clear();
        prompts.answers = {answer};
        start(cube);

        ASSERT_EQ(prompts.questions.size(), 1u);
        EXPECT_EQ(prompts.questions[0].title, "Recover unsaved objects?");
        EXPECT_EQ(prompts.questions[0].text,
                  "Wirevane ended without saving 2 object(s). Open them again?\n\n"
                  "No deletes them. Cancel keeps them for the next start.");
        EXPECT_EQ(questionsBeforeAboutBox, 99u) << "a file was named: no about box";
        const std::vector<ObjectWindow*> windows = objectWindows();
        ASSERT_EQ(windows.size(), yes ? 3u : 1u);
        EXPECT_EQ(windows.back()->Text2->text(), "cube.kfm"); // the command line's file last
        EXPECT_EQ(fs::exists(recoveryFolder() / "4242-100000.lock"), cancel);
        EXPECT_EQ(tests::readFile((recoveryFolder() / liveFiles[0]).string()), liveBytes);
        if (yes) {
            ObjectWindow* first = windows[0];
            EXPECT_EQ(first->windowTitle(), "3D-Objekt - /somewhere/my house.kfm");
            EXPECT_EQ(first->Text2->text(), "house.kfm");
            EXPECT_EQ(first->Text4->text(), "/somewhere/my house.kfm");
            EXPECT_EQ(first->fileValues(), house().values);
            EXPECT_EQ(first->Text3->text(), "2");
            EXPECT_TRUE(first->hasUnsavedChanges());
            ObjectWindow* second = windows[1];
            EXPECT_EQ(second->windowTitle(), "3D-Objekt");
            EXPECT_EQ(second->fileValues(), unnamed().values);
            EXPECT_TRUE(second->hasUnsavedChanges());
            // This run's own copies replace the old ones at once.
            EXPECT_EQ(files().size(), 3u);
            frame.frameArea->setActiveSubWindow(
                qobject_cast<QMdiSubWindow*>(second->parentWidget()));
            prompts.saveNames = {""};
            frame.MSave_Click();
            EXPECT_EQ(prompts.saveDialogs.size(), 1u) << "an unnamed object asks for a name";
        } else if (cancel) {
            liveFiles.insert(liveFiles.end(), {"4242-100000-1.recovery", "4242-100000-3.recovery"});
            std::sort(liveFiles.begin(), liveFiles.end());
            EXPECT_EQ(files(), liveFiles);
        } else {
            EXPECT_EQ(files(), liveFiles);
        }
        for (ObjectWindow* window : objectWindows()) {
            window->markSaved();
            closeWindow(window);
        }
        frame.hide();
    }
}

TEST_F(RecoveryStartTest, AReopenedObjectWithoutACopyOfItsOwnKeepsTheOldOneUntilDiscarded) {
    leaveEndedRun({{"4242-100000-1.recovery", encodeRecoveryCopy(house())}});
    frame.recovery().folder().simulatedWriteError = ENOSPC;
    prompts.answers = {Answer::Yes};
    start("");
    ASSERT_EQ(objectWindows().size(), 1u);
    ObjectWindow* window = objectWindows()[0];
    EXPECT_TRUE(window->Text1->notice().startsWith("Recovery copies cannot be written"));
    EXPECT_EQ(files(), std::vector<std::string>{"4242-100000-1.recovery"});
    prompts.answers = {Answer::No};
    closeWindow(window);
    EXPECT_TRUE(files().empty()) << "a discarded object is offered again";
}

TEST_F(RecoveryStartTest, UnreadableCopiesAreNamedOnceAndKeptAside) {
    const std::string garbage(300, '\x9C');
    const struct {
        const char* what;
        bool withReadable;
    } rows[] = {{"beside a readable copy", true}, {"alone", false}};
    for (const auto& row : rows) {
        leaveEndedRun({{"4242-100000-5.recovery", garbage}});
        if (row.withReadable)
            tests::writeFile((recoveryFolder() / "4242-100000-6.recovery").string(),
                             encodeRecoveryCopy(house()));
        prompts.questions.clear();
        prompts.errors.clear();
        prompts.answers = {Answer::No};
        start("");
        const std::vector<ScriptedPrompts::Shown>& told =
            row.withReadable ? prompts.questions : prompts.errors;
        ASSERT_EQ(told.size(), 1u) << row.what;
        EXPECT_TRUE(told[0].text.contains("4242-100000-5.recovery")) << row.what;
        EXPECT_TRUE(told[0].text.contains("cannot be read")) << row.what;
        EXPECT_EQ(questionsBeforeAboutBox, row.withReadable ? 1u : 0u) << row.what;
        EXPECT_EQ(
            tests::readFile((recoveryFolder() / "unreadable" / "4242-100000-5.recovery").string()),
            garbage)
            << row.what;
        fs::remove(recoveryFolder() / "unreadable" / "4242-100000-5.recovery");
        EXPECT_TRUE(files().empty()) << row.what;
        frame.hide();
    }
    prompts.errors.clear();
    start("");
    EXPECT_TRUE(prompts.errors.empty()) << "reported once only";
}

TEST_F(RecoveryStartTest, ManyUnreadableCopiesMakeAShortNoteAndNewerOnesStayInPlace) {
    std::vector<std::pair<std::string, std::string>> copies;
    for (int slot = 100; slot < 400; ++slot)
        copies.push_back({"4242-100000-" + std::to_string(slot) + ".recovery", "garbage"});
    copies.push_back({"4242-100000-1.recovery", "WIREVANE RECOVERY 9\nlater"});
    leaveEndedRun(copies);
    start("");
    ASSERT_EQ(prompts.errors.size(), 1u);
    const QString note = prompts.errors[0].text;
    EXPECT_TRUE(note.contains("4242-100000-109.recovery\nand 290 more")) << note.toStdString();
    EXPECT_FALSE(note.contains("4242-100000-110.recovery"));
    EXPECT_TRUE(note.contains("made by a newer Wirevane"));
    EXPECT_LT(note.count(u'\n'), 30);
    EXPECT_EQ(files(), std::vector<std::string>{"4242-100000-1.recovery"});
}

// The real program under the offscreen platform, with a scripted user typing into it.
QProcess* startProgram(const fs::path& stateHome, const char* userMode,
                       const QStringList& arguments) {
    auto* program = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_STATE_HOME", QString::fromStdString(stateHome.string()));
    environment.insert("QT_PLUGIN_PATH", WIREVANE_TEST_PLUGINS);
    environment.insert("QT_QPA_GENERIC_PLUGINS", QStringLiteral("scripteduser:") + userMode);
    program->setProcessEnvironment(environment);
    program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program->start(WIREVANE_PROGRAM, arguments);
    EXPECT_TRUE(program->waitForStarted());
    return program;
}

TEST_F(RecoveryStartTest, TypedTextSurvivesAKillOfTheRealProgram) {
    const QString cube = QString::fromStdString(home.file("cube.kfm"));
    ASSERT_TRUE(QFile::copy(WIREVANE_SOURCE "/examples/cube.kfm", cube));
    const fs::path state = home.path() / "state";
    const fs::path copies = state / "wirevane" / "recovery";

    std::unique_ptr<QProcess> first(startProgram(state, "type", {cube}));
    // Real time passes in a real program: wait for the copy its own timer writes.
    bool written = false;
    for (QDeadlineTimer deadline(30000); !written && !deadline.hasExpired();) {
        first->waitForReadyRead(100);
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(copies, error)) {
            RecoveryCopy copy;
            written =
                written || (decodeRecoveryCopy(tests::readFile(entry.path().string()), copy).ok() &&
                            copy.values.text.starts_with("' typed, then killed\r\n"));
        }
    }
    ASSERT_TRUE(written) << first->readAllStandardOutput().toStdString();
    ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
    first->waitForFinished();

    std::unique_ptr<QProcess> second(startProgram(state, "report", {}));
    ASSERT_TRUE(second->waitForFinished(30000));
    const QString said = QString::fromUtf8(second->readAllStandardOutput());
    EXPECT_TRUE(said.contains("question|Recover unsaved objects?|Wirevane ended without saving "
                              "1 object(s). Open them again?\n"))
        << said.toStdString();
    EXPECT_TRUE(said.contains("window|cube.kfm|' typed, then killed\n")) << said.toStdString();
}

} // namespace
} // namespace wirevane
