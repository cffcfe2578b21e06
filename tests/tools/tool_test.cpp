// wirevane-tool as scripts use it: golden files for each case in tests/golden, plus exit codes.
#include "tests/common/temporaryfolder.h"
#include "tests/gifreadback.h"
#include "tests/tools/toolprocess.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

bool updating() {
    return qEnvironmentVariableIntValue("WIREVANE_UPDATE_GOLDEN") == 1;
}

// Every pixel channel within the tolerance, apart from a few pixels of text (fonts differ).
void expectSimilar(const QImage& actual, const QImage& expected, const QString& name) {
    ASSERT_EQ(actual.size(), expected.size()) << name.toStdString();
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(e)) > 8 || std::abs(qGreen(a) - qGreen(e)) > 8 ||
                std::abs(qBlue(a) - qBlue(e)) > 8)
                ++differing;
        }
    EXPECT_LE(differing, actual.width() * actual.height() / 200) << name.toStdString();
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesTheExpectedOutput) {
    const QDir golden(WIREVANE_GOLDEN);
    const QString name = QString::fromStdString(GetParam());
    QFile argsFile(golden.filePath(name + ".args"));
    ASSERT_TRUE(argsFile.open(QIODevice::ReadOnly));
    QStringList args =
        QString::fromUtf8(argsFile.readAll()).trimmed().split(' ', Qt::SkipEmptyParts);
    const wirevane::tests::TemporaryFolder folder;
    const QString png = QString::fromStdString(folder.file(GetParam() + ".png"));
    const bool wantsPicture = args.contains("-o");
    if (wantsPicture)
        args[args.indexOf("-o") + 1] = png;

    const ToolRun run = runTool(args);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    if (wantsPicture) {
        const QString expectedPath = golden.filePath(name + ".png");
        if (updating())
            QFile::remove(expectedPath), QFile::copy(png, expectedPath);
        const QImage expected(expectedPath);
        ASSERT_FALSE(expected.isNull()) << "missing " << expectedPath.toStdString();
        expectSimilar(QImage(png).convertToFormat(QImage::Format_RGB32),
                      expected.convertToFormat(QImage::Format_RGB32), name);
        // The Qt companion draws the same picture, pixel for pixel.
        const QString byQt = QString::fromStdString(folder.file(GetParam() + "-qt.png"));
        args[args.indexOf("-o") + 1] = byQt;
        ASSERT_EQ(runTool(args, {}, WIREVANE_TOOL_QT).exitCode, 0);
        EXPECT_EQ(QImage(byQt).convertToFormat(QImage::Format_RGB32),
                  QImage(png).convertToFormat(QImage::Format_RGB32));
    } else {
        QFile expectedFile(golden.filePath(name + ".json"));
        if (updating()) {
            ASSERT_TRUE(expectedFile.open(QIODevice::WriteOnly));
            expectedFile.write(run.out);
            expectedFile.close();
        }
        ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(run.out.toStdString(), expectedFile.readAll().toStdString());
    }
}

