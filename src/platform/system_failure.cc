#include "platform/system_failure.h"

#include <cstring>

namespace quillet::platform {

SystemFailure SystemFailure::from_errno(std::string_view operation, int error_number) {
  return SystemFailure(operation,
                       error_number != 0 ? std::strerror(error_number) : "Input/output error");
}

}  // namespace quillet::platform
