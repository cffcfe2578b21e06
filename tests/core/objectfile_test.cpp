// The object-file records against hand-written bytes, both ways.
#include "core/documents/codepage1252.h"
#include "core/documents/objectfile.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace wirevane {
namespace {

// Bytes of a file: zeros of the given length with values put at absolute offsets.
class FileBytes {
  public:
    explicit FileBytes(std::size_t length = kObjectFileLength) : bytes_(length, '\0') {}
    FileBytes& put(std::size_t at, std::initializer_list<int> values) {
        for (const int value : values)
            bytes_.at(at++) = static_cast<char>(value);
        return *this;
    }
    FileBytes& putText(std::string_view text) {
        put(recordOffset(kTextRecord),
            {static_cast<int>(text.size() & 0xFF), static_cast<int>(text.size() >> 8)});
        std::memcpy(bytes_.data() + recordOffset(kTextRecord) + 2, text.data(), text.size());
        return *this;
    }
    FileBytes& cut(std::size_t length) {
        bytes_.resize(length);
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// The file a save of a new window holding the text 1/2/3 leaves, written out by hand.
FileBytes exampleFile() {
    FileBytes file;
    file.put(0, {0x05, 0x00, 0, 0, 0, 0, 0, 0, 0, 0})
        .put(31581, {0x03, 0x00, 0x00, 0xC0, 0xC0, 0x00})
        .put(42108, {0x03, 0x00, 0x00, 0x00, 0x00, 0x00})
        .put(52635, {0x03, 0x00, 0xE0, 0xE0, 0xE0, 0x00})
        .put(63162, {0x02, 0x00, 0x00, 0x00})
        .put(73689, {0x05, 0x00, 0x31, 0x2F, 0x32, 0x2F, 0x33});
    return file;
}

ObjectFileValues exampleValues() {
    ObjectFileValues values;
    values.objectColor = 0xC0C000;
    values.crossColor = 0xE0E0E0;
    values.text = "1/2/3";
    return values;
}

TEST(ObjectFile, SaveOfANewObjectGivesTheExampleBytes) {
    std::string bytes;
    ASSERT_TRUE(encodeObjectFile(exampleValues(), "", bytes).ok());
    ASSERT_EQ(bytes.size(), 84216u);
    EXPECT_EQ(bytes, exampleFile().bytes());
}

TEST(ObjectFile, EveryFieldLandsAtItsRecordInLittleEndian) {
    ObjectFileValues values;
    values.axisOrder = 2.5;
    values.objectColor = 0x123456;
    values.backgroundColor = 0x0000FF;
    values.crossColor = 0xFEDCBA;
    values.showCross = 1;
    values.text = "a\r\nb";
    std::string bytes;
    ASSERT_TRUE(encodeObjectFile(values, "", bytes).ok());
    FileBytes expected;
    const auto half = std::bit_cast<std::uint64_t>(2.5); // 0x4004000000000000
    expected.put(0, {5, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x40})
        .put(31581, {3, 0, 0x56, 0x34, 0x12, 0x00})
        .put(42108, {3, 0, 0xFF, 0x00, 0x00, 0x00})
        .put(52635, {3, 0, 0xBA, 0xDC, 0xFE, 0x00})
        .put(63162, {2, 0, 1, 0})
        .putText("a\r\nb");
    EXPECT_EQ(half, 0x4004000000000000u);
    EXPECT_EQ(bytes, expected.bytes());
}

TEST(ObjectFile, ReadsTheExampleFile) {
    ObjectFileValues values;
    values.text = "old";
    ASSERT_TRUE(decodeObjectFile(exampleFile().bytes(), values).ok());
    EXPECT_EQ(values, exampleValues());
}

TEST(ObjectFile, WriteThenReadGivesTheSameValues) {
    const struct {
        double axisOrder;
        Colour colour;
        std::int16_t cross;
        std::string text;
    } cases[] = {
        {0, 0, 0, ""},
        {6, 0xFFFFFF, 1, "1/2/3\r\n\r\n1-2"},
        {1e300, 1, 0, "lone\rCR and lone\nLF\r\n"},
        {-0.125, 0x808080, 1, "Grüße € ‰ Ÿ \xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d"},
        {3, 42, 0, std::string(kMaxObjectTextBytes, 'x')},
    };
    for (const auto& c : cases) {
        ObjectFileValues values;
        values.axisOrder = c.axisOrder;
        values.objectColor = values.backgroundColor = values.crossColor = c.colour;
        values.showCross = c.cross;
        values.text = c.text;
        std::string bytes;
        ASSERT_TRUE(encodeObjectFile(values, "", bytes).ok()) << c.text.substr(0, 20);
        ObjectFileValues read;
        ASSERT_TRUE(decodeObjectFile(bytes, read).ok()) << c.text.substr(0, 20);
        EXPECT_EQ(read, values) << c.text.substr(0, 20);
    }
}

TEST(ObjectFile, AcceptsEveryNumberTagAndConvertsToTheField) {
    const struct {
        std::initializer_list<int> value; // tag and number, written at record 4 and record 1
        double axisOrder;
        Colour colour;
    } cases[] = {
        {{0, 0, 0x7F, 0x7F}, 0, 0},                           // empty: no number follows
        {{2, 0, 0x34, 0x12}, 0x1234, 0x1234},                 // 16-bit
        {{3, 0, 0x56, 0x34, 0x12, 0x00}, 0x123456, 0x123456}, // 32-bit
        {{4, 0, 0x00, 0x00, 0x20, 0x40}, 2.5, 2},             // float 2.5, half to even
        {{4, 0, 0x00, 0x00, 0x60, 0x40}, 3.5, 4},             // float 3.5, half to even
        {{5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}, 1, 1},         // double 1
        {{5, 0, 0, 0, 0, 0, 0x10, 0x5F, 0x6F, 0x41}, 0xFAF880, 0xFAF880}, // double
        {{2, 0, 0xFF, 0xFF}, -1, 0xFFFFFF},                               // 16-bit is signed
    };
    for (const auto& c : cases) {
        FileBytes file = exampleFile();
        file.put(0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).put(0, c.value);
        file.put(31581, {0, 0, 0, 0, 0, 0}).put(31581, c.value);
        ObjectFileValues values;
        ASSERT_TRUE(decodeObjectFile(file.bytes(), values).ok()) << c.axisOrder;
        EXPECT_EQ(values.axisOrder, c.axisOrder);
        EXPECT_EQ(values.objectColor, c.colour);
    }
    // The cross switch written as a 32-bit or double value.
    FileBytes file = exampleFile();
    file.put(63162, {3, 0, 1, 0, 0, 0});
    ObjectFileValues values;
    ASSERT_TRUE(decodeObjectFile(file.bytes(), values).ok());
    EXPECT_EQ(values.showCross, 1);
    file.put(63162, {5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    ASSERT_TRUE(decodeObjectFile(file.bytes(), values).ok());
    EXPECT_EQ(values.showCross, 1);
}

TEST(ObjectFile, ShortFilesReadMissingRecordsAsEmpty) {
    const std::size_t lengths[] = {0, 10, 31581, 63162, 73689};
    for (const std::size_t length : lengths) {
        ObjectFileValues values;
        values.text = "stale";
        values.crossColor = 7;
        ASSERT_TRUE(decodeObjectFile(exampleFile().cut(length).bytes(), values).ok()) << length;
        EXPECT_EQ(values.text, "") << length;
        EXPECT_EQ(values.crossColor, length > 52635 ? 0xE0E0E0 : 0) << length;
    }
    // A file may end right after its text: the filler is not needed.
    ObjectFileValues values;
    ASSERT_TRUE(decodeObjectFile(exampleFile().cut(73689 + 7).bytes(), values).ok());
    EXPECT_EQ(values.text, "1/2/3");
}

TEST(ObjectFile, ReadsNumbersOtherProgramsWroteLeniently) {
    const struct {
        std::initializer_list<int> colour; // at record 5
        std::initializer_list<int> cross;  // at record 7
        Colour backgroundColor;
        std::int16_t showCross;
    } cases[] = {
        {{3, 0, 0, 0, 0, 1}, {2, 0, 2, 0}, 0, 1},                                // bit 24 dropped
        {{3, 0, 0xFF, 0xFF, 0xFF, 0xFF}, {2, 0, 0xFF, 0xFF}, 0xFFFFFF, 1},       // -1
        {{3, 0, 0x56, 0x34, 0x12, 0x80}, {4, 0, 0, 0, 0x80, 0x3E}, 0x123456, 1}, // cross 0.25
        {{5, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0xBF}, {4, 0, 0, 0, 0, 0x80}, 0xFFFFFE, 0}, // -1.5, -0
    };
    for (const auto& c : cases) {
        FileBytes file = exampleFile();
        file.put(42108, c.colour).put(63162, c.cross);
        ObjectFileValues values;
        ASSERT_TRUE(decodeObjectFile(file.bytes(), values).ok()) << c.backgroundColor;
        EXPECT_EQ(values.backgroundColor, c.backgroundColor);
        EXPECT_EQ(values.showCross, c.showCross) << c.backgroundColor;
    }
}

TEST(ObjectFile, InvalidFilesAreRefusedWithAReasonAndLeaveTheValues) {
    const struct {
        FileBytes file;
        const char* reasonPart;
    } cases[] = {
        {exampleFile().put(0, {1, 0}), "unknown type tag 1"},
        {exampleFile().put(31581, {6, 0}), "Record 4 has the unknown type tag 6"},
        {exampleFile().put(63162, {0xFF, 0xFF}), "Record 7 has the unknown type tag 65535"},
        {exampleFile().cut(73689 + 6), "runs past the end"},
        {exampleFile().cut(73689 + 1), "cut off inside its length"},
        {exampleFile().cut(63162 + 3), "Record 7 is cut off inside its value"},
        {exampleFile().cut(1), "Record 1 is cut off inside its type tag"},
        {exampleFile().put(73689, {0x1E, 0x29}), "more than a record holds"}, // 10526
        {exampleFile().cut(31581 + 4), "Record 4 is cut off inside its value"},
        {exampleFile().put(0, {5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x7F}), "not finite"},
        {exampleFile().put(52635, {4, 0, 0, 0, 0xC0, 0x7F}), "Record 6 holds a number that is"},
    };
    for (const auto& c : cases) {
        ObjectFileValues values;
        values.text = "kept";
        const ObjectFileResult result = decodeObjectFile(c.file.bytes(), values);
        EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos)
            << c.reasonPart << " / " << result.reason;
        EXPECT_EQ(values.text, "kept");
    }
}

TEST(ObjectFile, TextLimitIsCountedInCodePageBytes) {
    ObjectFileValues values;
    std::string bytes;
    values.text = std::string(kMaxObjectTextBytes + 1, 'x');
    const ObjectFileResult tooLong = encodeObjectFile(values, "", bytes);
    EXPECT_NE(tooLong.reason.find("10526 bytes long"), std::string::npos) << tooLong.reason;
    EXPECT_NE(tooLong.reason.find("at most 10525"), std::string::npos) << tooLong.reason;
    EXPECT_TRUE(bytes.empty());
    // "ä" takes two bytes in UTF-8 but one in the file.
    values.text.clear();
    for (std::size_t i = 0; i < kMaxObjectTextBytes; ++i)
        values.text += "ä";
    ASSERT_TRUE(encodeObjectFile(values, "", bytes).ok());
    EXPECT_EQ(static_cast<unsigned char>(bytes[73689]), 0x1D); // 10525 = 0x291D
    EXPECT_EQ(static_cast<unsigned char>(bytes[73690]), 0x29);
    EXPECT_EQ(static_cast<unsigned char>(bytes[73691]), 0xE4);
}

TEST(ObjectFile, RefusesACrossSwitchOrAxisOrderNoFileShouldHold) {
    const struct {
        double axisOrder;
        std::int16_t showCross;
        const char* reasonPart;
    } cases[] = {
        {0, 2, "neither on nor off"},
        {0, -1, "neither on nor off"},
        {std::numeric_limits<double>::quiet_NaN(), 0, "not a finite number"},
        {-std::numeric_limits<double>::infinity(), 1, "not a finite number"},
    };
    for (const auto& c : cases) {
        ObjectFileValues values;
        values.axisOrder = c.axisOrder;
        values.showCross = c.showCross;
        std::string bytes = "untouched";
        const ObjectFileResult result = encodeObjectFile(values, "", bytes);
        EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos) << result.reason;
        EXPECT_EQ(bytes, "untouched");
    }
}

TEST(ObjectFile, RefusesCharactersTheCodePageCannotStoreNamingTheLine) {
    const struct {
        std::string text;
        const char* reasonPart;
    } cases[] = {
        {"1/2/3\r\n4/5/\xc5\x82", "Line 2 holds the character \"\xc5\x82\" (U+0142)"},
        {"a\rb\nc\r\n\r\n\xe2\x9c\x93", "Line 3 holds"}, // lone CR and LF end no line
        {"\xf0\x9f\x98\x80", "Line 1 holds the character"},
        {"\xc2\x80", "(U+0080)"}, // a control character the code page has no byte for
        {"ok\r\n\xff", "Line 2 holds bytes that are not UTF-8"},
        {"\xc0\xaf", "not UTF-8"},     // overlong
        {"\xed\xa0\x80", "not UTF-8"}, // surrogate
    };
    for (const auto& c : cases) {
        ObjectFileValues values;
        values.text = c.text;
        std::string bytes = "untouched";
        const ObjectFileResult result = encodeObjectFile(values, "", bytes);
        EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos)
            << c.reasonPart << " / " << result.reason;
        EXPECT_EQ(bytes, "untouched");
    }
}

TEST(ObjectFile, CodePageMapsEveryByteBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = windows1252ToUtf8(all);
    // Entries of the published table, one from each stretch that differs from Latin-1.
    const struct {
        char byte;
        const char* utf8;
    } known[] = {
        {'\x80', "\xe2\x82\xac"}, // euro sign
        {'\x8C', "\xc5\x92"},     // capital ligature OE
        {'\x99', "\xe2\x84\xa2"}, // trade mark sign
        {'\x9F', "\xc5\xb8"},     // capital Y with diaeresis
        {'\xFF', "\xc3\xbf"},     // small y with diaeresis
    };
    for (const auto& k : known)
        EXPECT_EQ(windows1252ToUtf8(std::string(1, k.byte)), k.utf8)
            << static_cast<int>(static_cast<unsigned char>(k.byte));
    std::string back;
    std::string reason;
    ASSERT_TRUE(utf8ToWindows1252(text, back, reason)) << reason;
    EXPECT_EQ(back, all);
}

TEST(ObjectFile, SaveKeepsUnusedRecordsAndTailOfTheOldFile) {
    std::string old(kObjectFileLength + 5, '\x55');
    old.replace(kObjectFileLength, 5, "TAIL!");
    std::string bytes;
    ASSERT_TRUE(encodeObjectFile(exampleValues(), old, bytes).ok());
    ASSERT_EQ(bytes.size(), kObjectFileLength + 5);
    EXPECT_EQ(bytes.substr(recordOffset(2), 2 * kRecordLength),
              std::string(2 * kRecordLength, '\x55'));
    EXPECT_EQ(bytes.substr(kObjectFileLength), "TAIL!");
    // Records that are written get zero filler over the old bytes.
    std::string expected = exampleFile().bytes();
    expected.replace(recordOffset(2), 2 * kRecordLength, 2 * kRecordLength, '\x55');
    EXPECT_EQ(bytes.substr(0, kObjectFileLength), expected);

    // A short old file keeps what it had of records 2 and 3; the rest is zeros.
    ASSERT_TRUE(encodeObjectFile(exampleValues(), old.substr(0, 20000), bytes).ok());
    EXPECT_EQ(bytes.size(), kObjectFileLength);
    EXPECT_EQ(bytes.substr(recordOffset(2), 20000 - recordOffset(2)),
              std::string(20000 - recordOffset(2), '\x55'));
    EXPECT_EQ(bytes[20000], '\0');
}

TEST(ObjectFile, AxisOrderTextUsesTheDigitsTheValueNeeds) {
    EXPECT_EQ(axisOrderText(3), "3");
    EXPECT_EQ(axisOrderText(2.5), "2.5");
    EXPECT_EQ(axisOrderText(-0.0), "0");
    EXPECT_EQ(axisOrderText(0.1), "0.1");
    EXPECT_EQ(axisOrderText(-7), "-7");
}

} // namespace
} // namespace wirevane