std::vector<std::string> goldenCases() {
    std::vector<std::string> names;
    for (const QString& file : QDir(WIREVANE_GOLDEN).entryList({"*.args"}, QDir::Files))
        names.push_back(file.chopped(5).toStdString());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Tool, Golden, ::testing::ValuesIn(goldenCases()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

TEST(ToolUsage, ReportsBadUsageAndUnreadableInput) {
    EXPECT_EQ(runTool({}).exitCode, 2);
    EXPECT_EQ(runTool({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(runTool({"compile"}).exitCode, 2);
    EXPECT_EQ(runTool({"compile", "--bogus", "examples/cube.txt"}).exitCode, 2);
    EXPECT_EQ(runTool({"render", "examples/cube.txt", "--size", "0x10"}).exitCode, 2);
    EXPECT_EQ(runTool({"render", "examples/cube.txt", "--zoom", "big"}).exitCode, 2);
    EXPECT_EQ(runTool({"compile", "no/such/file.txt"}).exitCode, 1);
    const ToolRun folder = runTool({"compile", "examples"});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.err.contains("folder"));
    for (const char* command : {"compile", "render", "animate", "link"}) {
        const ToolRun help = runTool({command, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.startsWith("Usage: wirevane-tool")) << command;
    }
}

TEST(ToolUsage, TakesLineEndingsAsTypedUnlessRaw) {
    const wirevane::tests::TemporaryFolder folder;
    const QString lfText = QString::fromStdString(folder.file("lf.txt"));
    wirevane::tests::writeFile(lfText.toStdString(), "1/2/3\n\n1-1\n");
    // LF becomes CR LF: a point, the separator, one connection and the final blank row.
    EXPECT_TRUE(runTool({"compile", lfText}).out.contains("\"connectionCount\":3"));
    // Raw, the LFs are ordinary characters: one point line.
    const QByteArray raw = runTool({"compile", "--raw", lfText}).out;
    EXPECT_TRUE(raw.contains("\"pointCount\":1,\"connectionCount\":0")) << raw.toStdString();
}

// A script must not take a cut JSON for a whole one.
TEST(ToolUsage, AFailedWriteToStandardOutputIsAnError) {
    const QStringList commands[] = {
        {"compile", "examples/cube.txt"},
        {"info", "examples/cube.kfm"},
        {"render", "examples/cube.txt", "--json"},
        {"check", "--json", "examples/cube.txt"},
        {"link", "examples/cube.kfm"},
        {"--help"},
    };
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run =
            runTool(args, [](QProcess& process) { process.setStandardOutputFile("/dev/full"); });
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("standard output cannot be written (No space left on device)"))
            << run.err.toStdString();
    }
}

// The plain tool links no Qt, so a plain picture loads none; what needs Qt it hands over to its
// companion, and without one it says so.
TEST(ToolUsage, LoadsQtOnlyForWhatNeedsIt) {
    const wirevane::tests::TemporaryFolder folder;
    const QString alone = QString::fromStdString(folder.file("wirevane-tool"));
    ASSERT_TRUE(QFile::copy(WIREVANE_TOOL, alone));
    const QString png = QString::fromStdString(folder.file("a.png"));
    struct Case {
        QString program;
        QStringList args;
        int exitCode;
        bool loadsQt;
    };
    const Case cases[] = {
        {WIREVANE_TOOL, {"render", "examples/cube.txt", "--cross", "-o", png}, 0, false},
        {WIREVANE_TOOL, {"render", "examples/cube.txt", "--json"}, 0, false},
        {WIREVANE_TOOL, {"render", "examples/cube.txt", "--numbers", "-o", png}, 0, true},
        {WIREVANE_TOOL, {"animate", "--help"}, 0, true},
        {alone, {"render", "examples/cube.txt", "-o", png}, 0, false},
        {alone, {"animate", "examples/cube.txt", "-o", png + ".gif"}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun run = runTool(
            c.args,
            [](QProcess& process) {
                QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
                environment.insert("LD_DEBUG", "libs");
                process.setProcessEnvironment(environment);
            },
            c.program);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err.contains("libQt6Core"), c.loadsQt);
        if (c.exitCode == 1) {
            EXPECT_TRUE(run.err.contains("cannot run ")) << run.err.toStdString();
        }
    }
}

// Exports: the files read back, and failures that leave no file behind.
class ToolExport : public ::testing::Test {
  protected:
    wirevane::tests::TemporaryFolder folder;
    wirevane::tests::TemporaryFolder inputs;
    // An object text in the inputs folder, which anyone may read: some cases run as nobody.
    QString input(const std::string& name, const std::string& text) const {
        std::filesystem::permissions(inputs.path(),
                                     std::filesystem::perms::others_read |
                                         std::filesystem::perms::others_exec,
                                     std::filesystem::perm_options::add);
        wirevane::tests::writeFile(inputs.file(name), text);
        return QString::fromStdString(inputs.file(name));
    }
    void SetUp() override {
        // Open to everyone: some cases run the tool as nobody.
        std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    QStringList entries() const {
        return QDir(folder.qPath())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(ToolExport, AnimationReadsBackAsOneLoopingTurnOfRunModeTicks) {
    const ToolRun run =
        runTool({"animate", "examples/cube.txt", "--cross", "-o", path("cube.gif")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const GifReadBack gif = readGif(path("cube.gif"));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.size, QSize(553, 375));
    EXPECT_EQ(gif.frames.size(), 72u);
    EXPECT_TRUE(gif.loopsForever);
    EXPECT_EQ(std::count(gif.delays.begin(), gif.delays.end(), 2), 72);
    // New-object colours: background black, object C0C000 (red 0, green 192, blue 192), cross
    // E0E0E0, in a palette of four.
    EXPECT_EQ(gif.palette, std::vector<QRgb>({qRgb(0, 0, 0), qRgb(0, 192, 192),
                                              qRgb(0xE0, 0xE0, 0xE0), qRgb(0, 0, 0)}));
    // Frame k shows the picture after k + 1 ticks: what render draws in k + 1 steps.
    for (const int frame : {0, 1, 71}) {
        SCOPED_TRACE(frame);
        const QString png = path(QString("step%1.png").arg(frame));
        ASSERT_EQ(runTool({"render", "examples/cube.txt", "--cross", "--turn-xz", "5", "--steps",
                           QString::number(frame + 1), "-o", png})
                      .exitCode,
                  0);
        EXPECT_TRUE(rgbPixels(gif.frames[static_cast<std::size_t>(frame)]) ==
                    rgbPixels(QImage(png)));
    }
}

TEST_F(ToolExport, OptionsSetPlaneFramesDelayAndSize) {
    ASSERT_EQ(runTool({"animate", "examples/pyramid.txt", "--turn-yz", "-30", "--delay", "100",
                       "--size", "120x80", "--numbers", "-o", path("p.gif")})
                  .exitCode,
              0);
    const GifReadBack gif = readGif(path("p.gif"));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.size, QSize(120, 80));
    EXPECT_EQ(gif.frames.size(), 12u);
    EXPECT_EQ(gif.delays.back(), 10);
    ASSERT_EQ(
        runTool({"animate", "examples/cube.txt", "--frames", "3", "-o", path("c.gif")}).exitCode,
        0);
    EXPECT_EQ(readGif(path("c.gif")).frames.size(), 3u);
    // 7 degrees come back to the first picture after 7 turns, not after 52 frames.
    ASSERT_EQ(runTool({"animate", "examples/cube.txt", "--turn-xz", "7", "--size", "40x30", "-o",
                       path("s.gif")})
                  .exitCode,
              0);
    EXPECT_EQ(readGif(path("s.gif")).frames.size(), 360u);
}

// A pipe can be read only once, so the tool decides on handing over before it reads.
TEST_F(ToolExport, PipedInputDrawsWhatTheFileDraws) {
    const QByteArray cube =
        wirevane::tests::readFile(QString(WIREVANE_SOURCE) + "/examples/cube.txt");
    ASSERT_FALSE(cube.isEmpty());
    for (const QString name : {"n.png", "d.svg", "t.gif"}) {
        SCOPED_TRACE(name.toStdString());
        const QString command = name.endsWith(".gif") ? "animate" : "render";
        QStringList options = {"--numbers", "--size", "60x40"};
        if (command == "animate")
            options << "--frames"
                    << "2";
        const QStringList fromFile =
            QStringList{command, "examples/cube.txt", "-o", path("file/" + name)} + options;
        const QStringList fromPipe =
            QStringList{command, "/dev/stdin", "-o", path("pipe/" + name)} + options;
        QDir(folder.qPath()).mkpath("file");
        QDir(folder.qPath()).mkpath("pipe");
        ASSERT_EQ(runTool(fromFile).exitCode, 0);
        const ToolRun piped = runTool(fromPipe, {}, WIREVANE_TOOL, cube);
        ASSERT_EQ(piped.exitCode, 0) << piped.err.toStdString();
        EXPECT_EQ(wirevane::tests::readFile(path("pipe/" + name)),
                  wirevane::tests::readFile(path("file/" + name)));
    }
}

TEST_F(ToolExport, PictureFormatFollowsTheExtension) {
    const ToolRun svg = runTool({"render", "examples/house.txt", "--numbers", "-o", path("h.svg")});
    ASSERT_EQ(svg.exitCode, 0) << svg.err.toStdString();
    QFile file(path("h.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("<svg")) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains(">1</text>"));
    // A file name goes into the drawing's title, escaped.
    ASSERT_EQ(
        runTool({"render", "examples/house.txt", "-o", path("house & <garden>.svg")}).exitCode, 0);
    QFile named(path("house & <garden>.svg"));
    ASSERT_TRUE(named.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&named);
    QString title;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"title")
            title = xml.readElementText();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(title, "house & <garden>");
    // A plain picture is an image job: no GUI application, nothing on stderr, even where a
    // GUI application would warn about its runtime folder.
    const ToolRun png =
        runTool({"render", "examples/cube.txt", "-o", path("c.PNG")}, [](QProcess& process) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove("XDG_RUNTIME_DIR");
            environment.remove("QT_QPA_PLATFORM");
            environment.remove("DISPLAY");
            process.setProcessEnvironment(environment);
        });
    EXPECT_EQ(png.exitCode, 0);
    EXPECT_EQ(png.err.toStdString(), "");
    EXPECT_EQ(QImage(path("c.PNG")).size(), QSize(553, 375));
}

TEST_F(ToolExport, FailuresExitWithACodeAndLeaveNoFile) {
    ASSERT_TRUE(QDir(folder.qPath()).mkdir("folder.png"));
    ASSERT_TRUE(QDir(folder.qPath()).mkdir("locked"));
    QFile::setPermissions(path("locked"),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    std::string points;
    for (int point = 1; point <= 101; ++point)
        points += "1/1/1\n";
    const QString tooMany = input("many.txt", points);
    const QString tooLarge = input("large.txt", "1e400/0/0");
    struct Case {
        const char* name;
        QStringList args;
        int exitCode;
        const char* says = "";
    };
    const Case cases[] = {
        {"an object the animation would refuse",
         {"render", "-o", path("a.png"), tooMany},
         1,
         ":101:1: point 101: an object holds at most 100 points, so the animation will not start"},
        {"its record", {"render", "--json", "--data", tooMany}, 1, "point 101"},
        {"an animation of it",
         {"animate", "-o", path("a.gif"), tooLarge},
         1,
         ":1:1: x \"1e400\" is too large a number"},
        {"zoom not a number", {"render", "examples/cube.txt", "--zoom", "nan"}, 2, "--zoom"},
        {"endless zoom", {"render", "examples/cube.txt", "--zoom", "-inf"}, 2, "--zoom"},
        {"turn not a number", {"render", "examples/cube.txt", "--turn-xz", "nan"}, 2},
        {"turn past a full turn", {"render", "examples/cube.txt", "--turn-yz", "1e308"}, 2},
        {"a turn too small to end",
         {"animate", "examples/cube.txt", "--turn-xz", "1e-7", "-o", path("a.gif")},
         2,
         "more than 10000 frames"},
        {"a delay a GIF cannot store",
         {"animate", "examples/cube.txt", "--delay", "25", "-o", path("a.gif")},
         2,
         "steps of 10"},
        {"output given twice",
         {"render", "examples/cube.txt", "-o", path("a.png"), "-o", path("b.png")},
         2,
         "-o is given twice"},
        {"picture onto a folder", {"render", "examples/cube.txt", "-o", path("folder.png")}, 1},
        {"animation into a locked folder",
         {"animate", "examples/cube.txt", "-o", path("locked/a.gif")},
         1},
        {"picture into a vanished folder",
         {"render", "examples/cube.txt", "-o", path("gone/a.svg")},
         1},
        {"missing input", {"animate", "no/such.txt", "-o", path("a.gif")}, 1},
        {"unknown picture format", {"render", "examples/cube.txt", "-o", path("a.jpg")}, 2},
        {"animation not to GIF", {"animate", "examples/cube.txt", "-o", path("a.png")}, 2},
        {"no output", {"animate", "examples/cube.txt"}, 2},
        {"two planes",
         {"animate", "examples/cube.txt", "--turn-xz", "5", "--turn-yz", "5", "-o", path("a.gif")},
         2},
        {"no turn", {"animate", "examples/cube.txt", "--turn-xz", "0", "-o", path("a.gif")}, 2},
        {"too short a delay",
         {"animate", "examples/cube.txt", "--delay", "5", "-o", path("a.gif")},
         2},
        {"hours of frames",
         {"animate", "examples/cube.txt", "--size", "16384x16384", "--frames", "9", "-o",
          path("a.gif")},
         2,
         "at most 2147483648 pixels in all frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The superuser is not bound by permissions; the tool then runs as nobody.
        const ToolRun run = runTool(c.args, [](QProcess& process) {
            process.setChildProcessModifier([] {
                if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                    ::_exit(99);
            });
        });
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
        if (c.exitCode == 1) {
            // The message names the file that failed.
            EXPECT_TRUE(run.err.contains(c.args[3].toUtf8()) || run.err.contains("no/such.txt"))
                << run.err.toStdString();
        }
        EXPECT_EQ(entries(), QStringList({"folder.png", "locked"}));
        EXPECT_TRUE(QDir(path("locked")).isEmpty());
    }
}

// A picture whose pixels do not fit is a message, and a record needs no picture at all.
TEST_F(ToolExport, TooLittleMemoryForAPictureIsAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer cannot run under an address-space limit";
#endif
    const QString huge = "16384x16384";
    struct Case {
        QStringList args;
        int exitCode;
        QStringList written;
        std::size_t limitMiB = 768;
    };
    const Case cases[] = {
        // room for the picture but not for the copy that takes the numbers
        {{"render", "examples/cube.txt", "--size", huge, "--numbers", "-o", path("a.png")},
         1,
         {},
         1536},
        {{"render", "examples/cube.txt", "--size", huge, "-o", path("a.png")}, 1, {}},
        // A drawing of vectors needs no pixels.
        {{"render", "examples/cube.txt", "--size", huge, "-o", path("a.svg")}, 0, {"a.svg"}},
        {{"animate", "examples/cube.txt", "--size", huge, "--frames", "1", "-o", path("a.gif")},
         1,
         {}},
        {{"render", "examples/cube.txt", "--size", huge, "--json"}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const rlim_t bytes = c.limitMiB << 20;
        const ToolRun run = runTool(c.args, [bytes](QProcess& process) {
            process.setChildProcessModifier([bytes] {
                const rlimit limit{bytes, bytes};
                ::setrlimit(RLIMIT_AS, &limit);
            });
        });
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (c.exitCode == 1) {
            EXPECT_TRUE(run.err.endsWith("not enough memory for a 16384\u00d716384 picture\n"))
                << run.err.toStdString();
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        }
        EXPECT_EQ(entries(), c.written);
        for (const QString& name : c.written)
            QFile::remove(path(name));
    }
}

} // namespace
