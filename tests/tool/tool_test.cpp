#include <gtest/gtest.h>
TEST(Tool, Placeholder) {}
