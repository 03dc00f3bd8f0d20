#include <windows.h>

#include <gtest/gtest.h>

// Every text of the program is GBK: the tests only mean something when Wine runs with code page 936.
TEST(Platform, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }
