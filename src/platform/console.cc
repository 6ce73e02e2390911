#include "platform/console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/system_failure.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#define QUILLET_ISATTY _isatty
#define QUILLET_FILENO _fileno
#else
#include <fcntl.h>
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
    if (out_failed_) return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) out_failure();
  }
  void write_err(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  }
  void flush() override {
    errno = 0;
    if (!out_failed_ && std::fflush(stdout) != 0) out_failure();
    std::fflush(stderr);
  }
  ByteSource& input() override { return stdin_; }
  bool input_is_terminal() const override { return terminal_; }

 private:
  [[noreturn]] void out_failure() {
    const int error_number = errno;
    out_failed_ = true;
    throw SystemFailure::from_errno("WRITE", error_number);
  }

  StdinSource stdin_;
  bool terminal_;
  bool out_failed_ = false;
};

}  // namespace

std::unique_ptr<ConsoleStreams> make_standard_streams() {
  return std::make_unique<StandardStreams>();
}

SystemFailure SystemFailure::from_errno(std::string_view operation, int error_number) {
  return SystemFailure(operation,
                       error_number != 0 ? std::strerror(error_number) : "Input/output error");
}

void open_closed_standard_streams() {
#if defined(_WIN32)
  const struct {
    std::FILE* stream;
    const char* mode;
  } streams[] = {{stdin, "r"}, {stdout, "w"}, {stderr, "w"}};
  for (int fd = 0; fd < 3; ++fd) {
    if (_get_osfhandle(fd) == -1) std::freopen("NUL", streams[fd].mode, streams[fd].stream);
  }
#else
  // The lowest free descriptor is taken, so descriptors 0 to 2 are filled in order.
  for (int fd = 0; fd < 3; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
      if (opened != fd && opened >= 0) close(opened);
    }
  }
#endif
}

std::size_t Console::Answers::read(char* buffer, std::size_t capacity) {
  console_.streams_.flush();
  const std::size_t n = console_.streams_.input().read(buffer, capacity);
  // At a terminal the user's Enter ends the prompt's line; anything else (a pipe, or Ctrl-D)
  // leaves it open for the console to end.
  if (console_.streams_.input_is_terminal() && n > 0 && buffer[n - 1] == '\n') {
    console_.behind_prompt_ = false;
  }
  return n;
}

void Console::close_prompt_line() {
  if (behind_prompt_) {
    behind_prompt_ = false;
    streams_.write_out("\n");
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

void Console::end_run() {
  close_prompt_line();
  streams_.flush();
}

}  // namespace quillet::platform
