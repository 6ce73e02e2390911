#include "table/limits.h"

namespace quillet::table {

std::string limit_message(Limit limit) {
  std::string message;
  switch (limit) {
    case Limit::kSeries:
      message = " Too many series: the limit is ";
      message += std::to_string(kMaxSeries);
      break;
    case Limit::kValues:
      message = " Series too long: the limit is ";
      message += std::to_string(kMaxValues);
      message += " values";
      break;
    case Limit::kYears:
      message = " Year range too long: the limit is ";
      message += std::to_string(kMaxYears);
      message += " years";
      break;
  }
  return message;
}

}  // namespace quillet::table
