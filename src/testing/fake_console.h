// Test support: an in-memory console with scripted answers and a transcript, and a scratch
// folder of real files.
#ifndef QUILLET_TESTING_FAKE_CONSOLE_H_
#define QUILLET_TESTING_FAKE_CONSOLE_H_

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_source.h"
#include "platform/console.h"
#include "platform/memory_source.h"

namespace quillet::testing {

// Hands out a string, at most `chunk` bytes per read (to exercise lines split across reads).
class StringSource : public platform::ByteSource {
 public:
  explicit StringSource(std::string data, std::size_t chunk = 1 << 16)
      : data_(std::move(data)), chunk_(chunk) {}
  std::size_t read(char* buffer, std::size_t capacity) override {
    return source_.read(buffer, std::min(capacity, chunk_));
  }
  // Rewindable unless made otherwise, like a file on disk.
  bool rewindable() const override { return rewindable_; }
  void rewind() override { source_.rewind(); }
  void make_unrewindable() { rewindable_ = false; }

 private:
  std::string data_;
  platform::MemorySource source_{data_};
  std::size_t chunk_;
  bool rewindable_ = true;
};

class FakeConsole : public platform::ConsoleStreams {
 public:
  explicit FakeConsole(std::string answers, bool terminal = false)
      : answers_(std::move(answers)), terminal_(terminal) {}

  void write_out(std::string_view bytes) override;
  void write_err(std::string_view bytes) override {
    if (fail_errors_) {
      errors_failed_ = true;
      return;
    }
    err_.append(bytes);
  }
  bool error_stream_failed() const override { return errors_failed_; }
  // From now on the error stream fails (what is written to it is lost).
  void fail_errors() { fail_errors_ = true; }
  void flush() override {}
  platform::ByteSource& input() override { return answers_; }
  platform::ByteSource& data_input() override { return data_; }
  bool input_is_terminal() const override { return terminal_; }
  // Reading standard input as data fails (kRead, "Input/output error") once `bytes` bytes
  // have been read; the answers are not affected.
  void fail_data_after(std::size_t bytes) { data_.fail_after = bytes; }

  const std::string& out() const { return out_; }
  // From now on standard output fails as a full device does.
  void fail_output() { fail_output_ = true; }
  const std::string& err() const { return err_; }

 private:
  // The answers, as data; a failure when a test asks for one.
  class Data : public platform::ByteSource {
   public:
    explicit Data(StringSource& answers) : answers_(answers) {}
    std::size_t read(char* buffer, std::size_t capacity) override;
    std::optional<std::size_t> fail_after;

   private:
    StringSource& answers_;
    std::size_t read_ = 0;
  };

  StringSource answers_;
  Data data_{answers_};
  bool terminal_;
  std::string out_;
  std::string err_;
  bool fail_output_ = false;
  bool fail_errors_ = false;
  bool errors_failed_ = false;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }
  void write(std::string_view name, std::string_view content) const;
  std::string read(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace quillet::testing

#endif  // QUILLET_TESTING_FAKE_CONSOLE_H_
