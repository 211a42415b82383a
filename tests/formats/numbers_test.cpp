#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

// Short decimals are divided out directly; every decimal must still read as
// the double from_chars gives, to the bit, whichever way it is read.
TEST(Numbers, ParseGivesTheBitsOfFromChars) {
    const auto agree = [](const std::string& digits, const std::string& sign) {
        double expected = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), expected);
        if (sign == "-") {
            expected = -expected;
        }
        const double read = parseNumber(sign + digits);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(expected))
            << sign << digits;
        return std::bit_cast<std::uint64_t>(read) == std::bit_cast<std::uint64_t>(expected);
    };
    for (const char* digits :
         {"999999999999999", "9999999999999999", "9007199254740993", "0.1", "0.3", "0.000",
          "123456789012345.6", "1600.000", "1.0000000000000000000001", "0.0000000000000000000001",
          "00000000000000000001.5", "4.9e-324", "1.7976931348623157e308"}) {
        agree(digits, "");
        agree(digits, "-");
    }
    std::mt19937_64 random(11);
    for (int i = 0; i < 100000; ++i) {
        std::string digits(1 + random() % 24, '0');
        const bool zeros = random() % 4 == 0;
        for (char& digit : digits) {
            digit = zeros && random() % 2 == 0 ? '0' : static_cast<char>('0' + random() % 10);
        }
        digits.insert(random() % (digits.size() + 1), 1, '.');
        if (random() % 8 == 0) {
            digits += 'e';
            digits += std::to_string(static_cast<int>(random() % 40) - 20);
        }
        if (!agree(digits, random() % 2 == 0 ? "" : "-")) {
            break;
        }
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

// The E23 form of a double is its exact value rounded to 15 significant
// digits, ties to even, as std::to_chars gives it: checked on doubles of
// every exponent (random bits), on the neighbours of powers of ten, on
// sample times, and on exact ties between two 15-digit numbers.
TEST(Numbers, ScientificDigitsAreThoseOfToChars) {
    const auto expected = [](double value) {
        std::array<char, 32> buf{};
        const char* end = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                        std::chars_format::scientific, 14)
                              .ptr;
        const char* e = std::find(static_cast<const char*>(buf.data()), end, 'e');
        std::string text(1, value < 0 ? '-' : ' ');
        text.append(static_cast<const char*>(buf.data()), e);
        text += 'E';
        text += e[1];
        text.append(static_cast<std::size_t>(4 - (end - (e + 2))), '0');
        text.append(e + 2, end);
        return text;
    };
    std::vector<double> values;
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200'000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value) && value != 0.0) {
            int exponent = 0;
            values.push_back(value);
            values.push_back(
                std::ldexp(std::frexp(value, &exponent), static_cast<int>(random() % 120) - 60));
        }
    }
    for (int e = -15; e <= 16; ++e) {
        double below = std::pow(10.0, e);
        double above = below;
        for (int k = 0; k < 20; ++k) {
            values.push_back(below = std::nextafter(below, 0.0));
            values.push_back(above = std::nextafter(above, 1.0e300));
        }
    }
    for (int i = 0; i < 70'000; ++i) {
        values.push_back(i * 0.000005);
    }
    // Halfway between two 15-digit numbers: x * 10^p = j + 1/2 exactly for a
    // 15-digit j, so x = q / 2^(p + 1) with q * 5^p = 2j + 1, q odd.
    std::uint64_t fiveToP = 1;
    for (int p = 0; p <= 21; ++p, fiveToP *= 5) {
        const std::uint64_t first = (200'000'000'000'000 + fiveToP - 1) / fiveToP;
        for (std::uint64_t q = first | 1, n = 0; q * fiveToP < 2'000'000'000'000'000 && n < 200;
             q += 2, ++n) {
            values.push_back(std::ldexp(static_cast<double>(q), -(p + 1)));
            values.push_back(-std::ldexp(static_cast<double>(q), -(p + 1)));
        }
    }
    for (const double value : values) {
        ASSERT_EQ(formatE23(value), expected(value)) << std::hexfloat << value;
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
    // Far from 1, the exponent form, not hundreds of digits.
    EXPECT_EQ(formatSignificant(1e300, 9), "1e+300");
    EXPECT_EQ(formatSignificant(-2.5e-12, 9), "-2.5e-12");
    EXPECT_EQ(formatSignificant(1.5e15, 2), "1.5e+15");
}
