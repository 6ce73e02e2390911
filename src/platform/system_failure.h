// A failure the system reports to the platform layer: the operation that failed, the system's
// own text for its error and its error number. The layer above knows which file or stream it
// was and words it for its way in.
#ifndef QUILLET_PLATFORM_SYSTEM_FAILURE_H_
#define QUILLET_PLATFORM_SYSTEM_FAILURE_H_

#include <exception>
#include <string>
#include <string_view>

namespace quillet::platform {

enum class Operation {
  kOpen,    // opening a file to read or to write in place
  kCreate,  // making the new file of a replacement
  kRead,
  kWrite,
  kClose,
  kRename,  // putting a replacement in place
};

class SystemFailure : public std::exception {
 public:
  SystemFailure(Operation operation, std::string reason, int error_code = 0, std::string path = {})
      : operation_(operation),
        reason_(std::move(reason)),
        error_code_(error_code),
        path_(std::move(path)) {}
  // The failure errno describes (a failure the system did not describe still gets a reason).
  static SystemFailure from_errno(Operation operation, int error_number, std::string path = {});

  Operation operation() const { return operation_; }
  const std::string& reason() const { return reason_; }
  int error_code() const { return error_code_; }
  // The file the operation was on, where it is not the one the caller named (the new file of
  // a replacement); empty otherwise.
  const std::string& path() const { return path_; }
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  Operation operation_;
  std::string reason_;
  int error_code_;
  std::string path_;
};

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_SYSTEM_FAILURE_H_
