// The console the dialogue runs in: standard output for everything the program says, the
// error stream for the error report, and standard input for the answers.
#ifndef QUILLET_PLATFORM_CONSOLE_H_
#define QUILLET_PLATFORM_CONSOLE_H_

#include <span>
#include <string>
#include <string_view>

#include "platform/byte_source.h"

namespace quillet::platform {

// The raw streams under the console. The real ones are the process's standard streams; the
// tests use an in-memory set (testing/fake_console.h).
class ConsoleStreams {
 public:
  virtual ~ConsoleStreams() = default;
  // Standard output. A failure to write it throws SystemFailure (kWrite), here or at the
  // next flush; after one failure whatever else is written to it is dropped.
  virtual void write_out(std::string_view bytes) = 0;
  // The error stream. Its failures cannot be reported anywhere: they are only remembered.
  virtual void write_err(std::string_view bytes) = 0;
  // True once a write to the error stream has failed.
  virtual bool error_stream_failed() const { return false; }
  // Flushes both streams; throws like write_out.
  virtual void flush() = 0;
  // Standard input as the answers: one line at a time, and a failure to read it ends it.
  virtual ByteSource& input() = 0;
  // Standard input as data (the command line's FILE "-"): read in blocks, and a failure to
  // read it (a folder given as standard input, a failing device) throws SystemFailure
  // (kRead), so it is never taken for the end of the input. Reads the same stream as input().
  virtual ByteSource& data_input() { return input(); }
  // True when the answers come from a terminal (the user's own line end then ends a prompt).
  virtual bool input_is_terminal() const = 0;
  // From now on standard output takes bytes as they are (a table written to it keeps its own
  // line ends on Windows, where text mode would add a CR).
  virtual void make_output_binary() {}
};

// The process's own streams; nothing is allocated for them.
ConsoleStreams& standard_streams();

// Standard input, output and error that are closed when the program starts are opened on the
// null device, so that no file the run opens takes their place. Call it first thing.
void open_closed_standard_streams();

// Line-level console. A prompt leaves the cursor behind its text. Unless the user ends the
// line at a terminal (an answer typed and Enter), the console writes the line end itself
// before whatever it writes next (on either stream) and when the run ends. A piped run's
// transcript therefore has every prompt on a line of its own, and an input ended at a prompt
// (Ctrl-D at a terminal) leaves what follows on a new line.
class Console {
 public:
  explicit Console(ConsoleStreams& streams) : streams_(streams), input_(*this) {}
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Writes `line` and a line end.
  void write_line(std::string_view line);
  // Writes `text` and leaves the line open for the answer.
  void write_prompt(std::string_view text);
  // Writes `line` and a line end to the error stream.
  void write_error_line(std::string_view line);
  // The error report that ends a run, on the error stream. It is written even when standard
  // output is what failed (its prompt line end is then dropped); it never throws.
  void write_report(std::span<const std::string> lines) noexcept;
  // The answers. Everything written is flushed before each read, so a prompt reaches a
  // terminal or a pipe before the program waits.
  ByteSource& input() { return input_; }
  // Ends a prompt line still open and flushes both streams.
  void end_run();

 private:
  class Answers : public ByteSource {
   public:
    explicit Answers(Console& console) : console_(console) {}
    std::size_t read(char* buffer, std::size_t capacity) override;

   private:
    Console& console_;
  };

  void close_prompt_line();

  ConsoleStreams& streams_;
  Answers input_;
  bool behind_prompt_ = false;
};

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_CONSOLE_H_
