// wirevane-tool link: share links that unpack to the object, and the refusals.
#include "core/documents/objectfile.h"
#include "core/documents/sharelink.h"
#include "formats/raster/deflate.h"
#include "tests/common/temporaryfolder.h"
#include "tests/tools/toolprocess.h"

#include <gtest/gtest.h>

namespace {

// The payload a link carries, or a note of what went wrong.
std::string payloadOf(const std::string& link) {
    std::string deflated;
    if (const wirevane::ObjectFileResult result = wirevane::shareLinkData(link, deflated);
        !result.ok())
        return "(" + result.reason + ")";
    std::string payload;
    std::string reason;
    if (!wirevane::inflateRaw(deflated, wirevane::kMaxShareLinkPayload, payload, reason))
        return "(" + reason + ")";
    return payload;
}

TEST(ToolLink, PrintsOneLineThatUnpacksToTheObject) {
    const wirevane::tests::TemporaryFolder folder;
    wirevane::tests::writeFile(folder.file("lf.txt"), "1/2/3\n\n1-1 é\n");
    std::string euros; // the longest text a file holds, 31575 bytes in UTF-8
    for (int i = 0; i < 10525; ++i)
        euros += "€";
    wirevane::tests::writeFile(folder.file("euros.txt"), euros);
    wirevane::ObjectFileValues house;
    ASSERT_TRUE(
        wirevane::decodeObjectFile(
            wirevane::tests::readFile(std::string(WIREVANE_SOURCE "/examples/house.kfm")), house)
            .ok());
    struct Case {
        QStringList args;
        std::string start;
        std::string payload; // empty: the values of house.kfm
    };
    const Case cases[] = {
        {{"link", "examples/house.kfm"}, "http://localhost:8000/#v1.", ""},
        // A text takes a new window's values, red first: C0C000 has no red.
        {{"link", QString::fromStdString(folder.file("lf.txt"))},
         "http://localhost:8000/#v1.",
         "0\n00c0c0\n000000\ne0e0e0\n0\n1/2/3\r\n\r\n1-1 é\r\n"},
        {{"link", QString::fromStdString(folder.file("euros.txt"))},
         "http://localhost:8000/#v1.",
         "0\n00c0c0\n000000\ne0e0e0\n0\n" + euros},
        {{"link", "--base", "https://example.org/w/?class=3", "examples/house.kfm"},
         "https://example.org/w/?class=3#v1.",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun run = runTool(c.args);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty());
        const std::string out = run.out.toStdString();
        ASSERT_TRUE(out.ends_with('\n'));
        const std::string link = out.substr(0, out.size() - 1);
        EXPECT_EQ(link.find('\n'), std::string::npos);
        EXPECT_TRUE(link.starts_with(c.start)) << link;
        const std::string payload = payloadOf(link);
        if (!c.payload.empty()) {
            EXPECT_EQ(payload, c.payload);
            continue;
        }
        wirevane::ObjectFileValues read;
        ASSERT_TRUE(wirevane::readShareLinkPayload(payload, read).ok()) << payload;
        EXPECT_EQ(read, house);
    }
}

TEST(ToolLink, RefusesWhatNoLinkCanCarry) {
    const wirevane::tests::TemporaryFolder folder;
    wirevane::tests::writeFile(folder.file("omega.txt"), "1/2/3\nΩ\n");
    const struct {
        QStringList args;
        int exitCode;
        const char* says;
    } cases[] = {
        {{"link", "no/such.kfm"}, 1, "no/such.kfm"},
        {{"link", "examples"}, 1, "folder"},
        {{"link", QString::fromStdString(folder.file("omega.txt"))}, 1, "no link made. Line 2"},
        {{"link", "examples/house.kfm", "--base", "http://example.org/#top"}, 2, "--base"},
        {{"link", "examples/house.kfm", "--base", "http://example.org/\n"}, 2, "--base"},
        {{"link"}, 2, ""},
        {{"link", "examples/house.kfm", "examples/cube.kfm"}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
    }
}

// A link's few bytes must not unpack into gigabytes, nor a damaged one pass for whole.
TEST(ToolLink, InflatesOnlyWholeRawStreamsWithinTheLimit) {
    const std::string full(wirevane::kMaxShareLinkPayload, 'x');
    const std::string stream = wirevane::deflateRaw(full);
    const struct {
        std::string deflated;
        const char* reasonPart; // empty: unpacks to full
    } cases[] = {
        {stream, ""},
        {wirevane::deflateRaw(full + 'x'), "more than 32768 bytes"},
        {wirevane::deflateRaw(std::string(std::size_t{1} << 22, '\0')), "more than 32768 bytes"},
        {stream.substr(0, stream.size() - 1), "cut off"},
        {stream + '\0', "followed by other bytes"},
        {"\x78\xda" + stream, "damaged"}, // a zlib header in front
        {"", "cut off"},
    };
    for (const auto& c : cases) {
        std::string bytes = "untouched";
        std::string reason;
        const bool inflated =
            wirevane::inflateRaw(c.deflated, wirevane::kMaxShareLinkPayload, bytes, reason);
        SCOPED_TRACE(reason);
        if (*c.reasonPart == '\0') {
            EXPECT_TRUE(inflated);
            EXPECT_EQ(bytes, full);
            continue;
        }
        EXPECT_FALSE(inflated);
        EXPECT_NE(reason.find(c.reasonPart), std::string::npos);
        EXPECT_EQ(bytes, "untouched");
    }
}

} // namespace
