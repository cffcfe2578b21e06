// New, Load, Save and Save as against a bare frame, with scripted dialogs and real files.
#include "core/documents/objectfile.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/ui/allfilesfilter.h"
#include "scriptedprompts.h"
#include "tests/common/asnobody.h"
#include "tests/common/temporaryfolder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace wirevane {
namespace {

using Answer = Prompts::Answer;

class FileCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        frame.resize(1000, 800);
        frame.show();
    }

    QString path(const QString& name) const { return folder.filePath(name); }
    QString folderPath() const { return folder.qPath(); }
    // An unsaved new window holding some text.
    ObjectWindow* newWindowWith(const QString& text) {
        ObjectWindow* window = commands.MNew_Click();
        window->setObjectText(text);
        return window;
    }
    bool closeWindow(ObjectWindow* window) {
        QPointer<ObjectWindow> watched = window;
        window->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return watched.isNull();
    }
    QString savedText(const QString& file) {
        ObjectFileValues values;
        EXPECT_TRUE(decodeObjectFile(tests::readFile(file).toStdString(), values).ok());
        return QString::fromStdString(values.text);
    }

    ScriptedPrompts prompts;
    tests::TemporaryFolder folder;
    QMdiArea frame;
    Scene scene;
    FileCommands commands{frame, scene};
};

TEST_F(FileCommandsTest, NewOpensACleanActiveWindow) {
    ObjectWindow* window = commands.MNew_Click();
    EXPECT_EQ(commands.activeObjectWindow(), window);
    EXPECT_EQ(window->windowTitle(), "3D-Objekt");
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(window->parentWidget()->size(), QSize(586, 405));
    ObjectWindow* second = commands.MNew_Click();
    EXPECT_EQ(commands.activeObjectWindow(), second);
    EXPECT_TRUE(closeWindow(second));
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(FileCommandsTest, SaveAsWritesTheFileAndNamesTheWindow) {
    ObjectWindow* window = newWindowWith("1/2/3");
    prompts.saveNames = {path("cube.kfm")};
    commands.MSave_Click(); // a window without a file goes through Save as
    ASSERT_EQ(prompts.saveDialogs.size(), 1u);
    EXPECT_EQ(prompts.saveDialogs[0].title, "Save");
    EXPECT_EQ(prompts.saveDialogs[0].text, "Wirevane Files (*.kfm);;Alle Dateien (*.*)");
    const QByteArray bytes = tests::readFile(path("cube.kfm"));
    ASSERT_EQ(bytes.size(), 84216);
    EXPECT_EQ(bytes.mid(73689, 7), QByteArray("\x05\x00"
                                              "1/2/3",
                                              7));
    EXPECT_EQ(bytes.mid(31581, 6), QByteArray("\x03\x00\x00\xC0\xC0\x00", 6));
    EXPECT_EQ(window->Text2->text(), "cube.kfm");
    EXPECT_EQ(window->Text4->text(), path("cube.kfm"));
    EXPECT_EQ(window->windowTitle(), "3D-Objekt - " + path("cube.kfm"));
    EXPECT_EQ(commands.currentFileName, path("cube.kfm"));
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(scene.objectColor, 0xC0C000);
    EXPECT_EQ(scene.showCross, 0);

    // Save now writes to the window's file without asking, and keeps the title.
    window->setObjectText("4/5/6");
    window->UpDown1->setValue(2);
    commands.MSave_Click();
    EXPECT_EQ(prompts.saveDialogs.size(), 1u);
    EXPECT_EQ(savedText(path("cube.kfm")), "4/5/6");
    EXPECT_EQ(scene.axisOrder, 2);
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(FileCommandsTest, CancelledSaveDialogSavesNothing) {
    ObjectWindow* window = newWindowWith("1/2/3");
    prompts.saveNames = {""};
    commands.MSave_Click();
    EXPECT_EQ(window->Text2->text(), "noname.kfm");
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_TRUE(QDir(folderPath()).isEmpty());
}

TEST_F(FileCommandsTest, OverwriteQuestionAnswers) {
    tests::writeFile(path("old.kfm"), "old");
    ObjectWindow* window = newWindowWith("1/2/3");

    // No asks again; a name that does not exist then saves without a question.
    prompts.saveNames = {path("old.kfm"), path("new.kfm")};
    prompts.answers = {Answer::No};
    commands.MSAveas_Click();
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].title, "Overwrite file?");
    EXPECT_EQ(prompts.questions[0].text, "File allready exist, overwrite?");
    EXPECT_EQ(tests::readFile(path("old.kfm")), "old");
    EXPECT_EQ(savedText(path("new.kfm")), "1/2/3");
    EXPECT_EQ(window->Text2->text(), "new.kfm");

    window->setObjectText("changed");
    prompts.saveNames = {path("old.kfm")};
    prompts.answers = {Answer::Cancel};
    commands.MSAveas_Click();
    EXPECT_EQ(tests::readFile(path("old.kfm")), "old");
    EXPECT_EQ(window->Text2->text(), "new.kfm");
    EXPECT_TRUE(window->hasUnsavedChanges());

    prompts.saveNames = {path("old.kfm")};
    prompts.answers = {Answer::Yes};
    commands.MSAveas_Click();
    EXPECT_EQ(savedText(path("old.kfm")), "changed");
    EXPECT_EQ(window->Text2->text(), "old.kfm");
    EXPECT_TRUE(prompts.scriptUsedUp());
}

