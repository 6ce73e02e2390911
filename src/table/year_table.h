// The year range of the series read and the year table that lines them up by calendar year.
//
// `minyr` is the earliest first year (it starts at 8000, so the table never begins after
// 8000), the latest last year starts at 0 (so the table never ends before year 0), and
// `maxage` is the number of years between them. Row r of the year table is the year
// minyr + r - 1; its cell for series i is that series' value for the year, or 0.0 where the
// series has none. The table is a view of the series table through each series' year offset:
// nothing is copied.
#ifndef QUILLET_TABLE_YEAR_TABLE_H_
#define QUILLET_TABLE_YEAR_TABLE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "table/series_table.h"

namespace quillet::table {

struct YearRange {
  std::int32_t minyr = 8000;
  std::int32_t latest_last_year = 0;
  std::int32_t maxage = 1;
};

YearRange find_year_range(const SeriesTable& series);

class YearTable {
 public:
  // The range must fit the table (maxage <= 8000).
  YearTable(const SeriesTable& series, const YearRange& range);

  int rows() const { return range_.maxage; }
  std::int32_t year(int r) const { return range_.minyr + r - 1; }
  // Series i's value in row r.
  float cell(int i, int r) const {
    return within_series(i, r) ? series_.value(i, place(i, r)) : 0.0f;
  }
  // True when row r lies within series i's years (its first year to its last).
  bool within_series(int i, int r) const {
    const int p = place(i, r);
    return p >= 1 && p <= series_.length(i);
  }
  // The N column: the count the input gave beside series 1's value for the row's year, and 0
  // where series 1 has no value.
  std::int32_t n(int r) const;
  // Series i's year offset: row r holds its place r - offset.
  int offset(int i) const { return offsets_[static_cast<std::size_t>(i - 1)]; }
  const SeriesTable& series() const { return series_; }

 private:
  int place(int i, int r) const { return r - offset(i); }

  const SeriesTable& series_;
  YearRange range_;
  std::array<int, kMaxSeries> offsets_{};
};

}  // namespace quillet::table

#endif  // QUILLET_TABLE_YEAR_TABLE_H_
