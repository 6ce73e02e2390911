#include "table/year_table.h"

#include <algorithm>

namespace quillet::table {

YearRange find_year_range(const SeriesTable& series) {
  YearRange range;
  for (int i = 1; i <= series.series_count(); ++i) {
    range.minyr = std::min(range.minyr, series.first_year(i));
    const std::int32_t last_year = series.first_year(i) + series.length(i) - 1;
    range.latest_last_year = std::max(range.latest_last_year, last_year);
  }
  range.maxage = range.latest_last_year - range.minyr + 1;
  return range;
}

YearTable::YearTable(const SeriesTable& series, const YearRange& range)
    : series_(series), range_(range) {
  for (int i = 1; i <= series.series_count(); ++i) {
    offsets_[static_cast<std::size_t>(i - 1)] = series.first_year(i) - range.minyr;
  }
}

std::int32_t YearTable::n(int r) const {
  if (series_.series_count() == 0) return 0;
  const int p = r - offsets_[0];
  return p >= 1 && p <= series_.length(1) ? series_.first_series_count(p) : 0;
}

}  // namespace quillet::table
