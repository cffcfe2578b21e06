#include "core/engine/objectcompiler.h"

#include <gtest/gtest.h>
#include <string>

namespace wirevane {
namespace {

// The example window's sample object, as its text box holds it.
const std::string kSample = "'Points\r\n1/1/1\r\n-1/-1/-1\r\n1/0/-1\r\n \r\n'Connections\r\n"
                            "1-2 'Connects point1 and point2\r\n2-3\r\n3-1\r\n";

ObjectInput object(std::string text, std::string axis = "0") {
    ObjectInput input = defaultObjectInput();
    input.text = std::move(text);
    input.axisOrderText = std::move(axis);
    return input;
}

CompileResult compile(Scene& scene, std::string text, std::string axis = "0") {
    const ObjectInput input = object(std::move(text), std::move(axis));
    return compileObject(scene, &input);
}

std::string lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? "\r\n" : "") + line;
    return text;
}

TEST(Compiler, CompilesTheSampleObject) {
    Scene scene;
    const CompileResult result = compile(scene, kSample);
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(scene.pointCount, 3);
    EXPECT_EQ(scene.connectionCount, 5);
    EXPECT_EQ(scene.modeFlag, 1);
    const double points[3][3] = {{1, 1, 1}, {-1, -1, -1}, {1, 0, -1}};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(scene.sceneX[i], points[i - 1][0]);
        EXPECT_EQ(scene.sceneY[i], points[i - 1][1]);
        EXPECT_EQ(scene.sceneZ[i], points[i - 1][2]);
    }
    EXPECT_EQ(scene.connections[1][1], 0); // the separator writes column 2 only
    EXPECT_EQ(scene.connections[1][2], 0);
    const double rows[3][2] = {{1, 2}, {2, 3}, {3, 1}};
    for (int k = 2; k <= 4; ++k) {
        EXPECT_EQ(scene.connections[k][1], rows[k - 2][0]);
        EXPECT_EQ(scene.connections[k][2], rows[k - 2][1]);
    }
    EXPECT_EQ(scene.connections[5][2], 0); // the row made by the final line break
    EXPECT_EQ(scene.objectColor, 0xC0C000);
    EXPECT_EQ(scene.crossColor, 0xE0E0E0);
    EXPECT_FALSE(result.creditsOffered);
}

TEST(Compiler, CutsLinesAtCrLfPairsOnly) {
    struct Case {
        const char* name;
        std::string text;
        int points;
        int rows;
    };
    const Case cases[] = {
        {"empty text", "", 0, 0},
        {"points only, no final break", "1/2/3\r\n4/5/6", 2, 0},
        {"points only, final break", "1/2/3\r\n4/5/6\r\n", 2, 1},
        {"lone LF is an ordinary character", "1/2/3\n4/5/6", 1, 0},
        {"lone CR is an ordinary character", "1/2/3\r4/5/6", 1, 0},
        {"blank line of spaces is the separator", "1/1/1\r\n   \r\n1-1", 1, 2},
        {"a tab is not trimmed: a point", "1/1/1\r\n\t\r\n", 2, 1},
        {"remark between points takes no number", "1/1/1\r\n  'x\r\n2/2/2", 2, 0},
        {"remark after the separator takes no row", "1/1/1\r\n\r\n'x\r\n1-1", 1, 2},
        {"every blank line after the separator is a row", "1/1/1\r\n\r\n\r\n\r\n", 1, 4},
        {"just a line break", "\r\n", 0, 2},
    };
    for (const Case& c : cases) {
        Scene scene;
        ASSERT_TRUE(compile(scene, c.text).completed) << c.name;
        EXPECT_EQ(scene.pointCount, c.points) << c.name;
        EXPECT_EQ(scene.connectionCount, c.rows) << c.name;
    }
}