TEST_F(FileCommandsTest, FailedSaveIsToldAndKeepsTheWindowUnsaved) {
    ObjectWindow* window = newWindowWith("1/2/3");
    const QString target = path("missing/cube.kfm");
    prompts.saveNames = {target};
    commands.MSAveas_Click();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].text.contains(target)) << prompts.errors[0].text.toStdString();
    EXPECT_TRUE(prompts.errors[0].text.contains("No such file"))
        << prompts.errors[0].text.toStdString();
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_EQ(window->Text2->text(), "noname.kfm");
    EXPECT_EQ(window->windowTitle(), "3D-Objekt");
}

TEST_F(FileCommandsTest, SaveIntoAReadOnlyFolderFails) {
    const QString locked = path("locked");
    ASSERT_TRUE(QDir(folderPath()).mkdir("locked"));
    QFile::setPermissions(locked,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    ObjectWindow* window = newWindowWith("1/2/3");
    prompts.saveNames = {locked + "/cube.kfm"};
    {
        const tests::AsNobody nobody(folder.path());
        commands.MSAveas_Click();
    }
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].text.contains("Permission denied"));
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_TRUE(QDir(locked).isEmpty());
}

TEST_F(FileCommandsTest, TextAFileCannotHoldIsRefusedWithTheReason) {
    ObjectWindow* window = newWindowWith(QString(10526, 'x'));
    prompts.saveNames = {path("long.kfm")};
    commands.MSAveas_Click();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].text.contains("10525"));
    EXPECT_FALSE(QFile::exists(path("long.kfm")));

    window->setObjectText(QString::fromUtf8("1/2/3\r\n'\xe2\x9c\x93 done"));
    prompts.saveNames = {path("tick.kfm")};
    commands.MSAveas_Click();
    ASSERT_EQ(prompts.errors.size(), 2u);
    EXPECT_TRUE(prompts.errors[1].text.contains("Line 2")) << prompts.errors[1].text.toStdString();
    EXPECT_FALSE(QFile::exists(path("tick.kfm")));
    EXPECT_TRUE(window->hasUnsavedChanges());
}

TEST_F(FileCommandsTest, SaveAndSaveAsWithoutAWindowDoNothing) {
    commands.MSave_Click();
    commands.MSAveas_Click();
    EXPECT_TRUE(prompts.saveDialogs.empty());
}

TEST_F(FileCommandsTest, CloseQuestionYesSavesAndCloses) {
    ObjectWindow* window = newWindowWith("1/2/3");
    prompts.answers = {Answer::Yes};
    prompts.saveNames = {path("closed.kfm")};
    EXPECT_TRUE(closeWindow(window));
    EXPECT_EQ(savedText(path("closed.kfm")), "1/2/3");
}

TEST_F(FileCommandsTest, CloseQuestionYesThenCancelledDialogKeepsTheWindow) {
    ObjectWindow* window = newWindowWith("1/2/3");
    prompts.answers = {Answer::Yes};
    prompts.saveNames = {""};
    EXPECT_FALSE(closeWindow(window));
    EXPECT_EQ(window->objectText(), "1/2/3");
}

TEST_F(FileCommandsTest, CloseQuestionYesWithAFailingSaveKeepsTheWindow) {
    ObjectWindow* window = newWindowWith("1/2/3");
    prompts.saveNames = {path("cube.kfm")};
    commands.MSAveas_Click();
    window->setObjectText("changed");
    QFile::remove(path("cube.kfm"));
    ASSERT_TRUE(QDir(folderPath()).mkdir("cube.kfm")); // the file is now a folder
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(closeWindow(window));
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].text.contains(path("cube.kfm")));
    EXPECT_EQ(window->objectText(), "changed");

    // A frame closing all its windows stops there too.
    prompts.answers = {Answer::Yes};
    frame.closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame.subWindowList().size(), 1);
}

