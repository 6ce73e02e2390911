#include "platform/console.h"

#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <io.h>
#define QUILLET_ISATTY _isatty
#define QUILLET_FILENO _fileno
#else
#include <unistd.h>
#define QUILLET_ISATTY isatty
#define QUILLET_FILENO fileno
#endif

namespace quillet::platform {
namespace {

// Standard input, handed out one line at a time: a buffered block read would wait for more
// than the user has typed.
class StdinSource : public ByteSource {
 public:
  std::size_t read(char* buffer, std::size_t capacity) override {
    std::size_t n = 0;
    while (n < capacity) {
      const int c = std::getc(stdin);
      if (c == EOF) break;
      buffer[n++] = static_cast<char>(c);
      if (c == '\n') break;
    }
    return n;
  }
};

class StandardStreams : public ConsoleStreams {
 public:
  StandardStreams() : terminal_(QUILLET_ISATTY(QUILLET_FILENO(stdin)) != 0) {}

  void write_out(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  }
  void write_err(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  }
  void flush() override {
    std::fflush(stdout);
    std::fflush(stderr);
  }
  ByteSource& input() override { return stdin_; }
  bool input_is_terminal() const override { return terminal_; }

 private:
  StdinSource stdin_;
  bool terminal_;
};

}  // namespace

std::unique_ptr<ConsoleStreams> make_standard_streams() {
  return std::make_unique<StandardStreams>();
}

void Console::close_prompt_line() {
  if (behind_prompt_) {
    behind_prompt_ = false;
    if (!streams_.input_is_terminal()) streams_.write_out("\n");
  }
}

void Console::write_line(std::string_view line) {
  close_prompt_line();
  std::string out;
  out.reserve(line.size() + 1);
  out.append(line);
  out.push_back('\n');
  streams_.write_out(out);
}

void Console::write_prompt(std::string_view text) {
  close_prompt_line();
  streams_.write_out(text);
  behind_prompt_ = true;
}

void Console::write_error_line(std::string_view line) {
  close_prompt_line();
  streams_.flush();  // what was said before the error stands before it
  std::string out(line);
  out.push_back('\n');
  streams_.write_err(out);
}

ByteSource& Console::input() {
  streams_.flush();
  // The user's line end closes the prompt line on a terminal. When the answers are piped the
  // prompt stays open until the next write, so behind_prompt_ is left as it is.
  if (streams_.input_is_terminal()) behind_prompt_ = false;
  return streams_.input();
}

void Console::end_run() {
  close_prompt_line();
  streams_.flush();
}

}  // namespace quillet::platform
