// Whole numbers as the settings reader converts them.

#include "StrToInt.h"

#include <gtest/gtest.h>

namespace {

TEST(StrToInt, DecimalWithOptionalSign) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("7"), 7);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("+12"), 12);
    EXPECT_EQ(StrToInt("0007"), 7);
    EXPECT_EQ(StrToInt("  5"), 5) << "leading spaces are passed over";
}

TEST(StrToInt, HexadecimalAfterDollarOrZeroX) {
    EXPECT_EQ(StrToInt("$10"), 16);
    EXPECT_EQ(StrToInt("$fF"), 255);
    EXPECT_EQ(StrToInt("0x1A"), 26);
    EXPECT_EQ(StrToInt("0X1a"), 26);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), 2147483647);
    EXPECT_EQ(StrToInt("-0x80000000"), -2147483647 - 1);
}

TEST(StrToInt, ThirtyTwoBitLimits) {
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("2147483648"), std::nullopt);
    EXPECT_EQ(StrToInt("-2147483649"), std::nullopt);
    EXPECT_EQ(StrToInt("$80000000"), std::nullopt);
    EXPECT_EQ(StrToInt("99999999999999999999999999999"), std::nullopt);
    EXPECT_EQ(StrToInt("000000000000000000000000000001"), 1);
}

TEST(StrToInt, AnythingElseIsInvalid) {
    for (const char* text : {"",   " ",  "+",    "-",   "$",   "0x",  "-$",  "1 ",  "1 2", "abc",
                             "1a", "$g", "0x-1", "--1", "+-1", "1.0", "1e3", "\t1", "0b1", "1\n"})
        EXPECT_EQ(StrToInt(text), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(StrToInt(std::string("1\0", 2)), std::nullopt);
}

TEST(StrToInt, MessageQuotesTheText) {
    EXPECT_EQ(InvalidIntegerMessage("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(InvalidIntegerMessage(""), "'' is not a valid integer value");
}

} // namespace
