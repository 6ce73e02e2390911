#include "fields/field_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quillet::fields {
namespace {

// Blanks are written as '_' in the tables below so that they stay visible.
std::string visible(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c == '_') c = ' ';
  }
  return out;
}

TEST(ParseInteger, ReadsDigitsSignsAndBlanksAnywhere) {
  const struct {
    const char* field;
    std::int32_t value;
  } cases[] = {
      {"1850", 1850},
      {"__85", 85},
      {"-123", -123},
      {"_+7_", 7},
      {"1_5_", 15},
      {"____", 0},
      {"___-", 0},
      {"3", 3},
      {"_", 0},
      {"", 0},
      {"+", 0},
      {"-0", 0},
      {"\t4\t2", 42},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_integer(visible(c.field)), c.value) << "field [" << c.field << "]";
  }
}

TEST(ParseInteger, RejectsIllegalCharacters) {
  for (const char* field : {"12.5", "19a0", "1-2", "--1", "+-1", "1+", "x", "1,2", "2147483648",
                            "-2147483649", "99999999999999999999"}) {
    EXPECT_EQ(parse_integer(visible(field)), std::nullopt) << "field [" << field << "]";
  }
}

TEST(ParseDecimal, ReadsImpliedDecimalsAndWrittenPoints) {
  const struct {
    const char* field;
    float value;
  } cases[] = {
      {"9990", 9.99f},   {"1234", 1.234f},  {"_987", 0.987f}, {"__12", 0.012f},
      {"-123", -0.123f}, {"__-5", -0.005f}, {"12_3", 0.123f}, {"999_", 0.999f},
      {"____", 0.0f},    {"9.99", 9.99f},   {"_.5_", 0.5f},   {"_9.99", 9.99f},
      {"5.", 5.0f},      {".", 0.0f},       {"+", 0.0f},      {"0012", 0.012f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_decimal(visible(c.field), 3), c.value) << "field [" << c.field << "]";
  }
}

TEST(ParseDecimal, TheEndMarkerDigitsGiveExactlyTheSinglePrecisionNineNinetyNine) {
  // 9990 with 3 implied decimals is 9990 / 1000 in double, rounded to single precision.
  EXPECT_EQ(*parse_decimal("9990", 3), static_cast<float>(9990.0 / 1000.0));
  EXPECT_EQ(*parse_decimal("9990", 3), 9.99f);
  EXPECT_NE(*parse_decimal("9991", 3), 9.99f);
  EXPECT_NE(*parse_decimal("999", 3), 9.99f);
}

TEST(ParseDecimal, ReadsExponentForms) {
  const struct {
    const char* field;
    int decimals;
    float value;
  } cases[] = {
      {"1.5E2", 3, 150.0f},
      {"1.5e+2", 3, 150.0f},
      {"1.5D-2", 3, 0.015f},
      {"1.5d2", 3, 150.0f},
      {"1.5+2", 3, 150.0f},
      {"1.5-2", 3, 0.015f},
      {"15E1", 3, 0.15f},
      {"15E1", 0, 150.0f},
      {"-2E0", 0, -2.0f},
      {"1_E_2", 0, 100.0f},
      {"E5", 3, 0.0f},
      // An exponent behind no digits reads as zero, in the letter form and the sign form.
      {"D 18", 3, 0.0f},
      {"--1", 3, 0.0f},
      {".+5", 3, 0.0f},
      {"+-9", 3, 0.0f},
      {".-5", 3, 0.0f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_decimal(visible(c.field), c.decimals), c.value) << "field [" << c.field << "]";
  }
}

TEST(ParseDecimal, ExtremeExponentsSaturate) {
  EXPECT_TRUE(std::isinf(*parse_decimal("1E99999999999", 0)));
  EXPECT_EQ(*parse_decimal("1E-99999999999", 0), 0.0f);
  EXPECT_TRUE(std::isinf(*parse_decimal("-1E50", 0)));
  EXPECT_LT(*parse_decimal("-1E50", 0), 0.0f);
}

TEST(ParseDecimal, LongDigitStringsAreRoundedOnce) {
  EXPECT_EQ(*parse_decimal("12345678901234567890", 10), 1234567890.1234567890f);
  EXPECT_EQ(*parse_decimal("0.100000000000000000001", 0), 0.1f);
}

