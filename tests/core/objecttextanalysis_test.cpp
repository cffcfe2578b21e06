#include "core/engine/objectcompiler.h"
#include "core/engine/objectmeasures.h"
#include "core/engine/objecttextanalysis.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace wirevane {
namespace {

struct Expected {
    int line;
    int column;
    Severity severity;
    std::string message;
};

std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

std::string repeated(int count, const std::string& line) {
    return join(std::vector<std::string>(static_cast<std::size_t>(count), line));
}

constexpr Severity W = Severity::Warning;
constexpr Severity E = Severity::Error;

TEST(TextAnalysis, NamesEachLineAsTheCompilerReadsIt) {
    // The example window's sample object.
    const std::string sample = "'Points\r\n1/1/1\r\n-1/-1/-1\r\n1/0/-1\r\n \r\n'Connections\r\n"
                               "1-2 'Connects point1 and point2\r\n2-3\r\n3-1\r\n";
    const TextAnalysis analysis = analyzeObjectText(sample);
    struct Line {
        LineKind kind;
        int number;
    };
    const Line expected[] = {
        {LineKind::Remark, 0},     {LineKind::Point, 1},      {LineKind::Point, 2},
        {LineKind::Point, 3},      {LineKind::Separator, 1},  {LineKind::Remark, 0},
        {LineKind::Connection, 2}, {LineKind::Connection, 3}, {LineKind::Connection, 4},
        {LineKind::BlankRow, 5},
    };
    ASSERT_EQ(analysis.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(analysis.lines[i].kind, expected[i].kind) << "line " << i + 1;
        EXPECT_EQ(analysis.lines[i].number, expected[i].number) << "line " << i + 1;
    }
    EXPECT_EQ(analysis.lines[6].offset, 51u); // where "1-2 ..." starts
    EXPECT_TRUE(analysis.diagnostics.empty());
    EXPECT_EQ(analysis.pointCount, 3);
    EXPECT_EQ(analysis.connectionCount, 5);
    EXPECT_EQ(analysis.stopLine, 0);
    EXPECT_TRUE(analyzeObjectText("").lines.empty());
}

TEST(TextAnalysis, ExplainsWhatTheCompilerDoesSilently) {
    struct Case {
        std::string text;
        std::vector<Expected> diagnostics;
    };
    const std::string cube = "0/0/0\r\n1/0/0\r\n1/1/0\r\n\r\n";
    const Case cases[] = {
        {"1/2/3\r\n1/2/3 'top\r\n 1 / 2 / &H10\r\n- 1.5/2e1/-3", {}},
        // Blanks inside a number join its digits.
        {" 1 0 / 2 / &H1 0",
         {{1, 3, W, "x \"1 0\" reads as 10: blanks inside a number are skipped"},
          {1, 15, W, "z \"&H1 0\" reads as 16: blanks inside a number are skipped"}}},
        {"1\t2/3/4\r\n\r\n1 2-1",
         {{1, 2, W, "x \"1\\t2\" reads as 12: blanks inside a number are skipped"},
          {3, 1, W, "there is no point 12: this object has 1 point"},
          {3, 2, W, "start point \"1 2\" reads as 12: blanks inside a number are skipped"}}},
        {"1,5/2/3", {{1, 2, W, "x \"1,5\" reads as 1: the number ends at \",\""}}},
        {"1/2/3e", {{1, 6, W, "z \"3e\" reads as 3: the number ends at \"e\""}}},
        {"1/abc/3", {{1, 3, W, "y \"abc\" is not a number and reads as 0"}}},
        {"1//3", {{1, 3, W, "y is empty and reads as 0"}}},
        {"1/2/", {{1, 5, W, "z is empty and reads as 0"}}},
        {"5", {{1, 1, W, "no \"/\": only z is set, x and y keep old values"}}},
        {"1/2", {{1, 2, W, "only one \"/\": x and z are set, y keeps an old value"}}},
        {"1/2/3/4/5", {{1, 5, W, "more than two \"/\": \"3/4\" is not used, z is the last field"}}},
        {"1/2/3 'a/b",
         {{1, 5, W, "more than two \"/\": \"3 'a\" is not used, z is the last field"},
          {1, 7, W, "this remark is cut at \"/\": what follows it is read as the next field"},
          {1, 10, W, "z \"b\" is not a number and reads as 0"}}},
        {"1/2 'a/3",
         {{1, 5, W, "this remark is cut at \"/\": what follows it is read as the next field"}}},
        {"1/1/1\r\n\t\r\n\r\n1-2",
         {{2, 1, W,
           "this line looks blank, but a tab makes it point 2, not the blank line that ends "
           "the points"}}},
        {"  \xC2\xA0 \r\n",
         {{1, 3, W,
           "this line looks blank, but a non-breaking space makes it point 1, not the blank "
           "line that ends the points"}}},
        {"\t'points\r\n1/1/1",
         {{1, 1, W, "this line looks like a remark, but a tab before the \"'\" makes it point 1"}}},
        {"0/0/0\r\n1-1",
         {{2, 1, W,
           "no \"/\": this looks like a connection, but connections come after the first blank "
           "line"}}},
        {cube + "1-2\r\n2-3\r\n3-1", {}},
        {cube + "1-4 ' to the top\r\n0-1",
         {{5, 3, W, "there is no point 4: this object has 3 points"},
          {6, 1, W, "there is no point 0: points are numbered from 1"}}},
        {cube + "2.5-1", {{5, 1, W, "\"2.5\" is not a whole number: it names point 2"}}},
        {cube + "3",
         {{5, 1, W, "no \"-\": only the end point is set, the start point keeps an old value"}}},
        {cube + "1/2/3",
         {{5, 1, W,
           "no \"-\": this looks like a point, but points come before the first blank "
           "line"}}},
        {cube + "3-1-2",
         {{5, 1, W, "more than one \"-\": \"3\" is not used, only the last two numbers count"}}},
        {cube + "1-", {{5, 3, W, "end point is empty and reads as 0"}}},
        {cube + "1-2\r\n\t\r\n2-3\r\n",
         {{6, 1, W,
           "this blank line is connection row 3, which may draw a stray line to the middle of "
           "the window"}}},
        {cube + "\t\r\n \xC2\xA0", // blank rows, however blank
         {{5, 1, W,
           "this blank line is connection row 2, which may draw a stray line to the middle of "
           "the window"}}},
        {"1e400/2/3",
         {{1, 1, E, "x \"1e400\" is too large a number, so the animation will not start"}}},
        {cube + "&HFFFFF" + std::string(300, 'F') + "-1-2",
         {{5, 1, E,
           "start point \"&HFFFFFFFFFFFFFFFFFF...\" is too large a number, so the animation "
           "will not start"},
          {5, 1, W,
           "more than one \"-\": \"&HFFFFFFFFFFFFFFFFFF...\" is not used, only the last two "
           "numbers count"}}},
    };
    for (const Case& c : cases) {
        const TextAnalysis analysis = analyzeObjectText(c.text);
        ASSERT_EQ(analysis.diagnostics.size(), c.diagnostics.size()) << c.text;
        for (std::size_t i = 0; i < c.diagnostics.size(); ++i) {
            const TextDiagnostic& got = analysis.diagnostics[i];
            const Expected& want = c.diagnostics[i];
            EXPECT_EQ(got.line, want.line) << c.text;
            EXPECT_EQ(got.column, want.column) << c.text;
            EXPECT_EQ(got.severity, want.severity) << c.text;
            EXPECT_EQ(got.message, want.message) << c.text;
        }
    }
}

// What a line measures: a point's values as read, a connection's length between the points as
// typed with the axis order applied.
TEST(TextAnalysis, MeasuresPointsAndConnectionsAsTyped) {
    const std::string cube = "-2/-2/-2\r\n2/-2/-2\r\n2/2/-2\r\n-2/2/-2\r\n"
                             "-2/-2/2\r\n2/-2/2\r\n2/2/2\r\n-2/2/2\r\n\r\n";
    // Sides 1, 2 and 3: an axis order that fed one value twice would change the length.
    const std::string box = "0/0/0\r\n1/2/3\r\n\r\n1-2";
    struct Case {
        std::string text;
        std::string axisOrder;
        int line;
        std::string measure;
    } cases[] = {
        {cube + "1-2", "0", 10, "1-2: length 4"},
        {cube + "4-8", "0", 10, "4-8: length 4"},
        {cube + "1-7", "0", 10, "1-7: length 6.928"},
        {box, "0", 4, "1-2: length 3.742"},
        {box, "1", 4, "1-2: length 3.742"},
        {box, "2", 4, "1-2: length 3.742"},
        {box, "3", 4, "1-2: length 3.742"},
        {box, "4", 4, "1-2: length 3.742"},
        {box, "5", 4, "1-2: length 3.742"},
        {box, "6", 4, "1-2: no length, axis order 6 does not place the points"},
        {cube + "1-9", "0", 10, "1-9: no length, there is no point 9"},
        {cube + "0-1", "0", 10, "0-1: no length, there is no point 0"},
        {cube + "2.5-1", "0", 10, "2-1: length 4"}, // named by its rounded number, as drawn
        {cube + "7", "0", 10, "no length: without \"-\" the start point keeps an old value"},
        {"1.5/2e1/&H10", "0", 1, "point 1: x 1.5, y 20, z 16"},
        {"' remark\r\n1,5/2/3", "4", 2, "point 1: x 1, y 2, z 3"},
        {"1/2", "0", 1, "point 1: x 1, y 0, z 2"},
        {box, "0", 3, ""}, // the blank line measures nothing
    };
    for (const Case& c : cases) {
        const TextAnalysis analysis = analyzeObjectText(c.text);
        const ObjectMeasures measures(c.text, c.axisOrder);
        ASSERT_LE(static_cast<std::size_t>(c.line), analysis.lines.size()) << c.text;
        EXPECT_EQ(measures.measureOf(analysis.lines[static_cast<std::size_t>(c.line - 1)]),
                  c.measure)
            << c.text << " with axis order " << c.axisOrder;
    }
}

TEST(TextAnalysis, MarksTheLineWhereTheTablesAreFull) {
    struct Case {
        std::string text;
        int stopLine;
        std::string message;
    };
    const std::string points = repeated(100, "1/1/1") + "\r\n";
    const Case cases[] = {
        {points + "2/2/2\r\n3/3/3", 101,
         "point 101: an object holds at most 100 points, so the animation will not start"},
        {points + "\r\n" + repeated(101, "1-1"), 202,
         "connection row 102: an object holds at most 101 connection rows, the first blank "
         "line included, so the animation will not start"},
        {points + "\r\n" + repeated(100, "1-1") + "\r\n", 202,
         "connection row 102: an object holds at most 101 connection rows, the first blank "
         "line included, so the animation will not start (the line break at the end of the "
         "text makes this row)"},
    };
    for (const Case& c : cases) {
        const TextAnalysis analysis = analyzeObjectText(c.text);
        EXPECT_EQ(analysis.stopLine, c.stopLine);
        ASSERT_EQ(analysis.diagnostics.size(), 1u);
        EXPECT_EQ(analysis.diagnostics[0].line, c.stopLine);
        EXPECT_EQ(analysis.diagnostics[0].severity, Severity::Error);
        EXPECT_EQ(analysis.diagnostics[0].message, c.message);
        EXPECT_TRUE(analysis.lines[static_cast<std::size_t>(c.stopLine - 1)].hasError);
    }
    // Without a final line break, 100 connections fit.
    EXPECT_EQ(analyzeObjectText(points + "\r\n" + repeated(100, "1-1")).stopLine, 0);
}

TEST(TextAnalysis, ReadsMillionCharacterLinesWithAFewFindings) {
    std::string points = "1/2";
    for (int i = 0; i < 250'000; ++i)
        points += "/'\xC3\xA4"; // a remark in every dropped field, two-byte letters
    std::string connections;
    for (int i = 0; i < 200'000; ++i)
        connections += "1e400-";
    const TextAnalysis analysis = analyzeObjectText(points + "/3\r\n\r\n" + connections + "1");
    // The first cut remark, the dropped fields; one error for the first number too large,
    // and the start points that are not used.
    ASSERT_EQ(analysis.diagnostics.size(), 4u);
    EXPECT_EQ(analysis.diagnostics[0].column, 5);
    EXPECT_EQ(analysis.diagnostics[2].severity, Severity::Error);
    EXPECT_EQ(analysis.stopLine, 3);
}

TEST(TextAnalysis, CountsColumnsInCharacters) {
    const TextAnalysis analysis = analyzeObjectText("\xC3\xA4\xC3\xB6/1,5/2");
    ASSERT_EQ(analysis.diagnostics.size(), 2u);
    EXPECT_EQ(analysis.diagnostics[0].column, 1); // "äö"
    EXPECT_EQ(analysis.diagnostics[1].column, 5); // the comma, after two two-byte letters
}

// The compiler's point and row counts after each line, taken by compiling the text up to the
// end of that line, against the analysis of the whole text.
void expectSameCountsAsTheCompiler(const std::string& text, const std::string& name) {
    const TextAnalysis analysis = analyzeObjectText(text);
    int points = 0, rows = 0;
    for (std::size_t i = 0; i < analysis.lines.size(); ++i) {
        const LineAnalysis& line = analysis.lines[i];
        if (line.kind == LineKind::Point)
            points = line.number;
        else if (line.kind != LineKind::Remark)
            rows = line.number;
        const std::size_t end =
            i + 1 < analysis.lines.size() ? analysis.lines[i + 1].offset - 2 : text.size();
        if (end == 0)
            continue; // an empty first line alone cannot be compiled: an empty text has no lines
        ObjectInput input = defaultObjectInput();
        input.text = text.substr(0, end);
        Scene scene;
        const bool completed = compileObject(scene, &input).completed;
        const int lineNumber = static_cast<int>(i) + 1;
        if (analysis.stopLine != 0 && lineNumber >= analysis.stopLine) {
            EXPECT_FALSE(completed) << name << " line " << lineNumber;
            return;
        }
        ASSERT_TRUE(completed) << name << " line " << lineNumber;
        ASSERT_EQ(scene.pointCount, points) << name << " line " << lineNumber;
        ASSERT_EQ(scene.connectionCount, rows) << name << " line " << lineNumber;
    }
}

std::string crLf(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

TEST(TextAnalysis, CountsLikeTheCompilerOnTheExamples) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(WIREVANE_EXAMPLES)) {
        if (entry.path().extension() != ".txt")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string object = crLf(text.str());
        EXPECT_TRUE(analyzeObjectText(object).diagnostics.empty()) << entry.path();
        expectSameCountsAsTheCompiler(object, entry.path().filename().string());
        ++examples;
    }
    EXPECT_GE(examples, 5);
}

TEST(TextAnalysis, CountsLikeTheCompilerOnGeneratedTexts) {
    // Lines of every kind, and the characters the line and field rules turn on.
    const std::vector<std::string> pieces = {
        "1/2/3", "-1/-1/-1", "1,5/2/3",  "5",       "1/2",        "1/2/3/4",
        "",      " ",        "  ",       "\t",      " \t ",       "'remark",
        "  'x",  "\t'x",     "1-2",      "3-1-2",   "-",          "1-",
        "abc",   "1e400",    "1e400-1",  "2-1e999", "&H10/&O7/1", "1/2/3 'a/b",
        "\r",    "\n",       "\xC2\xA0", "/",       "//",         "1-2 'x-y",
    };
    std::mt19937 random(20261208);
    for (int t = 0; t < 300; ++t) {
        const int lines = std::uniform_int_distribution<int>(0, t % 10 == 0 ? 240 : 30)(random);
        // Every tenth text starts near the end of the point table.
        std::string text = t % 10 == 0 ? repeated(95 + t % 9, "1/2/3") + "\r\n" : "";
        for (int i = 0; i < lines; ++i) {
            std::string line = pieces[random() % pieces.size()];
            if (random() % 8 == 0)
                line += pieces[random() % pieces.size()];
            text += line + (i + 1 < lines || random() % 2 ? "\r\n" : "");
        }
        expectSameCountsAsTheCompiler(text, "generated text " + std::to_string(t));
    }
}

} // namespace
} // namespace wirevane
