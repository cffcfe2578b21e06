#include "core/engine/floatingtext.h"
#include "core/engine/numberconversion.h"
#include "tests/common/germanlocale.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace wirevane {
namespace {

// The page's C library lacks floating-point to_chars and from_chars; its way must write and read
// as gcc's library does.
TEST(FloatingText, PrintfWayMatchesToChars) {
    const std::pair<double, const char*> cases[] = {
        {3, "3"},
        {2.5, "2.5"},
        {-1.5, "-1.5"},
        {0.1, "0.1"},
        {1e20, "1e+20"},
        {100000, "1e+05"},
        {123456, "123456"},
        {0.0001, "1e-04"},
        {1e-7, "1e-07"},
        {0.30000000000000004, "0.30000000000000004"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        {5e-324, "5e-324"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(shortestText(value), text);
        EXPECT_EQ(shortestTextByPrintf(value), text) << text;
        double read = 0;
        const std::string s = text;
        EXPECT_EQ(readDoubleByStrtod(s.data(), s.data() + s.size(), read).ec, std::errc());
        EXPECT_EQ(read, value) << text;
    }
    for (const std::string tooFar : {"1e400", "1e-400"}) {
        double read = 7;
        EXPECT_EQ(readDoubleByStrtod(tooFar.data(), tooFar.data() + tooFar.size(), read).ec,
                  std::errc::result_out_of_range);
        EXPECT_EQ(read, 7);
    }
}

TEST(NumberConversion, ReadsTheLeadingDecimalNumber) {
    struct Case {
        std::string field;
        double expected;
    };
    const Case cases[] = {
        {"1", 1},
        {"-1", -1},
        {"+2.5", 2.5},
        {"1 0 ", 10},   // spaces anywhere are ignored
        {"\t1\n2", 12}, // so are tabs and line feeds
        {"1\r2", 1},    // a carriage return is not
        {"1,5", 1},     // a comma ends the number
        {"1.5.3", 1.5}, // one full stop only
        {".5", 0.5},
        {"5.", 5},
        {"2e1", 20},
        {"2D2", 200}, // D is an exponent too
        {"2e-1", 0.2},
        {"2e", 2}, // an exponent without digits is not part of the number
        {"2e+", 2},
        {"&H10", 16},
        {"&h1f", 31},
        {"&O17", 15},
        {"&O19", 1}, // 9 is no octal digit
        {"&O8", 0},  // nor is 8
        {"&O78", 7}, // the digits before it count
        {"&HFFFFFFFFFF", 1099511627775.0},
        {"&X1", 0},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {".", 0},
        {"'1", 0},
        {"3 'remark", 3},
        {"1-2", 1},
        {"-0", 0},
        {"1e-400", 0}, // too small to hold: 0, not an error
        {"0e999", 0},
    };
    for (const Case& c : cases) {
        const ConvertedNumber n = convertNumber(c.field);
        EXPECT_FALSE(n.overflow) << c.field;
        EXPECT_DOUBLE_EQ(n.value, c.expected) << "field '" << c.field << "'";
    }
    EXPECT_FALSE(std::signbit(numberValue("-0"))); // a plain 0, shown without a sign
}

TEST(NumberConversion, ReportsWhereTheNumberStops) {
    struct Case {
        std::string field;
        bool found;
        std::size_t end;
    };
    const Case cases[] = {
        {"1,5", true, 1},   {" 1 0 ,", true, 4}, {"2e", true, 1},   {"2e-1x", true, 4},
        {".5.", true, 2},   {"3 'r", true, 1},   {"&H1G", true, 3}, {"&O19", true, 3},
        {"&H", false, 0},   {"&X1", false, 0},   {"-", false, 0},   {"", false, 0},
        {" abc", false, 0},
    };
    for (const Case& c : cases) {
        const ConvertedNumber n = convertNumber(c.field);
        EXPECT_EQ(n.found, c.found) << c.field;
        EXPECT_EQ(n.end, c.end) << c.field;
    }
}

TEST(NumberConversion, FlagsNumbersTooLargeForADouble) {
    for (const char* field : {"1e400", "-1e400", "1e99999999999999999999", "99999e305"}) {
        const ConvertedNumber n = convertNumber(field);
        EXPECT_TRUE(n.overflow) << field;
        EXPECT_EQ(n.value, 0) << field;
    }
    std::string longHex = "&H" + std::string(300, 'F');
    EXPECT_TRUE(convertNumber(longHex).overflow);
}

TEST(NumberConversion, IgnoresTheLocaleDecimalSeparator) {
    // from_chars knows no locale; a German locale must not turn the full stop into a comma.
    tests::GermanNumbers german;
    if (!german.active())
        GTEST_SKIP() << tests::GermanNumbers::kMissing;
    EXPECT_DOUBLE_EQ(numberValue("1.25"), 1.25);
    EXPECT_DOUBLE_EQ(numberValue("1,25"), 1);
}

TEST(NumberConversion, HandlesAMillionCharacterField) {
    const std::string digits(1'000'000, '7');
    EXPECT_TRUE(convertNumber(digits).overflow);
    const std::string zeros = "0." + std::string(1'000'000, '0') + "1";
    const ConvertedNumber tiny = convertNumber(zeros);
    EXPECT_FALSE(tiny.overflow);
    EXPECT_EQ(tiny.value, 0);
}

} // namespace
} // namespace wirevane
