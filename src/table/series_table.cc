#include "table/series_table.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace quillet::table {
namespace {

constexpr std::size_t kGridElements = std::size_t{kMaxSeries} * kMaxValues;

// calloc hands out large blocks as fresh pages that read zero until written, so the grid
// costs nothing until values land in it (a zero-filling new would touch all 48 MB).
template <typename T>
T* zeroed_grid() {
  void* p = std::calloc(kGridElements, sizeof(T));
  if (p == nullptr) throw std::bad_alloc();
  return static_cast<T*>(p);
}

}  // namespace

void SeriesTable::FreeDeleter::operator()(void* p) const { std::free(p); }

SeriesTable::SeriesTable() : values_(zeroed_grid<float>()) {
  SeriesName blank_name;
  blank_name.fill(' ');
  names_.fill(blank_name);
}

void SeriesTable::set_series(int s, std::string_view name, std::int32_t first_year) {
  SeriesName& stored = names_[slot(s)];
  stored.fill(' ');
  std::copy_n(name.begin(), std::min(name.size(), kNameLength), stored.begin());
  first_years_[slot(s)] = first_year;
  lengths_[slot(s)] = 0;
}

}  // namespace quillet::table
