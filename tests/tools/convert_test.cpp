// wirevane-tool convert: shapes of other programs in and out, as files and on standard output.
#include "tests/common/temporaryfolder.h"
#include "tests/tools/toolprocess.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class Convert : public ::testing::Test {
  protected:
    ToolRun convert(QStringList args) const {
        args.prepend(QStringLiteral("convert"));
        return runTool(args,
                       [this](QProcess& process) { process.setWorkingDirectory(folder.qPath()); });
    }
    QString write(const QString& name, const QByteArray& bytes) const {
        wirevane::tests::writeFile(folder.filePath(name), bytes);
        return name;
    }
    QByteArray read(const QString& name) const {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    wirevane::tests::TemporaryFolder folder;
};

const QByteArray kSquareObj = "# a square as two triangles\nv 0 0 0\nv 2 0 0\nv 2 2 0\nv 0 2 0\n"
                              "f 1 2 3\nf 1 3 4\n";

TEST_F(Convert, WritesEachFormatByItsExtension) {
    struct Case {
        QStringList args;
        QString output; // "-" for standard output
        QByteArray expected;
    };
    write("square.obj", kSquareObj);
    write("line.txt", "' a line\n1/2/3\n-1.5/0/0\n\n1-2\n2-0\n");
    write("na\u00efve.txt", "1/2/3\n-1.5/0/0\n\n1-2");
    const Case cases[] = {
        {{"square.obj", "-o", "-"},
         "-",
         "' From square.obj\r\n0/0/0\r\n2/0/0\r\n2/2/0\r\n0/2/0\r\n\r\n1-2\r\n2-3\r\n3-4\r\n4-1"},
        {{"square.obj", "--all-edges", "-o", "out.txt"},
         "out.txt",
         "' From square.obj\r\n0/0/0\r\n2/0/0\r\n2/2/0\r\n0/2/0\r\n\r\n1-2\r\n2-3\r\n3-1\r\n"
         "3-4\r\n4-1"},
        {{"line.txt", "-o", "line.obj"}, "line.obj", "# line.txt\nv 1 2 3\nv -1.5 0 0\nl 1 2\n"},
        {{"line.txt", "-o", "LINE.PLY"},
         "LINE.PLY",
         "ply\nformat ascii 1.0\ncomment line.txt\nelement vertex 2\nproperty double x\n"
         "property double y\nproperty double z\nelement edge 1\nproperty int vertex1\n"
         "property int vertex2\nproperty uchar red\nproperty uchar green\nproperty uchar blue\n"
         "end_header\n1 2 3\n-1.5 0 0\n0 1 0 192 192\n"},
        // a PLY header is ASCII
        {{"na\u00efve.txt", "-o", "n.ply"},
         "n.ply",
         "ply\nformat ascii 1.0\ncomment na\\xC3\\xAFve.txt\nelement vertex 2\nproperty double x\n"
         "property double y\nproperty double z\nelement edge 1\nproperty int vertex1\n"
         "property int vertex2\nproperty uchar red\nproperty uchar green\nproperty uchar blue\n"
         "end_header\n1 2 3\n-1.5 0 0\n0 1 0 192 192\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = convert(c.args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ((c.output == "-" ? run.out : read(c.output)).toStdString(),
                  c.expected.toStdString())
            << c.args.join(' ').toStdString();
    }
    // 2-0 names no point; the blank row the last line break makes and a remark name none
    EXPECT_EQ(convert({"line.txt", "-o", "again.obj"}).err.toStdString(),
              "wirevane-tool: line.txt: 1 connection names no point and is left out\n");
    write("lines.txt", "1/2/3\n0/0/0\n\n' two connections\n1-2\n\n2-1\n");
    EXPECT_EQ(convert({"lines.txt", "-o", "lines.obj"}).err.toStdString(), "");
}

