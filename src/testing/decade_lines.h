// Made-up input for tests and benchmarks: one series as decade lines, the same layout the
// reader takes (name in columns 1-6, first year in 7-10, ten 7-column slots, label in 81-88).
// The first line starts at the slot of the first year within its decade; the series ends
// with the end marker 9990 and count 0. Every generated input comes from here.
#ifndef QUILLET_TESTING_DECADE_LINES_H_
#define QUILLET_TESTING_DECADE_LINES_H_

#include <functional>
#include <string>
#include <string_view>

namespace quillet::testing {

struct Slot {
  long value;  // the 4-column field: 1234 is 1.234
  long count;  // the 3-column field
};

// Appends series `name` (at most 6 characters) from `first_year` with `length` values, slot
// v (0-based) given by `slot(v)`, each line ended by `line_end`. The first line carries
// `label` in columns 81-88 (nothing when it is empty).
void append_series(std::string& out, std::string_view name, long first_year, long length,
                   const std::function<Slot(long)>& slot, std::string_view label = "",
                   std::string_view line_end = "\n");

}  // namespace quillet::testing

#endif  // QUILLET_TESTING_DECADE_LINES_H_
