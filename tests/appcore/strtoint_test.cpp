// Whole numbers as the settings reader converts them.

#include "StrToInt.h"

#include <gtest/gtest.h>

namespace {

TEST(StrToInt, SignedDecimalAndHexadecimalWithin32Bits) {
    const std::pair<const char*, int> valid[] = {{"7", 7},
                                                 {"-1", -1},
                                                 {"+12", 12},
                                                 {"0007", 7},
                                                 {"  5", 5},
                                                 {"$fF", 255},
                                                 {"0X1a", 26},
                                                 {"-$10", -16},
                                                 {"$7FFFFFFF", 2147483647},
                                                 {"-2147483648", -2147483647 - 1},
                                                 {"-0x80000000", -2147483647 - 1},
                                                 {"000000000000000000000000000001", 1}};
    for (const auto& [text, value] : valid)
        EXPECT_EQ(StrToInt(text), value) << text;
}

TEST(StrToInt, AnythingElseIsInvalid) {
    for (const char* text : {"",
                             " ",
                             "+",
                             "-",
                             "$",
                             "0x",
                             "-$",
                             "1 ",
                             "1 2",
                             "abc",
                             "1a",
                             "$g",
                             "0x-1",
                             "--1",
                             "1.0",
                             "\t1",
                             "1\n",
                             "2147483648",
                             "-2147483649",
                             "$80000000",
                             "99999999999999999999999999999"})
        EXPECT_EQ(StrToInt(text), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(StrToInt(std::string("1\0", 2)), std::nullopt);
    EXPECT_EQ(InvalidIntegerMessage("abc"), "'abc' is not a valid integer value");
}

} // namespace
