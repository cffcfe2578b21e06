#include "core/engine/objectcompiler.h"
#include "core/engine/viewsummary.h"

#include <gtest/gtest.h>

namespace wirevane {
namespace {

// What the description counts is what the picture shows: a line for each connection.
TEST(ViewSummaryTest, CountsTheConnectionsThatDrawALine) {
    const struct {
        const char* text;
        int connections;
    } cases[] = {
        {"1/1/1\r\n2/2/2\r\n3/3/3\r\n\r\n1-2\r\n2-3", 2},
        {"1/1/1\r\n2/2/2\r\n3/3/3\r\n\r\n1-2\r\n2-3\r\n", 2}, // ends with a line break
        {"1/1/1\r\n2/2/2\r\n\r\n1-2\r\n2-3\r\n1-0", 1},       // no point 3, no point 0
        {"1/1/1\r\n2/2/2", 0},
    };
    for (const auto& c : cases) {
        Scene scene;
        ObjectInput input = defaultObjectInput();
        input.text = c.text;
        ASSERT_TRUE(compileObject(scene, &input).completed) << c.text;
        EXPECT_EQ(ViewSummary::drawnConnections(scene), c.connections) << c.text;
    }
}

} // namespace
} // namespace wirevane
