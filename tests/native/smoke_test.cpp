#include <gtest/gtest.h>
#include <string>
TEST(Smoke, GbkLiterals) { EXPECT_EQ(std::string("皮肤").size(), 4u); }
