#include "platform/system_failure.h"

#include <cstring>

namespace quillet::platform {

SystemFailure SystemFailure::from_errno(Operation operation, int error_number, std::string path) {
  return SystemFailure(operation,
                       error_number != 0 ? std::strerror(error_number) : "Input/output error",
                       error_number, std::move(path));
}

}  // namespace quillet::platform
