#include "table/series_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <type_traits>

#include "fields/field_reader.h"

namespace quillet::table {

// Fresh memory that reads zero until written: the table costs nothing until values land in
// it (a zero-filling new would touch all of it).
SeriesTable::SeriesTable() : store_(static_cast<Store*>(platform::reserve_zeroed(sizeof(Store)))) {
  static_assert(std::is_trivially_default_constructible_v<Store>);
  if (!store_) throw std::bad_alloc();
}

float SeriesTable::thousandths_value(std::uint16_t thousandths) {
  return fields::detail::kThousandths[thousandths];
}

float SeriesTable::value(int s, int p) const {
  if (p > length(s)) return 0.0f;
  return general_[slot(s)] ? general_store_->values[index(s, p)]
                           : thousandths_value(store_->thousandths[index(s, p)]);
}

void SeriesTable::set(int s, int p, float value, std::int32_t count) {
  if (!general_[slot(s)]) {
    // A value the thousandths hold exactly stays there (a negative zero writes as 0.000 too).
    if (value >= 0.0f && value < 9.9995f) {
      const auto thousandths =
          static_cast<std::uint16_t>(std::lround(static_cast<double>(value) * 1000.0));
      if (thousandths < 10000 && thousandths_value(thousandths) == value) {
        set_thousandths(s, p, &thousandths, &count, 1);
        return;
      }
    }
    make_general(s, p);
  }
  general_store_->values[index(s, p)] = value;
  if (s == 1) store_->first_counts[static_cast<std::size_t>(p - 1)] = count;
  if (keep_counts_) count_store_->counts[index(s, p)] = count;
}

void SeriesTable::set_thousandths(int s, int p, const std::uint16_t* thousandths,
                                  const std::int32_t* counts, std::size_t n) {
  if (n == 0) return;
  if (general_[slot(s)]) {
    for (std::size_t k = 0; k < n; ++k) {
      set(s, p + static_cast<int>(k), thousandths_value(thousandths[k]), counts[k]);
    }
    return;
  }
  std::uint16_t* place = &store_->thousandths[index(s, p)];
  // The pages are made ready a chunk at a time, as the places reach a chunk's start.
  const auto at = reinterpret_cast<std::uintptr_t>(place);
  const auto last = at + (n - 1) * sizeof(std::uint16_t);
  if ((at & (kPreparedBytes - 1)) == 0 || (at / kPreparedBytes != last / kPreparedBytes)) {
    const std::uintptr_t chunk = last & ~std::uintptr_t{kPreparedBytes - 1};
    platform::prepare_for_writing(reinterpret_cast<void*>(chunk), kPreparedBytes);
  }
  std::copy_n(thousandths, n, place);
  if (s == 1) std::copy_n(counts, n, &store_->first_counts[static_cast<std::size_t>(p - 1)]);
  if (keep_counts_) std::copy_n(counts, n, &count_store_->counts[index(s, p)]);
}

void SeriesTable::keep_every_count(bool keep) {
  if (keep && !count_store_) {
    count_store_.reset(static_cast<CountStore*>(platform::reserve_zeroed(sizeof(CountStore))));
    if (!count_store_) throw std::bad_alloc();
  }
  keep_counts_ = keep;
}

void SeriesTable::make_general(int s, int p) {
  if (!general_store_) {
    general_store_.reset(
        static_cast<GeneralStore*>(platform::reserve_zeroed(sizeof(GeneralStore))));
    if (!general_store_) throw std::bad_alloc();
  }
  for (int q = 1; q < p; ++q) {
    general_store_->values[index(s, q)] = thousandths_value(store_->thousandths[index(s, q)]);
  }
  general_[slot(s)] = true;
}

void SeriesTable::set_series(int s, std::string_view name, std::int32_t first_year) {
  starts_[slot(s)] =
      last_set_ == 0
          ? 0
          : starts_[slot(last_set_)] + static_cast<std::size_t>(store_->lengths[slot(last_set_)]);
  general_[slot(s)] = false;
  last_set_ = s;
  SeriesName& stored = store_->names[slot(s)];
  stored.fill(' ');
  std::copy_n(name.begin(), std::min(name.size(), kSeriesNameWidth), stored.begin());
  store_->first_years[slot(s)] = first_year;
  store_->lengths[slot(s)] = 0;
  // The pages up to the first boundary that set_thousandths prepares.
  std::uint16_t* first = &store_->thousandths[index(s, 1)];
  const auto into_chunk = reinterpret_cast<std::uintptr_t>(first) & (kPreparedBytes - 1);
  platform::prepare_for_writing(first, kPreparedBytes - into_chunk);
}

void SeriesTable::clear() {
  last_set_ = 0;
  series_count_ = 0;
}

}  // namespace quillet::table
