#include "driver/run_error.h"

#include <utility>

namespace quillet::driver {

std::string_view operation_word(platform::Operation operation) {
  switch (operation) {
    case platform::Operation::kOpen:
    case platform::Operation::kCreate:
      return "OPEN";
    case platform::Operation::kRead:
      return "READ";
    case platform::Operation::kWrite:
      return "WRITE";
    case platform::Operation::kClose:
      return "CLOSE";
    case platform::Operation::kRename:
      return "RENAME";
  }
  return "";
}

RunError::RunError(Source source, std::string message, std::string_view operation,
                   std::string_view unit)
    : source_(source), message_(std::move(message)), operation_(operation), unit_(unit) {}

RunError RunError::run_time(std::string_view message, std::string_view operation,
                            std::string_view unit) {
  return RunError(Source::kRunTime, std::string(message), operation, unit);
}

RunError RunError::system(std::string message, std::string_view operation, std::string_view unit) {
  return RunError(Source::kSystem, std::move(message), operation, unit);
}

std::array<std::string, 3> RunError::report_lines() const {
  std::string heading = source_ == Source::kSystem ? "? System Error:" : "? Run-time Error:";
  std::string where = "? " + operation_ + "(UNIT=" + unit_ + ",...";
  return {std::move(heading), "? " + message_, std::move(where)};
}

}  // namespace quillet::driver
