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

TEST(YearRangeReport, ShowsTheFullNameFieldAndFiveColumnNumbers) {
  std::string name = "fna_COL";
  name.resize(40, ' ');
  const auto lines = year_range_report(name, {8000, 0, -7999});
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], " writing reformatted data to outfile " + name);
  EXPECT_EQ(lines[2], " minyr=  8000 maxage= -7999");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(year_range_report(name, {1650, 2000, 351})[2], " minyr=  1650 maxage=   351");
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
  float row[2];
  years.fill_row(60, row);
  EXPECT_EQ(row[0], 10.0f);
  EXPECT_EQ(row[1], 30.0f);
}

TEST(YearTable, SeriesWithOneFirstYearFillRowsSideBySide) {
  SeriesTable table;
  add_series(table, 1800, 3);
  add_series(table, 1800, 5, 2.0f);
  const YearTable years(table, find_year_range(table));
  float row[2];
  for (int r = 1; r <= 5; ++r) {
    years.fill_row(r, row);
    EXPECT_EQ(row[0], r <= 3 ? static_cast<float>(r) : 0.0f);
    EXPECT_EQ(row[1], 2.0f * static_cast<float>(r));
    EXPECT_EQ(years.n(r), r <= 3 ? 10 * r : 0);
  }
}

// fill_row's quick branch (every series from one first year) against the cells one by one,
// over random tables: lengths from 0, values anywhere, as many series as the table holds.
TEST(YearTable, RowsAreTheCellsOneByOne) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 40; ++trial) {
    SeriesTable table;
    const int n = trial == 0 ? kMaxSeries : 1 + static_cast<int>(random() % 40);
    const bool one_first_year = trial % 2 == 0;
    for (int s = 1; s <= n; ++s) {
      const auto first_year =
          static_cast<std::int32_t>(one_first_year ? 1500 : 1500 + static_cast<int>(random() % 30));
      const int length = static_cast<int>(random() % 35);
      table.set_series(s, "S", first_year);
      for (int p = 1; p <= length; ++p) {
        table.set(s, p, static_cast<float>(random() % 100000) / 997.0f, 1);
      }
      table.set_length(s, length);
    }
    table.set_series_count(n);
    const YearTable years(table, find_year_range(table));
    std::vector<float> row(static_cast<std::size_t>(n));
    for (int r = 1; r <= years.rows(); ++r) {
      years.fill_row(r, row.data());
      for (int i = 1; i <= n; ++i) {
        ASSERT_EQ(row[static_cast<std::size_t>(i - 1)], years.cell(i, r))
            << "trial " << trial << ", row " << r << ", series " << i;
      }
    }
  }
}

}  // namespace
}  // namespace quillet::table
