// The error report: the one way a run ends on a failure it does not handle itself. The
// report is three lines on the console's error stream, each beginning with "? ":
//   ? Run-time Error:                      (or "System Error:" when the system reports it)
//   ? Attempt to read past end of file     (the message, or the system's own text)
//   ? READ(UNIT=14,...                     (the operation and the file's designation)
// The run then ends with exit status -1, after every open file has been flushed and closed.
#ifndef QUILLET_DRIVER_RUN_ERROR_H_
#define QUILLET_DRIVER_RUN_ERROR_H_

#include <array>
#include <exception>
#include <string>
#include <string_view>

#include "platform/system_failure.h"

namespace quillet::driver {

// Designations of the units a failed operation names.
inline constexpr std::string_view kInputUnit = "14";
inline constexpr std::string_view kColumnUnit = "16";
inline constexpr std::string_view kConsoleUnit = "*";

inline constexpr std::string_view kIllegalCharacter = "Illegal character in numeric input";
inline constexpr std::string_view kPastEndOfFile = "Attempt to read past end of file";
inline constexpr std::string_view kNotEnoughMemory = "Not enough memory";
// An empty answer at the file-name prompt.
inline constexpr std::string_view kEmptyFileName = "Bad file specification";

// The word the report uses for an operation: "OPEN", "READ", "WRITE", "CLOSE", "RENAME".
std::string_view operation_word(platform::Operation operation);

class RunError : public std::exception {
 public:
  enum class Source { kRunTime, kSystem };

  RunError(Source source, std::string message, std::string_view operation, std::string_view unit);

  // A failure the program finds itself ("Run-time Error:").
  static RunError run_time(std::string_view message, std::string_view operation,
                           std::string_view unit);
  // A failure the operating system reports, with its own text for it ("System Error:").
  static RunError system(std::string message, std::string_view operation, std::string_view unit);

  // The three lines of the report, without their line ends.
  std::array<std::string, 3> report_lines() const;

  const char* what() const noexcept override { return message_.c_str(); }

 private:
  Source source_;
  std::string message_;
  std::string operation_;
  std::string unit_;
};

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_RUN_ERROR_H_
