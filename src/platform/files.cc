#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "platform/names.h"
#include "platform/system_failure.h"

namespace quillet::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kOutputBufferSize = 1 << 16;

// The system's own form of a name: the bytes as they are, or on Windows UTF-16 (see names.h).
fs::path native_path(const std::string& name) {
#if defined(_WIN32)
  return fs::path(name_to_wide(name));
#else
  return fs::path(name);
#endif
}

std::FILE* open_file(const std::string& name, const char* mode) {
#if defined(_WIN32)
  const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(name_to_wide(name).c_str(), wide_mode.c_str());
#else
  return std::fopen(name.c_str(), mode);
#endif
}

// Empties an open file that nothing has been written to yet.
bool truncate_to_zero(std::FILE* file) {
#if defined(_WIN32)
  return _chsize_s(_fileno(file), 0) == 0;
#else
  return ftruncate(fileno(file), 0) == 0;
#endif
}

// Both builds report a directory the same way, whatever their fopen would make of it: on
// some systems a directory opens as a stream and only fails at the first read.
void refuse_directory(const std::string& name) {
  std::error_code ec;
  if (fs::is_directory(native_path(name), ec)) throw SystemFailure::from_errno("OPEN", EISDIR);
}

class CFileInput : public InputFile {
 public:
  explicit CFileInput(std::FILE* file)
      : file_(file), seekable_(std::fseek(file, 0, SEEK_CUR) == 0) {}
  ~CFileInput() override {
    if (file_ != nullptr) std::fclose(file_);
  }

  std::size_t read(char* buffer, std::size_t capacity) override {
    if (file_ == nullptr) return 0;
    const std::size_t n = std::fread(buffer, 1, capacity, file_);
    if (n == 0 && std::ferror(file_)) throw SystemFailure::from_errno("READ", errno);
    return n;
  }

  bool rewindable() const override { return file_ != nullptr && seekable_; }

  void rewind() override {
    if (std::fseek(file_, 0, SEEK_SET) != 0) throw SystemFailure::from_errno("READ", errno);
    std::clearerr(file_);
  }

  void close() override {
    if (file_ == nullptr) return;
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) throw SystemFailure::from_errno("CLOSE", errno);
  }

 private:
  std::FILE* file_;
  bool seekable_;
};

class CFileOutput : public OutputFile {
 public:
  // `cut_pending`: the file held content before this run, to be cut at the first write.
  CFileOutput(std::FILE* file, bool cut_pending) : file_(file), cut_pending_(cut_pending) {
    std::setvbuf(file_, nullptr, _IOFBF, kOutputBufferSize);
  }
  ~CFileOutput() override { abandon(); }

  void write(std::string_view bytes) override {
    if (cut_pending_) cut_old_content();
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
      throw SystemFailure::from_errno("WRITE", errno);
    }
  }

  void finish() override {
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    // A failure found when the buffered lines are flushed is the WRITE that failed.
    if (std::fflush(file) != 0) {
      const int error_number = errno;
      std::fclose(file);
      throw SystemFailure::from_errno("WRITE", error_number);
    }
    if (std::fclose(file) != 0) throw SystemFailure::from_errno("CLOSE", errno);
  }

  void abandon() noexcept override {
    if (file_ == nullptr) return;
    std::fflush(file_);
    std::fclose(file_);
    file_ = nullptr;
  }

 private:
  // The file was opened without emptying it, so that a run that fails before its table
  // leaves the old content whole. The first line of the table cuts all of it, before anything
  // new is written: a run stopped half way leaves only its own lines, never old ones behind.
  void cut_old_content() {
    cut_pending_ = false;
    if (!truncate_to_zero(file_)) throw SystemFailure::from_errno("WRITE", errno);
  }

  std::FILE* file_;
  bool cut_pending_;
};

class RealFileSystem : public FileSystem {
 public:
  bool exists(const std::string& name) override {
    // The system would see a name with a NUL in it cut short: that is some other file.
    if (name.find('\0') != std::string::npos) return false;
    std::error_code ec;
    return fs::exists(native_path(name), ec);
  }

  std::unique_ptr<InputFile> open_input(const std::string& name) override {
    refuse_directory(name);
    std::FILE* file = open_file(name, "rb");
    if (file == nullptr) throw SystemFailure::from_errno("OPEN", errno);
    return std::make_unique<CFileInput>(file);
  }

  std::unique_ptr<OutputFile> open_output(const std::string& name) override {
    refuse_directory(name);
    const bool existed = exists(name);
    // "r+b" keeps the old content until this run's lines replace it; "wb" creates.
    std::FILE* file = open_file(name, existed ? "r+b" : "wb");
    if (file == nullptr) throw SystemFailure::from_errno("OPEN", errno);
    // A device or a pipe has no old content to cut.
    std::error_code ec;
    return std::make_unique<CFileOutput>(file,
                                         existed && fs::is_regular_file(native_path(name), ec));
  }

  bool same_file(const std::string& a, const std::string& b) override {
    std::error_code ec;
    return fs::equivalent(native_path(a), native_path(b), ec) && !ec;
  }
};

}  // namespace

FileSystem& real_file_system() {
  static RealFileSystem files;
  return files;
}

}  // namespace quillet::platform
