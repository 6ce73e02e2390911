// The three capacities of the tables, announced in the banner, and the message that ends a
// run which passes one of them. Every number shown is written from these constants.
#ifndef QUILLET_TABLE_LIMITS_H_
#define QUILLET_TABLE_LIMITS_H_

#include <string>

namespace quillet::table {

inline constexpr int kMaxSeries = 1500;  // series per input file
inline constexpr int kMaxValues = 8000;  // values per series
inline constexpr int kMaxYears = 8000;   // years in the year table

enum class Limit { kSeries, kValues, kYears };

// The console text (a plain console line's text) that says which limit was passed:
// " Too many series: the limit is 1500" and so on.
std::string limit_message(Limit limit);

}  // namespace quillet::table

#endif  // QUILLET_TABLE_LIMITS_H_
