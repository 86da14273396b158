#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/dialogs/FieldText.h"
#include "dialogs/CommaLocale.h"

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
    CommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma";
    EXPECT_EQ(FormatDouble(1.5), "1.5");
    double v = 0;
    EXPECT_TRUE(ParseDouble("2.75", v));
    EXPECT_EQ(v, 2.75);
    EXPECT_FALSE(ParseDouble("2,75", v));
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