TEST(ParseDecimal, MinusWithoutDigitsIsNegativeZero) {
  for (const char* field : {"-000", "-", "-.", "-0.0", "-.-1", "--1"}) {
    const float value = *parse_decimal(field, 3);
    EXPECT_EQ(value, 0.0f) << field;
    EXPECT_TRUE(std::signbit(value)) << field;
  }
}

TEST(ParseDecimal, RejectsIllegalCharacters) {
  for (const char* field : {"1.2.", "12a4", "1E", "1E+", "1E1.5", "1EE2", "1-", "--", "1+-2", ".+",
                            "x", "1/2", "\x01"}) {
    EXPECT_EQ(parse_decimal(field, 3), std::nullopt) << "field [" << field << "]";
  }
}

// A decimal field of the reader, as a value (nullopt for an illegal character).
std::optional<float> decimal(FieldReader& reader, std::size_t width, int decimals) {
  float value = 0.0f;
  if (!reader.take_decimal(width, decimals, value)) return std::nullopt;
  return value;
}

TEST(FieldReader, ACommaEndsANumericFieldEarly) {
  // "1,23" read as a 4-column decimal then a 3-column integer: the decimal is "1" and the
  // integer begins after the comma.
  FieldReader reader("1,23 xx");
  EXPECT_EQ(decimal(reader, 4, 3), 0.001f);
  EXPECT_EQ(reader.integer(3), 23);
  EXPECT_EQ(reader.text(2, 2), "xx");
}

TEST(FieldReader, ACommaIsAnOrdinaryCharacterInATextField) {
  FieldReader reader("a,b,");
  EXPECT_EQ(reader.text(4, 4), "a,b,");
}

TEST(FieldReader, FieldsPastTheEndOfTheLineAreEmpty) {
  FieldReader reader(std::string(60, 'x'));
  reader.tab_to(81);
  EXPECT_EQ(reader.text(8, 8), "        ");
  EXPECT_EQ(reader.integer(3), 0);
  EXPECT_EQ(decimal(reader, 4, 3), 0.0f);

  FieldReader short_line("12");
  EXPECT_EQ(short_line.integer(4), 12);
  short_line.skip(100);
  EXPECT_EQ(short_line.text(1, 1), " ");
}

TEST(FieldReader, AFailedFieldIsKeptAsItWasTaken) {
  const struct {
    const char* line;
    std::size_t skip;
    bool as_decimal;
    std::size_t column;
    const char* text;
  } cases[] = {
      {"    19x0", 4, false, 5, "19x0"},  // the whole field
      {"1234 2x4  2", 4, true, 5, " 2x4"},
      {"1234 2x", 4, true, 5, " 2x"},  // cut off by the end of the line
      {"x,12", 0, true, 1, "x"},       // ended early by a comma
  };
  for (const auto& c : cases) {
    FieldReader reader(c.line);
    reader.skip(c.skip);
    std::int32_t count = 0;
    float value = 0.0f;
    const bool ok = c.as_decimal ? reader.take_decimal(4, 3, value) : reader.take_integer(4, count);
    EXPECT_FALSE(ok) << c.line;
    EXPECT_EQ(reader.failed_column(), c.column) << c.line;
    EXPECT_EQ(reader.failed_text(), c.text) << c.line;
  }
  // A count behind a comma that ended its value begins right behind the comma.
  FieldReader reader("1,x5 ");
  float value = 0.0f;
  std::int32_t count = 0;
  ASSERT_TRUE(reader.take_decimal(4, 3, value));
  EXPECT_FALSE(reader.take_integer(3, count));
  EXPECT_EQ(reader.failed_column(), 3u);
  EXPECT_EQ(reader.failed_text(), "x5 ");
}

TEST(FieldReader, TextFieldsKeepLeadingBlanksAndPadToTheirLength) {
  FieldReader reader(" ABCDEF1850");
  EXPECT_EQ(reader.text(6, 8), " ABCDE  ");
  EXPECT_EQ(reader.text(1, 1), "F");
  EXPECT_EQ(reader.integer(4), 1850);
}

}  // namespace
}  // namespace quillet::fields
