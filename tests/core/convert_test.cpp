#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "form/convert.h"

namespace velmora {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct TextToNumber {
  const char* name;
  std::string text;
  double expected;
};

TEST(NumberOf, ReadsTheLeadingNumber) {
  const TextToNumber rows[] = {
      {"empty", "", 0},
      {"letters", "abc", 0},
      {"lone point", ".", 0},
      {"lone minus", "-", 0},
      {"sign and point", "+.", 0},
      {"point first", ".5", 0.5},
      {"trailing point", "5.", 5},
      {"trailing letters", "12abc", 12},
      {"negative exponent", "1E-02", 0.01},
      {"lower-case exponent", "1e-06", 0.000001},
      {"blanks sign exponent tail", " -3.5e+2x", -350},
      {"tab before", "\t7", 7},
      {"plus sign", "+4.25", 4.25},
      {"trailing zero", "0.30", 0.3},
      {"exponent without digits", "1E", 1},
      {"exponent sign without digits", "1E+", 1},
      {"second point ends the number", "1.2.3", 1.2},
      {"blank after sign ends it", "- 5", 0},
      {"blank inside ends it", "1 2", 1},
      {"exponent stops at letters", "2E3x4", 2000},
      {"overflow", "1E999", DBL_MAX},
      {"negative overflow", "-1E999", -DBL_MAX},
      {"huge exponent digits", "1E99999999999999999999", DBL_MAX},
      {"underflow", "1E-999", 0},
      {"zero with huge exponent", "0E99999", 0},
      {"leading zeros shift the exponent", "0.000000000001E310", 1E298},
      {"smallest subnormal", "4.9406564584124654E-324", 4.9406564584124654E-324},
      {"largest double", "1.7976931348623157E308", DBL_MAX},
      {"no inf word", "inf", 0},
      {"no nan word", "nan", 0},
      {"no hex", "0x10", 0},
  };
  for (const auto& r : rows) EXPECT_EQ(numberOf(r.text), r.expected) << r.name;
}

TEST(NumberOf, IsCorrectlyRounded) {
  // Halfway between 1 and the next double, then just above it: must round up.
  EXPECT_EQ(numberOf("1.00000000000000011102230246251565404236316680908203125"), 1.0);
  EXPECT_EQ(numberOf("1.00000000000000011102230246251565404236316680908203126"),
            std::nextafter(1.0, 2.0));
  EXPECT_EQ(numberOf("0.1"), 0.1);
  EXPECT_EQ(numberOf("2.2250738585072011e-308"), 2.2250738585072011e-308);
}

TEST(NumberOf, HandlesVeryLongDigitStrings) {
  // A long run of digits must neither overflow a buffer nor lose the value.
  const std::string ones(200000, '1');
  EXPECT_EQ(numberOf(ones), DBL_MAX);
  EXPECT_EQ(numberOf("0." + std::string(100000, '0') + "5E100005"), 5E4);
  EXPECT_EQ(numberOf("3." + std::string(100000, '0') + "1x"), 3.0);
  EXPECT_EQ(numberOf(std::string(100000, ' ') + "42"), 42);
}

struct StrictRow {
  const char* name;
  std::string text;
  std::optional<double> expected;
};

TEST(StrictNumberOf, WholeTextMustBeANumber) {
  const StrictRow rows[] = {
      {"plain", "5", 5},
      {"surrounding blanks", "  2.5  ", 2.5},
      {"exponent", "1E-06", 0.000001},
      {"overflow saturates", "-1E999", -DBL_MAX},
      {"empty", "", std::nullopt},
      {"blanks only", "   ", std::nullopt},
      {"trailing letter", "5x", std::nullopt},
      {"exponent without digits", "1E", std::nullopt},
      {"exponent sign without digits", "1E-", std::nullopt},
      {"lone point", ".", std::nullopt},
      {"inner blank", "1 2", std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(strictNumberOf(r.text), r.expected) << r.name;
}

struct WholeRow {
  const char* name;
  double value;
  std::optional<int16_t> expected;
};

TEST(WholeNumber16, RoundsHalfToEvenWithinRange) {
  const WholeRow rows[] = {
      {"half down to even", 2.5, 2},
      {"half up to even", 3.5, 4},
      {"negative half", -2.5, -2},
      {"negative half up", -3.5, -4},
      {"below half", 6.49999999999999911182158029987, 6},
      {"above half", 7.5000000000000009, 8},
      {"half of zero", 0.5, 0},
      {"minus half", -0.5, 0},
      {"top", 32767.4, 32767},
      {"past top", 32767.5, std::nullopt},
      {"bottom", -32768.4, -32768},
      {"bottom half goes to even inside", -32768.5, -32768},
      {"past bottom", -32769.5, std::nullopt},
      {"huge", 1E300, std::nullopt},
      {"nan", kNaN, std::nullopt},
      {"infinity", kInf, std::nullopt},
      {"minus infinity", -kInf, std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(wholeNumber16(r.value), r.expected) << r.name;
}

TEST(WholeNumber32, UsesTheWiderRange) {
  EXPECT_EQ(wholeNumber32(32767.5), 32768);
  EXPECT_EQ(wholeNumber32(2147483647.4), 2147483647);
  EXPECT_EQ(wholeNumber32(2147483647.5), std::nullopt);
  EXPECT_EQ(wholeNumber32(-2147483648.5), -2147483647 - 1);
  EXPECT_EQ(wholeNumber32(-2147483649.0), std::nullopt);
  EXPECT_EQ(wholeNumber32(1E10), std::nullopt);
  EXPECT_EQ(wholeNumber32(kNaN), std::nullopt);
  EXPECT_EQ(wholeNumber32(2147483646.5), 2147483646);
  EXPECT_EQ(wholeNumber32(-2147483645.5), -2147483646);
}

struct NumberToText {
  const char* name;
  double value;
  const char* expected;
};

TEST(TextOf, WritesShortestFifteenDigitForm) {
  const NumberToText rows[] = {
      {"whole", 150, "150"},
      {"negative whole", -3, "-3"},
      {"zero", 0, "0"},
      {"negative zero", -0.0, "0"},
      {"fraction with leading zero", 0.25, "0.25"},
      {"negative fraction", -0.5, "-0.5"},
      {"sum shows fifteen digits", 0.1 + 0.2, "0.3"},
      {"third", 1.0 / 3.0, "0.333333333333333"},
      {"two thirds rounds up", 2.0 / 3.0, "0.666666666666667"},
      {"smallest fixed", 0.0001, "0.0001"},
      {"rounds up to smallest fixed", 0.000099999999999999999, "0.0001"},
      {"just below fixed", 0.0000999, "9.99E-05"},
      {"micro", 0.000001, "1E-06"},
      {"exponent with fraction", 0.000015, "1.5E-05"},
      {"negative exponent form", -0.000015, "-1.5E-05"},
      {"tiny", 1E-100, "1E-100"},
      {"largest fixed", 999999999999999, "999999999999999"},
      {"rounds up to exponent form", 999999999999999.9, "1E+15"},
      {"threshold", 1E15, "1E+15"},
      {"large with digits", 1234567890123456.0, "1.23456789012346E+15"},
      {"huge", 1E300, "1E+300"},
      {"largest double", DBL_MAX, "1.79769313486232E+308"},
      {"subnormal", 5E-324, "4.94065645841247E-324"},
      {"mixed", 123.456, "123.456"},
      {"fifteen digit fraction", 1.00000000000001, "1.00000000000001"},
      {"sixteenth digit dropped", 1.000000000000001, "1"},
      {"nan", kNaN, "NaN"},
      {"infinity", kInf, "Infinity"},
      {"minus infinity", -kInf, "-Infinity"},
  };
  for (const auto& r : rows) EXPECT_EQ(textOf(r.value), r.expected) << r.name;
}

TEST(StrOf, LeadsWithABlankWhenNotNegative) {
  EXPECT_EQ(strOf(3), " 3");
  EXPECT_EQ(strOf(-2), "-2");
  EXPECT_EQ(strOf(0), " 0");
  EXPECT_EQ(strOf(-0.0), " 0");
  EXPECT_EQ(strOf(0.000001), " 1E-06");
  EXPECT_EQ(strOf(-0.25), "-0.25");
}

TEST(RoundTripText, WritesShortestExactForm) {
  const NumberToText rows[] = {
      {"tenth", 0.1, "0.1"},    {"micro", 0.000001, "1e-06"},
      {"whole", 150, "150"},    {"negative", -3.5, "-3.5"},
      {"large", 1E20, "1e+20"}, {"sum keeps all digits", 0.1 + 0.2, "0.30000000000000004"},
  };
  for (const auto& r : rows) EXPECT_EQ(roundTripText(r.value), r.expected) << r.name;
}

// Doubles spread over the whole exponent range, including whole and short decimal values.
double randomDouble(std::mt19937_64& gen) {
  switch (gen() % 4) {
    case 0: {
      uint64_t bits = gen();
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return std::isfinite(d) ? d : 1.5;
    }
    case 1:
      return static_cast<double>(static_cast<int64_t>(gen() % 2000001) - 1000000);
    case 2:
      return static_cast<double>(static_cast<int64_t>(gen() % 200001) - 100000) / 1000.0;
    default: {
      std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
      std::uniform_int_distribution<int> exponent(-20, 20);
      return mantissa(gen) * std::pow(10.0, exponent(gen));
    }
  }
}

TEST(Conversions, TextReadsBackAsTheRoundedNumber) {
  std::mt19937_64 gen(20240611);
  for (int i = 0; i < 5000; ++i) {
    const double x = randomDouble(gen);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    const double rounded = std::strtod(buf, nullptr);
    EXPECT_EQ(numberOf(textOf(x)), rounded) << roundTripText(x) << " -> " << textOf(x);
    EXPECT_EQ(numberOf(strOf(x)), rounded) << roundTripText(x);
    EXPECT_EQ(strictNumberOf(textOf(x)), rounded) << roundTripText(x);
    EXPECT_EQ(numberOf(roundTripText(x)), x) << roundTripText(x);
  }
}

}  // namespace
}  // namespace velmora
