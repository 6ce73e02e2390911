// The series table: every series of one input file as read, at the capacities the banner
// announces (1500 series of 8000 values).
//
// The two grids are stored in tiles of 16 places: within a tile the 16 places of series 1
// come first, then those of series 2, and so on. Reading a series fills each 64-byte cache
// line whole (16 values of one series), and writing a row of the column file walks the
// series in storage order one cache line apart, reusing those lines for the next 15 rows.
// Either way memory is walked in order, where a plain grid would make one of the two jump a
// whole row or column per value.
//
// The whole table (the grid and the first years, lengths, names and counts) is reserved once
// as memory that reads zero until it is touched, so a small file costs only the pages its
// values land on. The reader never clears a slot before filling it: each place beyond a
// series' length must read 0, so a table that is used again (the next file, or another file
// type tried on the same file) is cleared first, of what was written only.
//
// Of the counts read beside the values only those of the first series are kept: they are the
// N column, and nothing reads the counts of any other series. (Keeping them all would cost a
// second 48 MB grid, touched in full by a full file.)
#ifndef QUILLET_TABLE_SERIES_TABLE_H_
#define QUILLET_TABLE_SERIES_TABLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "table/limits.h"

namespace quillet::table {

inline constexpr std::size_t kSeriesNameWidth = 8;

using SeriesName = std::array<char, kSeriesNameWidth>;

class SeriesTable {
 public:
  SeriesTable();

  // Series s (1 to 1500), place p (1 to 8000).
  float value(int s, int p) const { return store_->values[index(s, p)]; }
  // The count beside value p of the first series.
  std::int32_t first_series_count(int p) const {
    return store_->first_counts[static_cast<std::size_t>(p - 1)];
  }
  void set(int s, int p, float value, std::int32_t count) {
    store_->values[index(s, p)] = value;
    if (s == 1) store_->first_counts[static_cast<std::size_t>(p - 1)] = count;
  }
  // Place p of series 1 to n into row[0..n).
  void place_values(int p, int n, float* row) const {
    const float* first = store_->values.data() + index(1, p);
    for (int i = 0; i < n; ++i) row[i] = first[static_cast<std::size_t>(i) * kTile];
  }

  std::int32_t first_year(int s) const { return store_->first_years[slot(s)]; }
  std::int32_t length(int s) const { return store_->lengths[slot(s)]; }
  // The name of a series set by set_series (only those are ever asked for).
  std::string_view name(int s) const { return {store_->names[slot(s)].data(), kSeriesNameWidth}; }
  void set_series(int s, std::string_view name, std::int32_t first_year);
  // The number of places of series s that hold values (for a series the input cut off, the
  // places written so far).
  void set_length(int s, std::int32_t length) { store_->lengths[slot(s)] = length; }

  // Back to the table of no series, every place reading 0 again. Costs what was written: the
  // places 1 to length of every series set since the last clear.
  void clear();

  // Number of series read completely, 0 to 1500.
  int series_count() const { return series_count_; }
  void set_series_count(int n) { series_count_ = n; }

 private:
  struct FreeDeleter {
    void operator()(void* p) const;
  };
  static std::size_t slot(int s) { return static_cast<std::size_t>(s - 1); }
  static constexpr std::size_t kTile = 16;
  static std::size_t index(int s, int p) {
    const auto place = static_cast<std::size_t>(p - 1);
    return (place / kTile) * (kTile * kMaxSeries) + slot(s) * kTile + place % kTile;
  }

  struct Store {
    std::array<float, std::size_t{kMaxSeries} * kMaxValues> values;
    std::array<std::int32_t, kMaxValues> first_counts;
    std::array<std::int32_t, kMaxSeries> first_years;
    std::array<std::int32_t, kMaxSeries> lengths;
    std::array<SeriesName, kMaxSeries> names;
  };
  std::unique_ptr<Store, FreeDeleter> store_;
  int series_count_ = 0;
  int series_set_ = 0;  // the highest series set since the last clear
};

}  // namespace quillet::table

#endif  // QUILLET_TABLE_SERIES_TABLE_H_
