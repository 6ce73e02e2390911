#include "table/year_table.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quillet::table {
namespace {

// Adds a series with values 1, 2, 3, ... (scaled by `scale`) and counts 10, 20, 30, ...
void add_series(SeriesTable& table, std::int32_t first_year, int length, float scale = 1.0f) {
  const int s = table.series_count() + 1;
  table.set_series(s, "S", first_year);
  for (int p = 1; p <= length; ++p) table.set(s, p, scale * static_cast<float>(p), 10 * p);
  table.set_length(s, length);
  table.set_series_count(s);
}

struct RangeCase {
  std::vector<std::pair<int, int>> series;  // first year, length
  std::int32_t minyr;
  std::int32_t maxage;
};

TEST(FindYearRange, StartsAtEightThousandAndYearZero) {
  const RangeCase cases[] = {
      {{}, 8000, -7999},
      {{{1901, 100}}, 1901, 100},
      {{{1950, 50}, {1900, 70}}, 1900, 100},
      {{{9000, 10}}, 8000, 1010},  // the table never begins after 8000
      {{{-500, 400}}, -500, 501},  // ... nor ends before year 0
      {{{1900, 0}}, 1900, 0},      // a series without values
      {{{1900, 0}, {1950, 10}}, 1900, 60},
  };
  for (const RangeCase& c : cases) {
    SeriesTable table;
    for (const auto& [first, length] : c.series) add_series(table, first, length);
    const YearRange range = find_year_range(table);
    EXPECT_EQ(range.minyr, c.minyr);
    EXPECT_EQ(range.maxage, c.maxage);
  }
}

TEST(YearTable, LinesSeriesUpByCalendarYear) {
  SeriesTable table;
  add_series(table, 1950, 50);        // offset 50
  add_series(table, 1900, 70, 0.5f);  // offset 0
  const YearRange range = find_year_range(table);
  const YearTable years(table, range);
  ASSERT_EQ(years.rows(), 100);
  EXPECT_EQ(years.year(1), 1900);
  EXPECT_EQ(years.year(100), 1999);
  for (int r = 1; r <= 100; ++r) {
    EXPECT_EQ(years.cell(1, r), r <= 50 ? 0.0f : static_cast<float>(r - 50)) << r;
    EXPECT_EQ(years.cell(2, r), r <= 70 ? 0.5f * static_cast<float>(r) : 0.0f) << r;
    // The N column follows series 1 by year: 0 before 1950, then its counts.
    EXPECT_EQ(years.n(r), r <= 50 ? 0 : 10 * (r - 50)) << r;
  }
}

void set_one(SeriesTable& table, int s, int p, std::uint16_t thousandths, std::int32_t count) {
  table.set_thousandths(s, p, &thousandths, &count, 1);
}

TEST(SeriesTable, ThousandthsUnlessAValueNeedsMore) {
  SeriesTable table;
  table.set_series(1, "A", 1900);
  set_one(table, 1, 1, 1234, 3);
  table.set(1, 2, 0.5f, 4);  // held by the thousandths
  table.set(1, 3, -0.0f, 5);
  EXPECT_FALSE(table.general(1));
  EXPECT_EQ(table.thousandths_of(1)[1], 500);
  table.set(1, 4, -0.25f, 6);  // the series moves to the general store, whole
  set_one(table, 1, 5, 9990, 7);
  table.set_length(1, 5);
  EXPECT_TRUE(table.general(1));
  const float expected[] = {1.234f, 0.5f, 0.0f, -0.25f, 9.99f};
  for (int p = 1; p <= 5; ++p) EXPECT_EQ(table.value(1, p), expected[p - 1]) << p;
  EXPECT_EQ(table.first_series_count(5), 7);

  // Cleared, the table holds series of thousandths again, and nothing beyond their lengths.
  table.clear();
  table.set_series(1, "B", 1900);
  set_one(table, 1, 1, 7, 1);
  table.set_length(1, 1);
  EXPECT_FALSE(table.general(1));
  EXPECT_EQ(table.value(1, 1), 0.007f);
  for (int p = 2; p <= 6; ++p) EXPECT_EQ(table.value(1, p), 0.0f) << p;
  // The next series begins behind it.
  table.set_series(2, "C", 1900);
  set_one(table, 2, 1, 8, 1);
  table.set_length(2, 1);
  EXPECT_EQ(table.thousandths_of(2), table.thousandths_of(1) + 1);
  EXPECT_EQ(table.value(1, 1), 0.007f);
  EXPECT_EQ(table.value(2, 1), 0.008f);
}

}  // namespace
}  // namespace quillet::table
