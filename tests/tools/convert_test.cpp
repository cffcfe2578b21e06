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
    };
    for (const Case& c : cases) {
        const ToolRun run = convert(c.args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ((c.output == "-" ? run.out : read(c.output)).toStdString(),
                  c.expected.toStdString())
            << c.args.join(' ').toStdString();
    }
    // 2-0 names no point; the trailing line break makes one more blank row
    EXPECT_EQ(convert({"line.txt", "-o", "again.obj"}).err.toStdString(),
              "wirevane-tool: line.txt: 2 connections name no point and are left out\n");
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
        big += "v 1 2 3\n";
    write("big.obj", big);
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
         "wirevane-tool: big.obj has 101 points and 0 connections; an object holds at most 100 "
         "points and 100 connections.\n"},
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

} // namespace
