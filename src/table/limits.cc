#include "table/limits.h"

namespace quillet::table {

std::string limit_message(Limit limit) {
  switch (limit) {
    case Limit::kSeries:
      return " Too many series: the limit is " + std::to_string(kMaxSeries);
    case Limit::kValues:
      return " Series too long: the limit is " + std::to_string(kMaxValues) + " values";
    case Limit::kYears:
      return " Year range too long: the limit is " + std::to_string(kMaxYears) + " years";
  }
  return {};
}

}  // namespace quillet::table
