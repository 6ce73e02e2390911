// The console the dialogue runs in: standard output for everything the program says, the
// error stream for the error report, and standard input for the answers.
#ifndef QUILLET_PLATFORM_CONSOLE_H_
#define QUILLET_PLATFORM_CONSOLE_H_

#include <memory>
#include <string_view>

#include "platform/byte_source.h"

namespace quillet::platform {

// The raw streams under the console. The real ones are the process's standard streams; the
// tests use an in-memory set (testing/fake_console.h).
class ConsoleStreams {
 public:
  virtual ~ConsoleStreams() = default;
  virtual void write_out(std::string_view bytes) = 0;
  virtual void write_err(std::string_view bytes) = 0;
  virtual void flush() = 0;
  virtual ByteSource& input() = 0;
  // True when the answers come from a terminal (the user's own line end then ends a prompt).
  virtual bool input_is_terminal() const = 0;
};

std::unique_ptr<ConsoleStreams> make_standard_streams();

// Line-level console. A prompt leaves the cursor behind its text; when the answers do not
// come from a terminal nobody types the line end, so the console writes it itself before
// whatever it writes next (on either stream) and when the run ends. A piped run's transcript
// therefore has every prompt on a line of its own.
class Console {
 public:
  explicit Console(ConsoleStreams& streams) : streams_(streams) {}

  // Writes `line` and a line end.
  void write_line(std::string_view line);
  // Writes `text` and leaves the line open for the answer.
  void write_prompt(std::string_view text);
  // Writes `line` and a line end to the error stream.
  void write_error_line(std::string_view line);
  // The answers. Standard output is flushed first, so a prompt is seen before the wait.
  ByteSource& input();
  // Ends a prompt line still open and flushes both streams.
  void end_run();

 private:
  void close_prompt_line();

  ConsoleStreams& streams_;
  bool behind_prompt_ = false;
};

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_CONSOLE_H_
