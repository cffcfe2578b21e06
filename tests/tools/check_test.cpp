// wirevane-tool check as editors and CI use it: compiler-style lines, JSON and exit codes.
#include "tests/common/temporaryfolder.h"
#include "tests/tools/toolprocess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

using CheckRun = ToolRun;

// Runs in its folder, so that findings name the files as the test wrote them.
class Check : public ::testing::Test {
  protected:
    CheckRun check(QStringList args) const {
        args.prepend(QStringLiteral("check"));
        return runTool(args,
                       [this](QProcess& process) { process.setWorkingDirectory(folder.qPath()); });
    }
    QString write(const QString& name, const QByteArray& bytes) const {
        wirevane::tests::writeFile(folder.filePath(name), bytes);
        return name;
    }

    wirevane::tests::TemporaryFolder folder;
};

TEST_F(Check, PrintsOneCompilerStyleLinePerFinding) {
    const QString slips = write("slips.txt", "1,5/2/3\n\n1-2\n1-2-3-4\n");
    const QString full = write("full.txt", QByteArray("1/1/1\n").repeated(101));
    const QString clean = write("clean.txt", "1/2/3\n0/0/0\n\n1-2\n");
    const CheckRun run = check({slips, clean, full});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.toStdString(),
              "slips.txt:1:2: warning: x \"1,5\" reads as 1: the number ends at \",\"\n"
              "slips.txt:3:3: warning: there is no point 2: this object has 1 point\n"
              "slips.txt:4:1: warning: more than one \"-\": \"1-2\" is not used, only the last "
              "two numbers count\n"
              "slips.txt:4:5: warning: there is no point 3: this object has 1 point\n"
              "slips.txt:4:7: warning: there is no point 4: this object has 1 point\n"
              "full.txt:101:1: error: point 101: an object holds at most 100 points, so the "
              "animation will not start\n");
    EXPECT_EQ(check({clean}).exitCode, 0);
    EXPECT_TRUE(check({clean}).out.isEmpty());
}

TEST_F(Check, PrintsJsonAndReadsObjectFiles) {
    const QString text = write("a.txt", "5\n");
    const QString kfm = QStringLiteral("a.kfm");
    QProcess pack;
    pack.start(WIREVANE_TOOL, {"pack", folder.filePath(text), "-o", folder.filePath(kfm)});
    ASSERT_TRUE(pack.waitForFinished(60000));
    const CheckRun run = check({"--json", kfm});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.toStdString(),
              "[{\"file\":\"a.kfm\",\"line\":1,\"column\":1,\"severity\":\"warning\","
              "\"message\":\"no \\\"/\\\": only z is set, x and y keep old values\"}]\n");
    EXPECT_EQ(check({"--json", write("b.txt", "1/2/3")}).out.toStdString(), "[]\n");
}

TEST_F(Check, TellsBadUsageFromUnreadableFiles) {
    struct Case {
        QStringList args;
        int exitCode;
    };
    const QString clean = write("clean.txt", "1/2/3");
    // Past the cap, a file is refused unread; a device without end too.
    QFile large(folder.filePath("large.txt"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize((16 << 20) + 1));
    large.close();
    const Case cases[] = {
        {{}, 2},         {{"--bogus", clean}, 2}, {{"missing.txt", clean}, 1}, {{"."}, 1},
        {{"--help"}, 0}, {{"large.txt"}, 1},      {{"/dev/zero"}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(check(c.args).exitCode, c.exitCode) << c.args.join(' ').toStdString();
    EXPECT_TRUE(check({"--help"}).out.startsWith("Usage: wirevane-tool check"));
    EXPECT_TRUE(check({"missing.txt"}).err.contains("missing.txt"));
    EXPECT_TRUE(check({"large.txt"}).err.contains("larger than 16 MiB"));
}

TEST_F(Check, ListsAHundredFindingsAFileAndCountsTheRest) {
    const QString many = write("many.txt", QByteArray("1,5/2/3\n").repeated(150));
    const QStringList lines = QString::fromUtf8(check({many}).out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 101);
    // 150 warnings and the error at the 101st point.
    EXPECT_EQ(lines.back(), "many.txt: 51 more findings not shown");
    const CheckRun json = check({"--json", many});
    EXPECT_EQ(QJsonDocument::fromJson(json.out).array().size(), 100);
    EXPECT_EQ(json.err.toStdString(), "many.txt: 51 more findings not shown\n");
}

// Strict JSON readers take only UTF-8; the text may hold any bytes.
TEST_F(Check, PrintsValidUtf8WhateverTheTextHolds) {
    const CheckRun run = check({"--json", write("bytes.txt", "1/\xff\xfe/3\n\xc3(/1/1\n")});
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(run.out);
    EXPECT_FALSE(utf8.hasError()) << run.out.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("y \\\"\uFFFD\uFFFD\\\" is not a number")))
        << text.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(run.out).array().size(), 2);
}

// A text Save would refuse, a file named like an option or holding a line break: each said
// so, on one line.
TEST_F(Check, NamesEveryFileOnOneLineAndTextsTooLongToSave) {
    // 103 remark lines of 102 characters with CR LF, then 38: the 10526th is at column 20
    const QByteArray remark = "' " + QByteArray(98, 'x') + "\n";
    write("long.txt", remark.repeated(103) + "1/2/3 ' " + QByteArray(30, 'x'));
    write("-x.txt", "1,5/2/3\n");
    write("fake\nok.txt:1:1: error: faked", "1,5/2/3\n");
    const CheckRun run = check({"--", "long.txt", "-x.txt", "fake\nok.txt:1:1: error: faked"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.toStdString(),
              "long.txt:104:20: warning: the text is 10544 characters long; an object file holds "
              "at most 10525, so Save will refuse it\n"
              "-x.txt:1:2: warning: x \"1,5\" reads as 1: the number ends at \",\"\n"
              "fake\\nok.txt:1:1: error: faked:1:2: warning: x \"1,5\" reads as 1: the number "
              "ends at \",\"\n");
    EXPECT_EQ(check({"--", "missing\nx.txt"}).err.toStdString(),
              "wirevane-tool: missing\\nx.txt: cannot be opened (No such file or directory)\n");
}

} // namespace
