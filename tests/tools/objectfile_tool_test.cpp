// wirevane-tool's object-file commands: pack, info, and compile input from a .kfm file.
#include "core/documents/objectfiledisk.h"
#include "tests/common/temporaryfolder.h"
#include "tools/toolcommands.h"
#include "tools/toolobject.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace wirevane {
namespace {

class ObjectFileTool : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder.file(name); }
    std::string writeText(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
        return path(name);
    }
    // Runs a command and returns what it printed.
    static std::string run(int (*command)(ToolArguments), std::vector<std::string> args) {
        std::ostringstream out;
        auto* old = std::cout.rdbuf(out.rdbuf());
        try {
            command(ToolArguments(std::move(args)));
        } catch (...) {
            std::cout.rdbuf(old);
            throw;
        }
        std::cout.rdbuf(old);
        return out.str();
    }

    tests::TemporaryFolder folder;
};

TEST_F(ObjectFileTool, PackWritesWhatInfoPrints) {
    const std::string text = writeText("cube.txt", "1/2/3\n\n'say \"hi\"\n1-1\n");
    const std::string out = path("cube.kfm");
    run(packCommand, {text, "-o", out, "--axis", "3", "--object-color", "FF", "--background-color",
                      "0x102030", "--cross-color", "&H0", "--cross"});
    EXPECT_EQ(fs::file_size(out), 84216u);
    EXPECT_EQ(run(infoCommand, {out}),
              "{\"axisOrder\":3,\"objectColor\":255,\"backgroundColor\":1056816,"
              "\"crossColor\":0,\"showCross\":1,"
              "\"text\":\"1/2/3\\r\\n\\r\\n'say \\\"hi\\\"\\r\\n1-1\\r\\n\"}\n");
}

TEST_F(ObjectFileTool, PackDefaultsAreThoseOfANewWindow) {
    const std::string out = path("plain.kfm");
    run(packCommand, {writeText("plain.txt", "1/2/3"), "-o", out});
    EXPECT_EQ(run(infoCommand, {out}),
              "{\"axisOrder\":0,\"objectColor\":12632064,\"backgroundColor\":0,"
              "\"crossColor\":14737632,\"showCross\":0,\"text\":\"1/2/3\"}\n");
}

TEST_F(ObjectFileTool, PackRefusesWhatSaveRefusesAndWritesNothing) {
    const std::string out = path("refused.kfm");
    const std::string tooLong = writeText("long.txt", std::string(10526, '1'));
    EXPECT_THROW(run(packCommand, {tooLong, "-o", out}), InputError);
    const std::string unstorable = writeText("u.txt", "1/2/3\n\xe2\x9c\x93");
    try {
        run(packCommand, {unstorable, "-o", out});
        ADD_FAILURE() << "no error";
    } catch (const InputError& error) {
        EXPECT_NE(error.message.find("Line 2"), std::string::npos) << error.message;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_THROW(run(packCommand, {tooLong}), UsageError);
    EXPECT_THROW(run(packCommand, {tooLong, "-o", out, "--object-color", "1000000"}), UsageError);
    EXPECT_THROW(run(packCommand, {tooLong, "-o", out, "--axis", "inf"}), UsageError);
}

TEST_F(ObjectFileTool, InfoReportsBadFiles) {
    EXPECT_THROW(run(infoCommand, {path("absent.kfm")}), InputError);
    EXPECT_THROW(run(infoCommand, {writeText("bad.kfm", std::string("\x07\x00", 2))}), InputError);
    EXPECT_THROW(run(infoCommand, {}), UsageError);
}

TEST_F(ObjectFileTool, CompileInputFromAnObjectFileTakesItsValuesAndName) {
    ObjectFileValues values; // an empty black object
    ASSERT_TRUE(writeObjectFileAt(path("gagscreen.kfm"), values).ok());
    ToolArguments args({path("gagscreen.kfm")});
    const ObjectInput input = readToolObject(args).input;
    EXPECT_EQ(input.name, "gagscreen.kfm");
    EXPECT_EQ(input.text, "");
    EXPECT_EQ(input.axisOrderText, "0");
    EXPECT_EQ(input.objectColor, 0);
    EXPECT_EQ(input.crossColor, 0);

    values.text = "1/1/1";
    values.axisOrder = 2.5;
    values.objectColor = 0x0000FF;
    values.showCross = 1;
    ASSERT_TRUE(writeObjectFileAt(path("Other.KFM"), values).ok());
    ToolArguments moreArgs({path("Other.KFM"), "--axis", "4"});
    const ObjectInput other = readToolObject(moreArgs).input;
    EXPECT_EQ(other.name, "Other.KFM");
    EXPECT_EQ(other.text, "1/1/1");
    EXPECT_EQ(other.axisOrderText, "4"); // the option wins over the file
    EXPECT_EQ(other.objectColor, 0x0000FF);
    EXPECT_EQ(other.crossState, 1);
}

} // namespace
} // namespace wirevane
