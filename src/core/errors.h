// A failure the platform layer reports, as the library's one exception type.
#ifndef QUILLET_CORE_ERRORS_H_
#define QUILLET_CORE_ERRORS_H_

#include <string>

#include "platform/system_failure.h"
#include "quillet/reader.h"

namespace quillet::core {

// `path` is the file the caller named; the failure's own path (a new file beside it) wins.
Error library_error(const platform::SystemFailure& failure, const std::string& path);

}  // namespace quillet::core

#endif  // QUILLET_CORE_ERRORS_H_
