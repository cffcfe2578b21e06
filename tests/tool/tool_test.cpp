// wirevane-tool as scripts use it: golden files for each case in tests/golden, plus exit codes.
#include "tests/common/temporaryfolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QStringList& args) {
    QProcess process;
    process.setWorkingDirectory(WIREVANE_SOURCE);
    process.start(WIREVANE_TOOL, args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

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
    for (const char* command : {"compile", "render"}) {
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

} // namespace
