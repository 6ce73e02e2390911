#include "reading/decade_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "fields/field_reader.h"

namespace quillet::reading {
namespace {

TEST(ReadSlots, APlainLineAndAnOddOne) {
  Slots out{};
  FailedField failed;
  const std::string first_line = "NAME  1653" + std::string(21, ' ') + "1234 12 987  39990  0";
  ASSERT_TRUE(read_slots(first_line, 31, 3, out, failed));
  EXPECT_EQ(out.value[0], 1.234f);
  EXPECT_EQ(out.count[0], 12);
  EXPECT_EQ(out.value[1], 0.987f);
  EXPECT_EQ(out.value[2], 9.99f);
  EXPECT_EQ(out.count[2], 0);
  // Blanks inside, a sign, a point, a comma and a short line take the field rules.
  ASSERT_TRUE(read_slots("X     1900 1 2  1-123 -2 .5,7", 10, 4, out, failed));
  EXPECT_EQ(out.value[0], 0.012f);
  EXPECT_EQ(out.count[0], 1);
  EXPECT_EQ(out.value[1], -0.123f);
  EXPECT_EQ(out.count[1], -2);
  EXPECT_EQ(out.value[2], 0.5f);
  EXPECT_EQ(out.count[2], 7);
  EXPECT_EQ(out.value[3], 0.0f);  // beyond the end of the line
  EXPECT_FALSE(read_slots("X     1900 12a4  1", 10, 1, out, failed));
  EXPECT_EQ(failed.column, 11u);
  EXPECT_EQ(failed.text, " 12a");
}

TEST(DecadeLine, HeaderLinesThatReadAsData) {
  const struct {
    const char* line;
    bool names_a_series;
    bool reads_as_data;
  } cases[] = {
      {"AZ571 1652 1044  1 1006  1", true, true},
      {"AZ571 1652", true, false},                           // no digit in the slots' columns
      {"AZ571 1652 Douglas-fir  PSME  2260M", true, false},  // words: a slot does not read
      {"      1652 1044  1", false, false},                  // no name
      {"AZ571      1044  1", false, false},                  // a year without a digit
      {"AZ571 19x2 1044  1", false, false},                  // a year that does not read
      {"AZ571 -    1044  1", false, false},
      {"AZ", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(names_a_series(c.line), c.names_a_series) << "[" << c.line << "]";
    EXPECT_EQ(reads_as_data(c.line), c.reads_as_data) << "[" << c.line << "]";
  }
  EXPECT_EQ(series_name_of("AZ5   1652"), "AZ5");
  EXPECT_EQ(series_name_of(" A B"), " A B");
}

// The quick branch against the field rules, over random lines: half of them common lines
// (each field digits behind blanks, a label or nothing behind) with up to three bytes
// changed, the rest random mixes of digits, blanks, signs, points, commas, letters and short
// lines.
TEST(ReadSlots, QuickBranchReadsWhatTheFieldRulesRead) {
  std::mt19937 random(3);
  const char odd[] = {' ', '-', '+', '.', ',', 'x', 'E', '\t'};
  const auto any_byte = [&] {
    const auto r = random() % 100;
    return r < 70 ? static_cast<char>('0' + random() % 10) : r < 95 ? ' ' : odd[random() % 8];
  };
  for (int trial = 0; trial < 200000; ++trial) {
    std::string line(10, 'N');
    if (trial % 2 == 0) {
      for (std::size_t field = 0; field < 2 * kSlotsPerLine; ++field) {
        const std::size_t width = field % 2 == 0 ? 4 : 3;
        const std::size_t blanks = random() % (width + 1);
        line.append(blanks, ' ');
        for (std::size_t i = blanks; i < width; ++i) {
          line.push_back(static_cast<char>('0' + random() % 10));
        }
      }
      if (trial % 3 == 0) line += "LABEL";
      for (auto changes = random() % 4; changes > 0; --changes) {
        line[10 + random() % (line.size() - 10)] = any_byte();
      }
    } else {
      const std::size_t length = trial % 5 == 1 ? random() % 90 : 80;
      while (line.size() < length) line.push_back(any_byte());
    }
    const std::size_t slots = 1 + random() % kSlotsPerLine;
    const std::size_t passed_over = kFieldsStart + kSlotWidth * (kSlotsPerLine - slots);
    Slots quick{};
    Slots general{};
    FailedField quick_failed;
    FailedField general_failed;
    const bool quick_ok = read_slots(line, passed_over, slots, quick, quick_failed);
    const bool general_ok =
        detail::read_slots_by_fields(line, passed_over, slots, general, general_failed);
    ASSERT_EQ(quick_ok, general_ok) << "[" << line << "]";
    ASSERT_EQ(quick_failed.column, general_failed.column) << "[" << line << "]";
    for (std::size_t k = 0; quick_ok && k < slots; ++k) {
      ASSERT_EQ(std::memcmp(&quick.value[k], &general.value[k], sizeof(float)), 0)
          << "[" << line << "] slot " << k;
      ASSERT_EQ(quick.count[k], general.count[k]) << "[" << line << "] slot " << k;
      // The thousandths a plain line gives are its values' digits.
      if (quick.plain) {
        ASSERT_EQ(quick.value[k], fields::detail::kThousandths[quick.thousandths[k]]) << line;
      }
    }
  }
}

}  // namespace
}  // namespace quillet::reading
