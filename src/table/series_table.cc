#include "table/series_table.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <type_traits>

namespace quillet::table {

void SeriesTable::FreeDeleter::operator()(void* p) const { std::free(p); }

// calloc hands out a block this large as fresh pages that read zero until written, so the
// table costs nothing until values land in it (a zero-filling new would touch all 48 MB).
SeriesTable::SeriesTable() : store_(static_cast<Store*>(std::calloc(1, sizeof(Store)))) {
  static_assert(std::is_trivially_default_constructible_v<Store>);
  if (!store_) throw std::bad_alloc();
}

void SeriesTable::set_series(int s, std::string_view name, std::int32_t first_year) {
  SeriesName& stored = store_->names[slot(s)];
  stored.fill(' ');
  std::copy_n(name.begin(), std::min(name.size(), kSeriesNameWidth), stored.begin());
  store_->first_years[slot(s)] = first_year;
  store_->lengths[slot(s)] = 0;
  series_set_ = std::max(series_set_, s);
}

void SeriesTable::clear() {
  for (int s = 1; s <= series_set_; ++s) {
    const std::int32_t length = store_->lengths[slot(s)];
    for (int p = 1; p <= length; ++p) store_->values[index(s, p)] = 0.0f;
    if (s == 1) std::fill_n(store_->first_counts.begin(), length, 0);
    store_->lengths[slot(s)] = 0;
  }
  series_set_ = 0;
  series_count_ = 0;
}

}  // namespace quillet::table
