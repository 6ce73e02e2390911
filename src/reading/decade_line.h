// The slots of a decade line: columns 11-80 hold ten slots of 7 columns, each a value of 4
// columns with 3 implied decimals and then a count of 3 columns, read by the field rules.
// The first line of a series passes over the slots in front of its first year.
#ifndef QUILLET_READING_DECADE_LINE_H_
#define QUILLET_READING_DECADE_LINE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillet::reading {

inline constexpr std::size_t kFieldsStart = 10;  // the slots begin in column 11
inline constexpr std::size_t kSlotsPerLine = 10;
inline constexpr std::size_t kSlotWidth = 7;

// The slots of a line, field by field: slot k is value[k] with count[k].
struct Slots {
  std::array<float, kSlotsPerLine> value;
  std::array<std::int32_t, kSlotsPerLine> count;
  // When `plain` (the quick branch read the line: every value field is digits behind blanks),
  // each value's digits as a number (1234 for 1.234), which the series table keeps as they
  // are; otherwise not set.
  std::array<std::uint16_t, kSlotsPerLine> thousandths;
  bool plain = false;
};

// A field that could not be read: its first column (1-based) and its characters as taken (a
// comma that ended it early, or the end of the line, ends them).
struct FailedField {
  std::size_t column = 0;
  std::string_view text;
};

// Reads `slots` slots after `passed_over` columns into out[0..slots). False on a field that
// cannot be read (an illegal character), which is then described in `failed`. A line whose
// every field is digits behind blanks, the common line, takes a quick branch that gives what
// the field rules give.
bool read_slots(std::string_view line, std::size_t passed_over, std::size_t slots, Slots& out,
                FailedField& failed);

// True when the line's columns 1-6 hold something other than blanks and TABs and its year
// field (columns 7-10) reads as an integer and holds a digit: the start of a series' first
// line. Columns past the end of the line count as blanks.
bool names_a_series(std::string_view line);

// True when a line read as a header line could be the first line of a series: it names a
// series (above), columns 11-80 hold a digit, and its ten slots from column 11 read. Real
// header lines hold words there.
bool reads_as_data(std::string_view line);

// Columns 1-6 of a line without trailing blanks: the series name as messages show it.
std::string_view series_name_of(std::string_view line);

// The data bank's long years, for years before -999: the year in columns 6-10 and the name in
// columns 1-5 ("99551-5141", "99551 -990").
inline constexpr std::size_t kLongNameWidth = 5;

// True when column 6 is '-' and columns 7-10 are four digits: a first line that may hold a
// long year (or a name that ends in '-').
bool may_hold_long_year(std::string_view line);

// The year field of a line, columns 7-10 (6-10 with long years), when it reads as an integer
// and holds a digit.
std::optional<std::int32_t> year_of(std::string_view line, bool long_years);

// The first year of the decade a year stands in, as the first line places it (-15 in -20).
inline std::int32_t decade_of(std::int32_t year) { return year - (((year % 10) + 10) % 10); }

// True when the line is a statistics line of the series named `name` (its 6 columns): columns
// 1-6 the name, columns 7-10 a whole number, and a '.' somewhere in columns 11-80.
bool is_statistics_line(std::string_view line, std::string_view name);

namespace detail {
// read_slots without its quick branch: field by field through the field rules. For the test
// that compares the two (decade_line_test.cc).
bool read_slots_by_fields(std::string_view line, std::size_t passed_over, std::size_t slots,
                          Slots& out, FailedField& failed);
}  // namespace detail

}  // namespace quillet::reading

#endif  // QUILLET_READING_DECADE_LINE_H_
