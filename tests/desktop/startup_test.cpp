// The start: start values, the splash's ticks, then the main window with the command line's
// file or the about box.
#include "core/engine/scene.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/app/interfacestate.h"
#include "desktop/app/mainwindow.h"
#include "desktop/app/splashwindow.h"
#include "desktop/app/startup.h"
#include "desktop/documents/filecommands.h"
#include "desktop/documents/objectwindow.h"
#include "scriptedprompts.h"
#include "tests/common/temporaryfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <gtest/gtest.h>
#include <vector>

using namespace wirevane;

namespace {

class StartTest : public ::testing::Test {
  protected:
    StartTest() {
        frame.aboutBoxOpener = [this](QWidget* owner) {
            aboutBoxes.push_back(owner);
            frameShownForAboutBox = frame.isVisible();
        };
    }
    ~StartTest() override {
        delete splash.data();
        frame.hide();
    }

    void start(const QString& commandLine) { splash = startProgram(scene, frame, commandLine); }
    void tickToTheEnd() {
        for (int tick = 1; tick <= SplashWindow::kLastStep && splash; ++tick)
            splash->Timer1_Timer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QList<QMdiSubWindow*> objectWindows() const { return frame.frameArea->subWindowList(); }

    QString path(const QString& name) const {
        return QString::fromStdString(folder.file(name.toStdString()));
    }
    QString folderPath() const { return folder.qPath(); }
    void writeBytes(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    ScriptedPrompts prompts;
    tests::TemporaryFolder folder;
    Scene scene;
    AnimationController animation{scene};
    MainWindow frame{scene, animation};
    QPointer<SplashWindow> splash;
    std::vector<QWidget*> aboutBoxes;
    bool frameShownForAboutBox = false;
};

} // namespace

TEST(CommandLine, TheArgumentsJoinedWithBlanksFormThePath) {
    EXPECT_EQ(argumentText(QStringList{"wirevane"}), "");
    EXPECT_EQ(argumentText(QStringList{"wirevane", "/tmp/a.kfm"}), "/tmp/a.kfm");
    EXPECT_EQ(argumentText(QStringList{"wirevane", "/tmp/my", "cube.kfm"}), "/tmp/my cube.kfm");
    EXPECT_EQ(argumentText(QStringList{"wirevane", "\"quoted\""}), "\"quoted\"");

    EXPECT_EQ(commandLineRequest("--help"), CommandLineRequest::Help);
    EXPECT_EQ(commandLineRequest("--version"), CommandLineRequest::Version);
    EXPECT_EQ(commandLineRequest(""), CommandLineRequest::Start);
    EXPECT_EQ(commandLineRequest("--help me.kfm"), CommandLineRequest::Start);
    EXPECT_EQ(commandLineRequest("cube.kfm"), CommandLineRequest::Start);
    EXPECT_TRUE(usageText().contains("--version"));
    EXPECT_TRUE(versionText().contains("3.0"));
}

TEST_F(StartTest, SetsTheStartValuesAndShowsTheFrameOnlyAtTheNinthTick) {
    scene.zoomFactor = 0;
    scene.turnStep = 0;
    scene.showCross = 0;
    frame.interfaceState().statusFileText = "elsewhere";
    start("/nowhere/cube.kfm");
    EXPECT_EQ(scene.zoomFactor, 1);
    EXPECT_EQ(scene.turnStep, 5);
    EXPECT_EQ(scene.showCross, 1);
    EXPECT_EQ(frame.interfaceState().statusFileText, " No file ");
    EXPECT_EQ(frame.Text1->text(), "/nowhere/cube.kfm");
    EXPECT_TRUE(frame.Text1->isHidden());

    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->testAttribute(Qt::WA_DeleteOnClose));
    for (int tick = 1; tick < SplashWindow::kLastStep; ++tick) {
        splash->Timer1_Timer();
        EXPECT_FALSE(frame.isVisible()) << tick;
        EXPECT_TRUE(splash->isVisible()) << tick;
    }
    EXPECT_TRUE(aboutBoxes.empty());
    splash->Timer1_Timer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(splash.isNull());
}

TEST_F(StartTest, OpensAnExistingFileAsTypedAndShowsNoAboutBox) {
    const QString original = QStringLiteral(WIREVANE_SOURCE "/examples/house.kfm");
    ASSERT_TRUE(QFile::copy(original, path("my house.kfm")));
    const QString before = QDir::currentPath();
    QDir::setCurrent(folderPath());
    start("my house.kfm");
    tickToTheEnd();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(aboutBoxes.empty());
    EXPECT_TRUE(prompts.errors.empty());
    ASSERT_EQ(objectWindows().size(), 1);
    auto* window = qobject_cast<ObjectWindow*>(objectWindows()[0]->widget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "3D-Objekt - my house.kfm");
    EXPECT_EQ(window->Text2->text(), "my house.kfm");
    EXPECT_FALSE(window->objectText().isEmpty());
    EXPECT_FALSE(window->hasUnsavedChanges());
    QDir::setCurrent(before);
}

TEST_F(StartTest, AShapeOpensAsANewObject) {
    writeBytes("line.ply", "ply\nformat ascii 1.0\nelement vertex 2\nproperty float x\n"
                           "property float y\nproperty float z\nend_header\n1 2 3\n4 5 6\n");
    start(path("line.ply"));
    tickToTheEnd();
    EXPECT_TRUE(aboutBoxes.empty());
    EXPECT_TRUE(prompts.errors.empty());
    ObjectWindow* window = frame.fileCommands().activeObjectWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectText(), "' From line.ply\r\n1/2/3\r\n4/5/6\r\n");
    EXPECT_EQ(window->Text2->text(), "noname.kfm");
    EXPECT_TRUE(window->hasUnsavedChanges());
}

TEST_F(StartTest, WithoutAFileTheAboutBoxIsShownOverTheFrameAndNothingIsTold) {
    const QString cases[] = {"", path("absent.kfm"), folderPath() + "/", folderPath() + "\\",
                             QString(100000, 'x')};
    for (const QString& commandLine : cases) {
        aboutBoxes.clear();
        frame.hide();
        start(commandLine);
        tickToTheEnd();
        ASSERT_EQ(aboutBoxes.size(), 1u) << commandLine.left(80).toStdString();
        EXPECT_EQ(aboutBoxes[0], &frame);
        EXPECT_TRUE(frameShownForAboutBox);
        EXPECT_TRUE(objectWindows().isEmpty()) << commandLine.left(80).toStdString();
    }
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(StartTest, AFileThatIsNoObjectFileOpensANewUnnamedWindowAndTellsWhy) {
    writeBytes("broken.kfm", QByteArray("not an object file"));
    ASSERT_TRUE(QDir(folderPath()).mkdir("folder.kfm"));
    const QString cases[] = {path("broken.kfm"), path("folder.kfm")};
    for (const QString& commandLine : cases) {
        prompts.errors.clear();
        start(commandLine);
        tickToTheEnd();
        EXPECT_TRUE(aboutBoxes.empty());
        ASSERT_EQ(prompts.errors.size(), 1u) << commandLine.toStdString();
        EXPECT_TRUE(prompts.errors[0].text.contains(commandLine));
        ObjectWindow* window = frame.fileCommands().activeObjectWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), "3D-Objekt");
        EXPECT_EQ(window->Text2->text(), "noname.kfm");
        EXPECT_EQ(window->Text4->text(), "");
        EXPECT_EQ(window->objectText(), "");
        EXPECT_FALSE(window->hasUnsavedChanges());
    }
    EXPECT_EQ(objectWindows().size(), 2);
}