TEST_F(Convert, ObjectFilesGoBothWays) {
    write("square.obj", kSquareObj);
    ASSERT_EQ(convert({"square.obj", "-o", "square.kfm"}).exitCode, 0);
    const ToolRun info = runTool({"info", folder.filePath("square.kfm")});
    EXPECT_NE(info.out.indexOf("' From square.obj\\r\\n0/0/0"), -1) << info.out.toStdString();
    ASSERT_EQ(convert({"square.kfm", "-o", "back.obj"}).exitCode, 0);
    EXPECT_EQ(read("back.obj").toStdString(),
              "# square.kfm\nv 0 0 0\nv 2 0 0\nv 2 2 0\nv 0 2 0\nl 1 2\nl 2 3\nl 3 4\nl 4 1\n");
}

TEST_F(Convert, RefusesWithTheRightExitCode) {
    struct Case {
        QStringList args;
        int exitCode;
        std::string message; // standard error, when it matters
    };
    write("square.obj", kSquareObj);
    write("broken.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 7\n");
    QByteArray big;
    for (int i = 0; i < 101; ++i)
        big += "v " + QByteArray::number(i) + " 2 3\n";
    write("big.obj", big);
    write("empty.obj", "");
    const Case cases[] = {
        {{"square.obj"},
         2,
         "wirevane-tool: convert needs -o OUTPUT\n(see 'wirevane-tool --help')\n"},
        {{"square.obj", "-o", "out.stl"}, 2, ""},
        {{"notes.md", "-o", "out.txt"}, 2, ""},
        {{"square.obj", "-o", "out.txt", "--bogus"}, 2, ""},
        {{"missing.obj", "-o", "out.txt"}, 1, ""},
        {{"broken.off", "-o", "out.txt"},
         1,
         "wirevane-tool: broken.off: line 6: '7' names no point (points: 3, numbered from 0)\n"},
        {{"big.obj", "-o", "out.txt"},
         1,
         "wirevane-tool: big.obj: the shape has more than 100 points; an object holds at most "
         "100 points and 100 connections.\n"},
        {{"empty.obj", "-o", "out.txt"}, 1, "wirevane-tool: empty.obj: the file holds no points\n"},
        {{"square.obj", "-o", "no/such/folder/out.obj"}, 1, ""},
        {{"--help"}, 0, ""},
    };
    for (const Case& c : cases) {
        const ToolRun run = convert(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        if (!c.message.empty()) {
            EXPECT_EQ(run.err.toStdString(), c.message);
        }
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("out.txt"))); // nothing half written
}

// Named as itself or through a link, the input is never the output.
TEST_F(Convert, NoCommandWritesOverItsInput) {
    write("line.txt", "1/2/3\n-1.5/0/0\n\n1-2");
    write("picture.png", "1/2/3\n-1.5/0/0\n\n1-2");
    write("turn.gif", "1/2/3\n-1.5/0/0\n\n1-2");
    write("square.obj", kSquareObj);
    ASSERT_TRUE(QFile::link(folder.filePath("line.txt"), folder.filePath("alias.txt")));
    const QStringList rows[] = {
        {"convert", "square.obj", "-o", "square.obj"},
        {"convert", "line.txt", "-o", "alias.txt"},
        {"convert", "alias.txt", "-o", "./line.txt"},
        {"pack", "line.txt", "-o", "line.txt"},
        {"render", "picture.png", "-o", "picture.png"},
        {"animate", "turn.gif", "-o", "turn.gif", "--frames", "2"},
    };
    for (const QStringList& args : rows) {
        const ToolRun run = runTool(
            args, [this](QProcess& process) { process.setWorkingDirectory(folder.qPath()); });
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("is the input file")) << run.err.toStdString();
    }
    EXPECT_EQ(read("square.obj"), kSquareObj);
    for (const char* name : {"line.txt", "picture.png", "turn.gif"})
        EXPECT_EQ(read(name), "1/2/3\n-1.5/0/0\n\n1-2") << name;
}

} // namespace