TEST_F(FileCommandsTest, LoadShowsTheFileAndLeavesTheSpinnerWhereItWas) {
    ObjectFileValues values;
    values.axisOrder = 3;
    values.objectColor = 0x0000FF;
    values.backgroundColor = 0x112233;
    values.crossColor = 0x445566;
    values.showCross = 1;
    values.text = "lone\rCR\r\nlone\nLF\r\n";
    std::string bytes;
    ASSERT_TRUE(encodeObjectFile(values, "", bytes).ok());
    tests::writeFile(path("three.kfm"), QByteArray::fromStdString(bytes));

    prompts.openNames = {path("three.kfm")};
    commands.MLoad_Click();
    ASSERT_EQ(prompts.openDialogs.size(), 1u);
    EXPECT_EQ(prompts.openDialogs[0].title, "Load");
    EXPECT_EQ(prompts.openDialogs[0].text, "Wirevane Files (*.kfm);;Alle Dateien (*.*)");
    ObjectWindow* window = commands.activeObjectWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_EQ(window->windowTitle(), "3D-Objekt - " + path("three.kfm"));
    EXPECT_EQ(window->Text2->text(), "three.kfm");
    EXPECT_EQ(window->Text4->text(), path("three.kfm"));
    EXPECT_EQ(window->objectText(), QString::fromStdString(values.text));
    EXPECT_EQ(window->Text3->text(), "3");
    EXPECT_EQ(window->Command1->colour(), 0x0000FF);
    EXPECT_EQ(window->Command2->colour(), 0x112233);
    EXPECT_EQ(window->Command3->colour(), 0x445566);
    EXPECT_TRUE(window->Check1->isChecked());
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(scene.backgroundColor, 0x112233);
    EXPECT_EQ(scene.axisOrder, 3);
    EXPECT_EQ(scene.showCross, 1);

    // The spinner still stands at 0: one step up gives 1.
    window->UpDown1->stepUp();
    EXPECT_EQ(window->Text3->text(), "1");
    window->UpDown1->stepDown();
    window->Text3->setText("3");
    EXPECT_FALSE(window->hasUnsavedChanges());

    // Saving it again gives the same bytes.
    commands.MSave_Click();
    EXPECT_EQ(tests::readFile(path("three.kfm")).toStdString(), bytes);
}

TEST_F(FileCommandsTest, LoadOfABadFileIsToldAndLeavesANewUnnamedWindow) {
    tests::writeFile(path("tag.kfm"), QByteArray("\x09\x00", 2));
    QByteArray truncated(73689 + 4, '\0');
    truncated[73689] = 100; // claims 100 bytes of text, holds 2
    tests::writeFile(path("short.kfm"), truncated);
    ASSERT_TRUE(QDir(folderPath()).mkdir("folder.kfm"));
    const struct {
        QString name;
        const char* reason;
    } cases[] = {
        {"absent.kfm", "does not exist"},
        {"folder.kfm", "folder"},
        {"tag.kfm", "unknown type tag 9"},
        {"short.kfm", "runs past the end"},
    };
    for (const auto& c : cases) {
        prompts.errors.clear();
        prompts.openNames = {path(c.name)};
        commands.MLoad_Click();
        ObjectWindow* window = commands.activeObjectWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(prompts.errors.size(), 1u) << c.name.toStdString();
        EXPECT_TRUE(prompts.errors[0].text.contains(path(c.name)));
        EXPECT_TRUE(prompts.errors[0].text.contains(c.reason))
            << prompts.errors[0].text.toStdString();
        EXPECT_EQ(window->Text2->text(), "noname.kfm");
        EXPECT_EQ(window->Text4->text(), "");
        EXPECT_EQ(window->windowTitle(), "3D-Objekt");
        EXPECT_EQ(window->objectText(), "");
        EXPECT_EQ(window->Command1->colour(), 0xC0C000);
        EXPECT_FALSE(window->hasUnsavedChanges());
    }
    EXPECT_FALSE(QFile::exists(path("absent.kfm")));
    EXPECT_EQ(tests::readFile(path("tag.kfm")), QByteArray("\x09\x00", 2));
}