TEST(Compiler, ReadsPointFields) {
    struct Case {
        std::string line;
        double x, y, z;
    };
    // Index 1 starts at (7, 8, 9), so a value that is not set shows.
    const Case cases[] = {
        {"1/2/3", 1, 2, 3},      {"-1/-1/-1", -1, -1, -1},
        {"1/2/3/4", 1, 2, 4},    {"1 0 / 2 / 3", 10, 2, 3},
        {"1,5/2/3", 1, 2, 3},    {"1.5/2e1/&H10", 1.5, 20, 16},
        {"5", 7, 8, 5},          {"1/2", 1, 8, 2},
        {"\t", 7, 8, 0},         {"a/b/c", 0, 0, 0},
        {"1/2/3 'top", 1, 2, 3},
    };
    for (const Case& c : cases) {
        Scene scene;
        scene.rawX[1] = 7;
        scene.rawY[1] = 8;
        scene.rawZ[1] = 9;
        ASSERT_TRUE(compile(scene, c.line).completed) << c.line;
        EXPECT_EQ(scene.rawX[1], c.x) << c.line;
        EXPECT_EQ(scene.rawY[1], c.y) << c.line;
        EXPECT_EQ(scene.rawZ[1], c.z) << c.line;
    }
}

TEST(Compiler, ReadsConnectionFields) {
    struct Case {
        std::string line;
        double from, to;
    };
    // Row 2 starts at (7, 8), so a column that is not set shows.
    const Case cases[] = {
        {"1-2", 1, 2}, {"3-1-2", 1, 2}, {"1-200", 1, 200},   {"5", 7, 5},
        {"-4", 0, 4},  {"1-", 1, 0},    {"1-2 'side", 1, 2},
    };
    for (const Case& c : cases) {
        Scene scene;
        scene.connections[2][1] = 7;
        scene.connections[2][2] = 8;
        ASSERT_TRUE(compile(scene, "0/0/0\r\n\r\n" + c.line).completed) << c.line;
        EXPECT_EQ(scene.connectionCount, 2) << c.line;
        EXPECT_EQ(scene.connections[2][1], c.from) << c.line;
        EXPECT_EQ(scene.connections[2][2], c.to) << c.line;
    }
}

TEST(Compiler, MapsAxesByAxisOrder) {
    struct Case {
        std::string axis;
        double x, y, z;
    };
    const Case cases[] = {{"0", 1, 2, 3}, {"1", 1, 3, 2}, {"2", 2, 1, 3},  {"3", 2, 3, 1},
                          {"4", 3, 2, 1}, {"5", 3, 1, 2}, {" 2 ", 2, 1, 3}};
    for (const Case& c : cases) {
        Scene scene;
        ASSERT_TRUE(compile(scene, "1/2/3", c.axis).completed) << c.axis;
        EXPECT_EQ(scene.sceneX[1], c.x) << c.axis;
        EXPECT_EQ(scene.sceneY[1], c.y) << c.axis;
        EXPECT_EQ(scene.sceneZ[1], c.z) << c.axis;
    }
    for (const char* axis : {"6", "0.5", "-1"}) {
        Scene scene;
        scene.sceneX[1] = 9;
        ASSERT_TRUE(compile(scene, "1/2/3", axis).completed) << axis;
        EXPECT_EQ(scene.rawX[1], 1) << axis;
        EXPECT_EQ(scene.sceneX[1], 9) << "axis order " << axis << " must copy nothing";
    }
}

TEST(Compiler, StopsOnAFullTableAndKeepsWhatItWrote) {
    Scene scene;
    EXPECT_TRUE(compile(scene, lines(100, "1/1/1")).completed);
    EXPECT_EQ(scene.pointCount, 100);

    Scene full;
    full.sceneX[1] = 42;
    const CompileResult overflow = compile(full, lines(101, "1/1/1"));
    EXPECT_FALSE(overflow.completed);
    EXPECT_EQ(full.pointCount, 100);       // never past the last row
    EXPECT_EQ(full.rawX[100], 1);          // rows written before the stop stay written
    EXPECT_EQ(full.sceneX[1], 42);         // and the axis mapping was not done
    EXPECT_EQ(full.objectColor, 0xC0C000); // colours were taken before the stop

    const std::string points = "1/1/1\r\n";
    Scene rows;
    EXPECT_TRUE(compile(rows, points + "\r\n" + lines(100, "1-1")).completed);
    EXPECT_EQ(rows.connectionCount, 101);
    EXPECT_FALSE(compile(rows, points + "\r\n" + lines(100, "1-1") + "\r\n").completed);
    EXPECT_EQ(rows.connectionCount, 101);
    EXPECT_TRUE(compile(rows, points + "\r\n" + lines(99, "1-1") + "\r\n").completed);
}

