// Share-link payloads and base64url against hand-written texts and the RFC's vectors.
#include "core/documents/sharelink.h"

#include <gtest/gtest.h>

namespace wirevane {
namespace {

ObjectFileValues values(double axisOrder, Colour object, Colour background, Colour cross,
                        std::int16_t showCross, std::string text) {
    ObjectFileValues v;
    v.axisOrder = axisOrder;
    v.objectColor = object;
    v.backgroundColor = background;
    v.crossColor = cross;
    v.showCross = showCross;
    v.text = std::move(text);
    return v;
}

TEST(ShareLink, PayloadIsTheDocumentedTextAndReadsBack) {
    const struct {
        ObjectFileValues values;
        std::string payload;
    } cases[] = {
        {values(0, 0, 0, 0, 0, ""), "0\n000000\n000000\n000000\n0\n"},
        // Red sits in a colour's low byte and comes first in the link.
        {values(2.5, 0x0000FF, 0x00FF00, 0xFF0000, 1, "1/2/3\r\n\r\n1-2"),
         "2.5\nff0000\n00ff00\n0000ff\n1\n1/2/3\r\n\r\n1-2"},
        {values(-0.125, 0xC0C000, 0x123456, 0xE0E0E0, 0, "Grüße €\r\n‰ Ÿ\n"),
         "-0.125\n00c0c0\n563412\ne0e0e0\n0\nGrüße €\r\n‰ Ÿ\n"},
        {values(1e300, 1, 0, 0, 1, "x"), "1e+300\n010000\n000000\n000000\n1\nx"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shareLinkPayload(c.values), c.payload);
        ObjectFileValues read;
        const ObjectFileResult result = readShareLinkPayload(c.payload, read);
        ASSERT_TRUE(result.ok()) << c.payload << " / " << result.reason;
        EXPECT_EQ(read, c.values) << c.payload;
    }
    ObjectFileValues upper;
    ASSERT_TRUE(readShareLinkPayload("3\nFF00aB\n000000\n000000\n0\n", upper).ok());
    EXPECT_EQ(upper.objectColor, 0xAB00FF);
}

TEST(ShareLink, RefusesMalformedPayloadsWithAReasonAndLeavesTheValues) {
    const std::string ok = "3\n000000\n000000\n000000\n0\n";
    const struct {
        std::string payload;
        const char* reasonPart;
    } cases[] = {
        {"3\n000000\n000000\n000000\n0", "cut off inside its header"},
        {"", "cut off inside its header"},
        {"3\r\n000000\n000000\n000000\n0\n", "axis order is not a number"},
        {" 3\n000000\n000000\n000000\n0\n", "axis order is not a number"},
        {"&H3\n000000\n000000\n000000\n0\n", "axis order is not a number"},
        {"\n000000\n000000\n000000\n0\n", "axis order is not a number"},
        {"nan\n000000\n000000\n000000\n0\n", "axis order is not a number"},
        {"1e400\n000000\n000000\n000000\n0\n", "not a finite number"},
        {"3\n00000\n000000\n000000\n0\n", "object colour is not six hex digits"},
        {"3\n000000\n00000g\n000000\n0\n", "background colour is not six hex digits"},
        {"3\n000000\n000000\n+00000\n0\n", "cross colour is not six hex digits"},
        {"3\n000000\n000000\n000000\n2\n", "cross switch is neither 1 nor 0"},
        {"3\n000000\n000000\n000000\n\n", "cross switch is neither 1 nor 0"},
        {ok + "Ω", "Line 1 holds the character"},
        {ok + "\xff", "not UTF-8"},
        {ok + std::string(kMaxObjectTextBytes + 1, 'x'), "at most 10525"},
        {ok + std::string(kMaxShareLinkPayload, 'x'), "larger than a share link may hold"},
    };
    for (const auto& c : cases) {
        ObjectFileValues read;
        read.text = "untouched";
        const ObjectFileResult result = readShareLinkPayload(c.payload, read);
        ASSERT_FALSE(result.ok()) << c.payload.substr(0, 30);
        EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos)
            << c.reasonPart << " / " << result.reason;
        EXPECT_EQ(read.text, "untouched");
    }
}

TEST(ShareLink, Base64UrlMatchesTheRfcVectorsAndRefusesMalformedText) {
    const struct {
        std::string bytes;
        std::string text;
    } vectors[] = {
        {"", ""},
        {"f", "Zg"},
        {"fo", "Zm8"},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg"},
        {"fooba", "Zm9vYmE"},
        {"foobar", "Zm9vYmFy"},
        {"\xfb\xff", "-_8"}, // "+/8=" in plain base64
        {std::string("\0\x10\x83", 3), "ABCD"},
    };
    for (const auto& v : vectors) {
        EXPECT_EQ(toBase64Url(v.bytes), v.text);
        EXPECT_EQ(fromBase64Url(v.text), v.bytes) << v.text;
    }
    for (const char* malformed : {"Zg==", "Zg=", "Z", "A", "Zm9vA", "Zm9vY", "Zh", "Zm9", "Zm+v",
                                  "Zm/v", "Zm9v Yg", "Zm9v\nYg"})
        EXPECT_EQ(fromBase64Url(malformed), std::nullopt) << malformed;
}

TEST(ShareLink, LinkHoldsVersionAndDataAfterTheFirstHash) {
    EXPECT_EQ(shareLink("http://localhost:8000/", "foob"), "http://localhost:8000/#v1.Zm9vYg");
    const struct {
        std::string link;
        const char* reasonPart; // empty: reads as "foob"
    } cases[] = {
        {"http://localhost:8000/#v1.Zm9vYg", ""},
        {"#v1.Zm9vYg", ""},
        {"https://example.org/wirevane/#v2.Zm9vYg", "made by a newer version of Wirevane"},
        {"https://example.org/#v12", "made by a newer version of Wirevane"},
        {"https://example.org/#v0.Zm9vYg", "unknown link format (v0)"},
        {"https://example.org/#v01.Zm9vYg", "unknown link format (v01)"},
        {"#v1." + std::string(44380, 'A'), "longer than any object's link"},
        {"https://example.org/", "no part after #"},
        {"https://example.org/#", "not a Wirevane share link"},
        {"https://example.org/#section", "not a Wirevane share link"},
        {"https://example.org/#v1", "cut off"},
        {"https://example.org/#v1.Zm9vYg=", "not valid base64url"},
        {"https://example.org/#v1.Zm9v#Yg", "not valid base64url"},
    };
    for (const auto& c : cases) {
        std::string deflated = "untouched";
        const ObjectFileResult result = shareLinkData(c.link, deflated);
        if (*c.reasonPart == '\0') {
            EXPECT_TRUE(result.ok()) << c.link << " / " << result.reason;
            EXPECT_EQ(deflated, "foob");
            continue;
        }
        ASSERT_FALSE(result.ok()) << c.link;
        EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos)
            << c.reasonPart << " / " << result.reason;
        EXPECT_EQ(deflated, "untouched");
    }
}

} // namespace
} // namespace wirevane
