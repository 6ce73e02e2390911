#include "fields/field_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string_view>

#include "fields/field_reader.h"

namespace quillet::fields {
namespace {

std::string integer_field(std::int64_t value, std::size_t width) {
  std::string line;
  put_integer(line, value, width);
  return line;
}

std::string decimal_field(float value, std::size_t width = 6, int decimals = 3) {
  std::string line(width, '?');
  write_decimal(line.data(), value, width, decimals);
  return line;
}

TEST(PutInteger, RightAlignsAndOverflowsToAsterisks) {
  const struct {
    std::int64_t value;
    std::size_t width;
    const char* field;
  } cases[] = {
      {1850, 4, "1850"}, {7, 4, "   7"},     {0, 4, "   0"},      {-12, 4, " -12"},
      {-999, 4, "-999"}, {-1000, 4, "****"}, {12345, 4, "****"},  {8000, 5, " 8000"},
      {73, 2, "73"},     {5, 2, " 5"},       {-7999, 5, "-7999"}, {-80000, 5, "*****"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(integer_field(c.value, c.width), c.field) << c.value << " in " << c.width;
  }
}

TEST(PutDecimal, RoundsHalvesAwayFromZeroFromTheExactValue) {
  const struct {
    float value;
    const char* field;
  } cases[] = {
      {1.5f, " 1.500"},
      {0.0f, " 0.000"},
      {-0.0f, " 0.000"},
      {0.987f, " 0.987"},
      {0.0625f, " 0.063"},
      {-0.0625f, "-0.063"},
      {0.0004f, " 0.000"},
      {-0.0004f, " 0.000"},
      {-0.0005f, "-0.001"},
      {0.0005f, " 0.001"},
      {-0.5f, "-0.500"},
      {12.3456f, "12.346"},
      {-9.999f, "-9.999"},
      {-9.9996f, "******"},
      {-10.0f, "******"},
      {99.999f, "99.999"},
      {99.9996f, "******"},
      {123.456f, "******"},
      {9.99f, " 9.990"},
      {1.0005f, " 1.000"},
      // 99.9995 lies just below the half as a float, so it still fits.
      {0.1875f, " 0.188"},
      {2.4375f, " 2.438"},
      {-2.4375f, "-2.438"},
      {99.9995f, "99.999"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decimal_field(c.value), c.field) << c.value;
  }
}

TEST(PutDecimal, NonFiniteValuesAndOtherWidths) {
  EXPECT_EQ(decimal_field(std::numeric_limits<float>::infinity()), "******");
  EXPECT_EQ(decimal_field(-std::numeric_limits<float>::infinity()), "******");
  EXPECT_EQ(decimal_field(std::numeric_limits<float>::quiet_NaN()), "******");
  EXPECT_EQ(decimal_field(123.456f, 8, 2), "  123.46");
  EXPECT_EQ(decimal_field(-0.25f, 4, 1), "-0.3");
  EXPECT_EQ(decimal_field(3.0e38f, 50, 0).size(), 50u);
  EXPECT_EQ(decimal_field(3.0e38f, 10, 0), "**********");
}

TEST(PutDecimal, WrittenValuesReadBackAsTheirRoundedForm) {
  // Every 4-column value with 3 implied decimals survives a write and a read unchanged.
  for (int digits = -999; digits <= 9999; digits += 7) {
    const float value = *parse_decimal(std::to_string(digits), 3);
    const std::string field = decimal_field(value);
    ASSERT_EQ(field.size(), 6u);
    EXPECT_EQ(parse_decimal(field, 3), value) << digits << " -> [" << field << "]";
  }
}

TEST(PutText, CutsOrPadsOnTheLeft) {
  std::string line;
  put_text(line, "ring01  ", 8);
  put_text(line, "abcdef", 3);
  put_text(line, "xy", 5);
  EXPECT_EQ(line, "ring01  abc   xy");
}

// The quick branch of the column file's field (6 columns, 3 decimals) against the general
// branch: every float next to a rounding boundary of the fast range, and a large random
// sample of all floats (NaN and infinities among them).
TEST(WriteDecimal, QuickBranchWritesWhatTheGeneralBranchWrites) {
  const auto same = [](float value) {
    char quick[6];
    char general[6];
    write_decimal(quick, value, 6, 3);
    detail::write_decimal_general(general, value, 6, 3);
    return std::string_view(quick, 6) == std::string_view(general, 6);
  };
  long differ = 0;
  for (int k = -10001; k <= 100001; ++k) {
    float at = static_cast<float>((k + 0.5) / 1000.0);
    for (int step = 0; step < 3; ++step) at = std::nextafter(at, -1e9f);
    for (int step = 0; step < 7; ++step, at = std::nextafter(at, 1e9f)) {
      differ += same(at) ? 0 : 1;
    }
  }
  std::mt19937 random(20261208);
  for (int i = 0; i < 4'000'000; ++i) {
    const auto bits = static_cast<std::uint32_t>(random());
    float any;
    std::memcpy(&any, &bits, sizeof any);
    differ += same(any) ? 0 : 1;
    differ += same(std::uniform_real_distribution<float>(-11.0f, 101.0f)(random)) ? 0 : 1;
  }
  EXPECT_EQ(differ, 0);
}

// Every thousandths written by lookup against the general rule on the value the field rules
// read from those four digits.
TEST(WriteThousandths, IsWhatTheValueWrites) {
  for (int k = 0; k < 10000; ++k) {
    std::string by_lookup(6, '?');
    write_thousandths(by_lookup.data(), static_cast<std::uint16_t>(k));
    std::string general(6, '?');
    detail::write_decimal_general(general.data(), detail::kThousandths[static_cast<std::size_t>(k)],
                                  6, 3);
    ASSERT_EQ(by_lookup, general) << k;
  }
}

}  // namespace
}  // namespace quillet::fields