TEST(Compiler, StopsOnANumberTooLargeForADouble) {
    Scene scene;
    EXPECT_FALSE(compile(scene, "1e400/1/1").completed);
    EXPECT_FALSE(compile(scene, "1/1/1\r\n\r\n1-1e999").completed);
    EXPECT_FALSE(compile(scene, "1/1/1", "1e400").completed);
    EXPECT_TRUE(compile(scene, "&HFFFFFFFFFF/1/1").completed);
    EXPECT_EQ(scene.rawX[1], 1099511627775.0);
}

TEST(Compiler, NeverClearsRowsAboveTheNewCounts) {
    Scene scene;
    ASSERT_TRUE(compile(scene, "1/1/1\r\n2/2/2\r\n3/3/3\r\n\r\n1-2\r\n2-3").completed);
    ASSERT_TRUE(compile(scene, "9/9/9").completed);
    EXPECT_EQ(scene.pointCount, 1);
    EXPECT_EQ(scene.connectionCount, 0);
    EXPECT_EQ(scene.sceneX[3], 3);
    EXPECT_EQ(scene.rawZ[2], 2);
    EXPECT_EQ(scene.connections[3][2], 3);
}

TEST(Compiler, OffersCreditsOnlyForTheBlackEmptyGagscreenObject) {
    auto credits = [] {
        ObjectInput input = defaultObjectInput();
        input.name = "GagScreen.KFM";
        input.objectColor = input.backgroundColor = input.crossColor = 0; // all black
        return input;
    };
    Scene scene;
    ObjectInput input = credits();
    EXPECT_TRUE(compileObject(scene, &input).creditsOffered);

    const struct {
        const char* name;
        void (*breakIt)(ObjectInput&);
    } breakers[] = {
        {"other name", [](ObjectInput& i) { i.name = "gagscreen.kf"; }},
        {"text", [](ObjectInput& i) { i.text = " "; }},
        {"object colour", [](ObjectInput& i) { i.objectColor = 1; }},
        {"background colour", [](ObjectInput& i) { i.backgroundColor = 0x010000; }},
        {"cross colour", [](ObjectInput& i) { i.crossColor = 0x000100; }},
        {"axis order", [](ObjectInput& i) { i.axisOrderText = "1"; }},
    };
    for (const auto& b : breakers) {
        ObjectInput broken = credits();
        b.breakIt(broken);
        EXPECT_FALSE(compileObject(scene, &broken).creditsOffered) << b.name;
    }
}

TEST(Compiler, WithoutAWindowCompilesAnEmptySceneAndKeepsTheSettings) {
    Scene scene;
    scene.objectColor = 5;
    scene.axisOrder = 3;
    scene.showCross = 0;
    ASSERT_TRUE(compile(scene, "1/1/1\r\n\r\n1-1", "3").completed);
    const CompileResult result = compileObject(scene, nullptr);
    EXPECT_TRUE(result.completed);
    EXPECT_FALSE(result.creditsOffered);
    EXPECT_EQ(scene.pointCount, 0);
    EXPECT_EQ(scene.connectionCount, 0);
    EXPECT_EQ(scene.objectColor, 0xC0C000);
    EXPECT_EQ(scene.axisOrder, 3);
}

TEST(Compiler, HandlesAMillionCharacterText) {
    Scene scene;
    const std::string longLine(1'000'000, '1');
    EXPECT_FALSE(compile(scene, longLine).completed); // one number too large for a double
    std::string manyRemarks;
    for (int i = 0; i < 100'000; ++i)
        manyRemarks += "'remark\r\n";
    EXPECT_TRUE(compile(scene, manyRemarks + "1/2/3").completed);
    EXPECT_EQ(scene.pointCount, 1);
}

} // namespace
} // namespace wirevane
