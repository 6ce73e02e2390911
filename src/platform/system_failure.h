// A failure the system reports to the platform layer: the operation that failed ("OPEN",
// "READ", "WRITE", "CLOSE") and the system's own text for its error. The layer above knows
// which file or stream it was and turns it into the run's error report.
#ifndef QUILLET_PLATFORM_SYSTEM_FAILURE_H_
#define QUILLET_PLATFORM_SYSTEM_FAILURE_H_

#include <exception>
#include <string>
#include <string_view>

namespace quillet::platform {

class SystemFailure : public std::exception {
 public:
  SystemFailure(std::string_view operation, std::string reason)
      : operation_(operation), reason_(std::move(reason)) {}
  // The failure errno describes (a failure the system did not describe still gets a reason).
  static SystemFailure from_errno(std::string_view operation, int error_number);

  // The file the failure concerns when the layer below chose its name (a replacement's new
  // file that could not be made), or empty: the caller knows which file it asked for.
  SystemFailure& about(std::string file) {
    file_ = std::move(file);
    return *this;
  }
  const std::string& file() const { return file_; }

  const std::string& operation() const { return operation_; }
  const std::string& reason() const { return reason_; }
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  std::string operation_;
  std::string reason_;
  std::string file_;
};

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_SYSTEM_FAILURE_H_
