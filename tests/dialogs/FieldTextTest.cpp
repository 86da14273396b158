#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "app/dialogs/FieldText.h"

TEST(FieldText, DoublesShowFifteenSignificantDigitsAndReadBack) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {{0, "0"},
                 {1.5, "1.5"},
                 {-2.25, "-2.25"},
                 {0.1, "0.1"},
                 {1e20, "1e+20"},
                 {123456789012345678.0, "1.23456789012346e+17"},
                 {1.0 / 3, "0.333333333333333"},
                 {2500, "2500"},
                 {1e-5, "1e-05"}};
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDouble(c.value), c.text);
        double back = 0;
        EXPECT_TRUE(ParseDouble(c.text, back)) << c.text;
        EXPECT_NEAR(back, c.value, std::fabs(c.value) * 1e-14) << c.text;
    }
}

TEST(FieldText, NumbersIgnoreTheUserLocale) {
    // Qt applications run in the user's locale; where one with a decimal comma exists, the
    // fields must still show and read a point.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C"}) {
        if (!std::setlocale(LC_NUMERIC, name)) continue;
        EXPECT_EQ(FormatDouble(1.5), "1.5");
        EXPECT_EQ(FormatFixed2(8.5), "8.50");
        double v = 0;
        EXPECT_TRUE(ParseDouble("2.75", v));
        EXPECT_EQ(v, 2.75);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(FieldText, OnlyAWholeNumberIsTaken) {
    double d = 7;
    for (const char* bad : {"", " ", "abc", "1.5x", "1,5", "--1", "1e999", "0x10"}) {
        EXPECT_FALSE(ParseDouble(bad, d)) << bad;
    }
    EXPECT_EQ(d, 7);
    EXPECT_TRUE(ParseDouble("  +3.5 ", d));
    EXPECT_EQ(d, 3.5);

    int i = 7;
    for (const char* bad : {"", "1.0", "abc", "12a", "2147483648", "-2147483649", "+-1"}) {
        EXPECT_FALSE(ParseInt(bad, i)) << bad;
    }
    EXPECT_EQ(i, 7);
    EXPECT_TRUE(ParseInt(" -2147483648 ", i));
    EXPECT_EQ(i, std::numeric_limits<int>::min());
}

TEST(FieldText, IncrementMustBeFrom1To99) {
    struct Case {
        const char* text;
        IncrementCheck check;
    } cases[] = {{"0", IncrementCheck::OutOfRange},
                 {"100", IncrementCheck::OutOfRange},
                 {"1", IncrementCheck::Ok},
                 {"99", IncrementCheck::Ok},
                 {"-5", IncrementCheck::NotUnsigned},
                 {"ten", IncrementCheck::NotUnsigned},
                 {"", IncrementCheck::NotUnsigned},
                 {"4294967296", IncrementCheck::NotUnsigned},
                 {"4294967295", IncrementCheck::OutOfRange}};
    for (const Case& c : cases) {
        unsigned v = 50;
        EXPECT_EQ(CheckIncrement(c.text, v), c.check) << c.text;
        EXPECT_EQ(v, c.check == IncrementCheck::Ok ? std::stoul(c.text) : 50u) << c.text;
    }
}

TEST(FieldText, FixedTwoDecimals) {
    EXPECT_EQ(FormatFixed2(3300.0 / 300), "11.00");
    EXPECT_EQ(FormatFixed2(2550.0 / 300), "8.50");
    EXPECT_EQ(FormatFixed2(100.0 / 300), "0.33");
    EXPECT_EQ(FormatFixed2(0), "0.00");
}
