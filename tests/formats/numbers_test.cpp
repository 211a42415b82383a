#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <clocale>
#include <gtest/gtest.h>
#include <limits>

using namespace quarvel;
using namespace quarvel::numbers;

TEST(Numbers, ParseTakesTheLongestNumericPrefix) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1.5", 1.5},      {"  -2.25", -2.25}, {"+3", 3.0},
        {"1e3", 1000.0},   {"2.5E-2", 0.025},  {"1.5abc", 1.5},
        {"7,5", 7.0},      {"abc", 0.0},       {"", 0.0},
        {"Depth(m)", 0.0}, {".5", 0.5},        {"5.", 5.0},
        {"1e", 1.0},       {"1e+", 1.0},       {"-", 0.0},
        {"\t4", 4.0},      {"0.00001", 1e-5},  {"1e999", std::numeric_limits<double>::infinity()},
        {"1e-999", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseNumber(c.text), c.value) << c.text;
    }
}

TEST(Numbers, TryParseWantsTheWholeText) {
    EXPECT_EQ(tryParseNumber(" 1000 "), 1000.0);
    EXPECT_EQ(tryParseNumber("-1.5e2"), -150.0);
    EXPECT_FALSE(tryParseNumber("1000mm"));
    EXPECT_FALSE(tryParseNumber(""));
    EXPECT_FALSE(tryParseNumber("1,5"));
}

TEST(Numbers, ParseIgnoresTheCLocale) {
    // Qt sets the locale from the environment; a German one must not turn
    // "1.5" into 1.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE locale not installed";
    }
    EXPECT_EQ(parseNumber("1.5"), 1.5);
    EXPECT_EQ(formatF3(1.5), "1.500");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Numbers, WholeNumbers) {
    EXPECT_EQ(parseInteger("25"), 25);
    EXPECT_EQ(parseInteger(" -7 "), -7);
    EXPECT_EQ(parseIntegerOrZero("12a"), 0);
    for (const char* bad : {"", "abc", "1.5", "99999999999", "1 2"}) {
        try {
            parseInteger(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const QuarvelError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
    EXPECT_EQ(parseIntegerPrefix("12.5"), 12);
    EXPECT_EQ(parseIntegerPrefix("  -40mm"), -40);
    EXPECT_EQ(parseIntegerPrefix("x12"), 0);
    EXPECT_EQ(parseIntegerPrefix(""), 0);
}

TEST(Numbers, E23) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.0, " 0.00000000000000E+0000"},
        {0.00001, " 1.00000000000000E-0005"},
        {0.000025, " 2.50000000000000E-0005"},
        {-0.473, "-4.73000000000000E-0001"},
        {1.0, " 1.00000000000000E+0000"},
        {-1.0, "-1.00000000000000E+0000"},
        {0.01000999999999976, " 1.00099999999998E-0002"},
        {123456.789, " 1.23456789000000E+0005"},
        {1.0 / 3.0, " 3.33333333333333E-0001"},
        {2.0 / 3.0, " 6.66666666666667E-0001"},
        {1e-300, " 1.00000000000000E-0300"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatE23(c.value), c.text);
        EXPECT_EQ(formatE23(c.value).size(), 23u);
    }
}

TEST(Numbers, FixedPoint) {
    EXPECT_EQ(formatF6(1520.5), "1520.500000");
    EXPECT_EQ(formatF6(0.0), "0.000000");
    EXPECT_EQ(formatF3(1500), "1500.000");
    EXPECT_EQ(formatF3(0.25), "0.250");
    EXPECT_EQ(formatF3(-1533.3333), "-1533.333");
    EXPECT_EQ(formatF5(-0.004986666), "-0.00499");
    EXPECT_EQ(formatF5(0.0), "0.00000");
    EXPECT_EQ(formatFixed(-0.0001, 3), "0.000");
    EXPECT_EQ(formatFixed(7, 0, 3), "  7");
    EXPECT_EQ(formatFixed(0.49948, 4, 3), "0.4995");
}

TEST(Numbers, SignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(formatSignificant(1.99999999999e-5, 9), "0.00002");
    EXPECT_EQ(formatSignificant(0.00123106060606, 9), "0.00123106061");
    EXPECT_EQ(formatSignificant(50000.0000001, 9), "50000");
    EXPECT_EQ(formatSignificant(-2.5, 9), "-2.5");
    EXPECT_EQ(formatSignificant(0.0, 9), "0");
    EXPECT_EQ(formatSignificant(123456789012.0, 3), "123456789012");
}
