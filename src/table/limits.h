// The three capacities of the tables, announced in the banner. Every number shown is written
// from these constants.
#ifndef QUILLET_TABLE_LIMITS_H_
#define QUILLET_TABLE_LIMITS_H_

namespace quillet::table {

inline constexpr int kMaxSeries = 1500;  // series per input file
inline constexpr int kMaxValues = 8000;  // values per series
inline constexpr int kMaxYears = 8000;   // years in the year table

enum class Limit { kSeries, kValues, kYears };

}  // namespace quillet::table

#endif  // QUILLET_TABLE_LIMITS_H_
