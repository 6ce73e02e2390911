// The series table: every series of one input file as read, at the capacities the banner
// announces (1500 series of 8000 values).
//
// Values are kept as a decade line almost always writes them: four digits with three implied
// decimals, 0.000 to 9.999, held as their thousandths in 16 bits (1.234 as 1234), which is
// what the column file writes back. A series that holds any other value (a sign, a point, an
// exponent, a blank inside the digits that gives another number) is kept whole as
// single-precision values in a second store instead. The series are filled one after another,
// and each series' places follow those of the series before it, place 1 first: reading walks
// memory in order, and the stores hold no gaps, so a file costs only the pages its values
// fill. The column file is written in blocks of rows (column_writer.h).
//
// The stores are reserved once as memory that costs nothing until it is written (in huge pages
// where the system offers them, platform/memory.h), and the general store costs nothing until
// a series needs it. Only the places 1 to length of a series are ever read; what lies beyond
// belongs to the next series or to nothing, so a table used again (the next file, or another
// file type tried on the same file) needs no clearing of its places.
//
// Of the counts read beside the values, those of the first series are always kept: they are
// the N column. The counts of every series are kept only when asked for (keep_every_count),
// in a store of their own beside the places.
#ifndef QUILLET_TABLE_SERIES_TABLE_H_
#define QUILLET_TABLE_SERIES_TABLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/memory.h"
#include "table/limits.h"

namespace quillet::table {

inline constexpr std::size_t kSeriesNameWidth = 8;

using SeriesName = std::array<char, kSeriesNameWidth>;

class SeriesTable {
 public:
  SeriesTable();

  // Series s (1 to 1500), place p (1 to 8000); 0 beyond the series' length.
  float value(int s, int p) const;
  // The count beside value p of the first series.
  std::int32_t first_series_count(int p) const {
    return store_->first_counts[static_cast<std::size_t>(p - 1)];
  }
  // The counts of series s, place 1 first, when every count is kept (or s is 1).
  const std::int32_t* counts_of(int s) const {
    return s == 1 ? store_->first_counts.data() : &count_store_->counts[index(s, 1)];
  }
  // Keeps the counts of every series from now on (reserves their store once), or only the
  // first series' again.
  void keep_every_count(bool keep);
  bool keeps_every_count() const { return keep_counts_; }
  // Any value.
  void set(int s, int p, float value, std::int32_t count);
  // Values of 0.000 to 9.999 given as their thousandths (0 to 9999), `n` of them from place
  // p on, with their counts: the decade line's common fields, stored without a conversion.
  void set_thousandths(int s, int p, const std::uint16_t* thousandths, const std::int32_t* counts,
                       std::size_t n);

  // True when series s is kept as single-precision values (values_of), not as thousandths.
  bool general(int s) const { return general_[slot(s)]; }
  // The places of series s, place 1 first: thousandths for a series that is not general,
  // values for one that is.
  const std::uint16_t* thousandths_of(int s) const { return &store_->thousandths[index(s, 1)]; }
  const float* values_of(int s) const { return &general_store_->values[index(s, 1)]; }

  std::int32_t first_year(int s) const { return store_->first_years[slot(s)]; }
  std::int32_t length(int s) const { return store_->lengths[slot(s)]; }
  // The name of a series set by set_series (only those are ever asked for).
  std::string_view name(int s) const { return {store_->names[slot(s)].data(), kSeriesNameWidth}; }
  // Begins series s behind the places of the series set before it (which must have its
  // length): the series are filled one after another.
  void set_series(int s, std::string_view name, std::int32_t first_year);
  // The number of places of series s that hold values (for a series the input cut off, the
  // places written so far).
  void set_length(int s, std::int32_t length) { store_->lengths[slot(s)] = length; }

  // Number of series read completely, 0 to 1500.
  int series_count() const { return series_count_; }
  void set_series_count(int n) { series_count_ = n; }

  // Back to the table of no series.
  void clear();

  // The single-precision value of a thousandths (what the field rules read from its digits).
  static float thousandths_value(std::uint16_t thousandths);

 private:
  // Gives back a store of T reserved by platform::reserve_zeroed.
  template <typename T>
  struct Release {
    void operator()(T* p) const { platform::release(p, sizeof(T)); }
  };
  static std::size_t slot(int s) { return static_cast<std::size_t>(s - 1); }
  std::size_t index(int s, int p) const {
    return starts_[slot(s)] + static_cast<std::size_t>(p - 1);
  }
  // A series' thousandths are made ready for writing this many bytes at a time, as the reader
  // reaches them (platform/memory.h).
  static constexpr std::size_t kPreparedBytes = 4 * platform::kPageSize;
  // Moves series s to the general store, its places 1 to p - 1 written so far.
  void make_general(int s, int p);

  struct Store {
    std::array<std::uint16_t, std::size_t{kMaxSeries} * kMaxValues> thousandths;
    std::array<std::int32_t, kMaxValues> first_counts;
    std::array<std::int32_t, kMaxSeries> first_years;
    std::array<std::int32_t, kMaxSeries> lengths;
    std::array<SeriesName, kMaxSeries> names;
  };
  // Reserved with the first series that needs it.
  struct GeneralStore {
    std::array<float, std::size_t{kMaxSeries} * kMaxValues> values;
  };
  // Reserved when every count is first to be kept.
  struct CountStore {
    std::array<std::int32_t, std::size_t{kMaxSeries} * kMaxValues> counts;
  };
  std::unique_ptr<Store, Release<Store>> store_;
  std::unique_ptr<CountStore, Release<CountStore>> count_store_;
  bool keep_counts_ = false;
  std::unique_ptr<GeneralStore, Release<GeneralStore>> general_store_;
  std::array<std::size_t, kMaxSeries> starts_{};  // where each series' place 1 lies
  std::array<bool, kMaxSeries> general_{};
  int series_count_ = 0;
  int last_set_ = 0;  // the series set last, 0 for none since the last clear
};

}  // namespace quillet::table

#endif  // QUILLET_TABLE_SERIES_TABLE_H_
