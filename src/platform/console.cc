#include "platform/console.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/names.h"
#include "platform/system_failure.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
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

#if defined(_WIN32)
// A console window of Windows hands out what was typed as UTF-16, whatever its code page:
// read so, an answer beyond the code page's letters arrives whole, as UTF-8 bytes. The line
// end typed is CR LF (the line reader drops the CR), and a line that begins with Ctrl-Z is
// the end of the input, as at any console of Windows.
class ConsoleKeyboard {
 public:
  ConsoleKeyboard() : handle_(GetStdHandle(STD_INPUT_HANDLE)) {
    DWORD mode = 0;
    attached_ = handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
  }
  bool attached() const { return attached_; }

  std::size_t read(char* buffer, std::size_t capacity) {
    while (pending_.empty() && !ended_) {
      wchar_t wide[1024];
      DWORD got = 0;
      if (!ReadConsoleW(handle_, wide, 1024, &got, nullptr) || got == 0) {
        ended_ = true;
        break;
      }
      std::wstring text = held_ + std::wstring(wide, got);
      held_.clear();
      // A surrogate pair cut by the read is completed by the next one.
      if (text.back() >= 0xD800 && text.back() <= 0xDBFF) {
        held_ = text.back();
        text.pop_back();
      }
      if (at_line_start_ && !text.empty() && text.front() == L'\x1a') {
        ended_ = true;
        break;
      }
      at_line_start_ = !text.empty() && text.back() == L'\n';
      pending_ = to_utf8(text);
    }
    const std::size_t n = std::min(capacity, pending_.size());
    std::memcpy(buffer, pending_.data(), n);
    pending_.erase(0, n);
    return n;
  }

 private:
  HANDLE handle_;
  bool attached_ = false;
  bool ended_ = false;
  bool at_line_start_ = true;
  std::wstring held_;
  std::string pending_;
};
#endif

// Standard input, handed out one line at a time: a buffered block read would wait for more
// than the user has typed.
class StdinSource : public ByteSource {
 public:
  std::size_t read(char* buffer, std::size_t capacity) override {
#if defined(_WIN32)
    if (keyboard_.attached()) return keyboard_.read(buffer, capacity);
#endif
    std::size_t n = 0;
    while (n < capacity) {
      const int c = std::getc(stdin);
      if (c == EOF) break;
      buffer[n++] = static_cast<char>(c);
      if (c == '\n') break;
    }
    return n;
  }

#if defined(_WIN32)
 private:
  ConsoleKeyboard keyboard_;
#endif
};

// Standard input as data: block reads, and a read failure is an error, not the end.
class StdinData : public ByteSource {
 public:
#if defined(_WIN32)
  explicit StdinData(StdinSource& answers) : answers_(answers) {}
#else
  explicit StdinData(StdinSource&) {}
#endif
  std::size_t read(char* buffer, std::size_t capacity) override {
#if defined(_WIN32)
    // What is typed at a console window comes as the answers do.
    if (keyboard_attached_) return answers_.read(buffer, capacity);
#endif
    errno = 0;
    const std::size_t n = std::fread(buffer, 1, capacity, stdin);
    if (n == 0 && std::ferror(stdin)) {
      const int error_number = errno;
      std::clearerr(stdin);
      throw SystemFailure::from_errno(Operation::kRead, error_number);
    }
    return n;
  }

#if defined(_WIN32)
 private:
  StdinSource& answers_;
  bool keyboard_attached_ = [] {
    HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
  }();
#endif
};

class StandardStreams : public ConsoleStreams {
 public:
  StandardStreams() : terminal_(QUILLET_ISATTY(QUILLET_FILENO(stdin)) != 0) {}

  void write_out(std::string_view bytes) override {
    if (out_failed_) return;
#if defined(_WIN32)
    if (console_out_ != nullptr) {
      write_console(bytes);
      return;
    }
#endif
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) out_failure();
  }
  void write_err(std::string_view bytes) override {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stderr) != bytes.size()) err_failed_ = true;
  }
  void flush() override {
    errno = 0;
    if (!out_failed_ && std::fflush(stdout) != 0) out_failure();
    if (std::fflush(stderr) != 0) err_failed_ = true;
  }
  bool error_stream_failed() const override { return err_failed_; }
  ByteSource& input() override { return stdin_; }
  ByteSource& data_input() override { return stdin_data_; }
  bool input_is_terminal() const override { return terminal_; }
  void make_output_binary() override {
    flush();
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
  }

 private:
#if defined(_WIN32)
  static HANDLE console_output() {
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
  }
  // A console window is written in UTF-16, so a name typed beyond the code page's letters
  // shows as it was typed (bytes that are not UTF-8 are taken in the window's code page).
  void write_console(std::string_view bytes) {
    std::fflush(stdout);
    const std::wstring wide = to_wide(bytes, GetConsoleOutputCP());
    DWORD written = 0;
    if (!wide.empty() && !WriteConsoleW(console_out_, wide.data(), static_cast<DWORD>(wide.size()),
                                        &written, nullptr)) {
      errno = EIO;
      out_failure();
    }
  }
  HANDLE console_out_ = console_output();
#endif

  [[noreturn]] void out_failure() {
    const int error_number = errno;
    out_failed_ = true;
    throw SystemFailure::from_errno(Operation::kWrite, error_number);
  }

  StdinSource stdin_;
  StdinData stdin_data_{stdin_};
  bool terminal_;
  bool out_failed_ = false;
  bool err_failed_ = false;
};

}  // namespace

ConsoleStreams& standard_streams() {
  static StandardStreams streams;
  return streams;
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

void Console::write_report(std::span<const std::string> lines) noexcept {
  try {
    close_prompt_line();
    streams_.flush();
  } catch (const SystemFailure&) {
    // standard output is what failed: it is dropped from now on, and the report still goes out
  }
  try {
    for (const std::string& line : lines) streams_.write_err(line + "\n");
    streams_.flush();
  } catch (...) {
    // nothing is left to report on
  }
}

void Console::end_run() {
  close_prompt_line();
  streams_.flush();
}

}  // namespace quillet::platform