// Whatever the user does next, the file that could not be read is never written.
TEST_F(FileCommandsTest, NoSaveAfterAFailedLoadTouchesTheUnreadableFile) {
    const QByteArray unreadable("\x05\x00\x00\x00", 4); // cut inside its number
    tests::writeFile(path("bad.kfm"), unreadable);
    const struct {
        const char* way;
        std::function<void()> open;
    } ways[] = {
        {"Load",
         [&] {
             prompts.openNames = {path("bad.kfm")};
             commands.MLoad_Click();
         }},
        {"start-up",
         [&] {
             commands.currentFileName = path("bad.kfm");
             commands.openFileWindow();
         }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        prompts.errors.clear();
        w.open();
        ObjectWindow* window = commands.activeObjectWindow();
        ASSERT_EQ(prompts.errors.size(), 1u);
        EXPECT_TRUE(prompts.errors[0].text.contains(path("bad.kfm")));
        EXPECT_TRUE(prompts.errors[0].text.contains("cut off"));
        window->setObjectText("1/2/3");

        prompts.saveNames = {path("bad.kfm")}; // Save asks for a name, and the question protects
        prompts.answers = {Answer::Cancel};
        commands.MSave_Click();
        EXPECT_EQ(prompts.questions.size(), 1u);
        EXPECT_EQ(tests::readFile(path("bad.kfm")), unreadable);

        prompts.saveNames = {path("other.kfm")};
        commands.MSAveas_Click();
        EXPECT_EQ(savedText(path("other.kfm")), "1/2/3");
        EXPECT_EQ(tests::readFile(path("bad.kfm")), unreadable);

        w.open();
        window = commands.activeObjectWindow();
        window->setObjectText("4/5/6");
        prompts.answers = {Answer::Yes};
        prompts.saveNames = {path("closed.kfm")};
        EXPECT_TRUE(closeWindow(window));
        EXPECT_EQ(savedText(path("closed.kfm")), "4/5/6");
        EXPECT_EQ(tests::readFile(path("bad.kfm")), unreadable);
        EXPECT_TRUE(prompts.scriptUsedUp());
        prompts.questions.clear();
        QFile::remove(path("other.kfm"));
        QFile::remove(path("closed.kfm"));
    }
}

TEST_F(FileCommandsTest, CancelledLoadOpensNothing) {
    prompts.openNames = {""};
    commands.MLoad_Click();
    EXPECT_TRUE(frame.subWindowList().isEmpty());
}

TEST_F(FileCommandsTest, ShippedExamplesLoad) {
    const std::filesystem::path examples = std::filesystem::path(WIREVANE_SOURCE) / "examples";
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() != ".kfm")
            continue;
        commands.currentFileName = QString::fromStdString(entry.path().string());
        ObjectWindow* window = commands.openFileWindow();
        EXPECT_TRUE(prompts.errors.empty()) << entry.path();
        EXPECT_FALSE(window->hasUnsavedChanges()) << entry.path();
        // The same text as the example's text file, with CR LF line ends.
        std::filesystem::path textFile = entry.path();
        textFile.replace_extension(".txt");
        QString text =
            QString::fromUtf8(tests::readFile(QString::fromStdString(textFile.string())));
        text.replace("\n", "\r\n");
        EXPECT_EQ(window->objectText(), text) << entry.path();
        ObjectInput input = window->compilerInput();
        EXPECT_GT(input.text.size(), 0u);
        ++loaded;
    }
    EXPECT_GE(loaded, 5);
}

// The dialog itself, as the Load and Save commands show it.
TEST(AllFilesEntry, ShowsEveryFileAlsoNamesWithoutADot) {
    QFileDialog dialog(nullptr, "Load", QString(), "Wirevane Files (*.kfm);;Alle Dateien (*.*)");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    letAllFilesEntryShowEveryFile(dialog);
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto* entries = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(model, nullptr);
    ASSERT_NE(entries, nullptr);
    const auto choose = [&](int index) { // as the user picks an entry
        entries->setCurrentIndex(index);
        emit entries->activated(index);
        emit entries->textActivated(entries->itemText(index));
    };
    EXPECT_EQ(model->nameFilters(), QStringList{"*.kfm"});
    choose(1);
    EXPECT_EQ(entries->currentText(), "Alle Dateien (*.*)");
    EXPECT_EQ(model->nameFilters(), QStringList{"*"});
    choose(0);
    EXPECT_EQ(model->nameFilters(), QStringList{"*.kfm"});
}

} // namespace
} // namespace wirevane
