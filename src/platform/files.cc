#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
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
  if (fs::is_directory(native_path(name), ec))
    throw SystemFailure::from_errno(Operation::kOpen, EISDIR);
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
    if (n == 0 && std::ferror(file_)) throw SystemFailure::from_errno(Operation::kRead, errno);
    return n;
  }

  bool rewindable() const override { return file_ != nullptr && seekable_; }

  void rewind() override {
    if (std::fseek(file_, 0, SEEK_SET) != 0)
      throw SystemFailure::from_errno(Operation::kRead, errno);
    std::clearerr(file_);
  }

  void close() override {
    if (file_ == nullptr) return;
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) throw SystemFailure::from_errno(Operation::kClose, errno);
  }

 private:
  std::FILE* file_;
  bool seekable_;
};

// Writes all of `bytes`, or throws the WRITE that failed.
void write_all(std::FILE* file, std::string_view bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    throw SystemFailure::from_errno(Operation::kWrite, errno);
  }
}

// Flushes and closes the file; a failure found when the buffered lines are flushed is the
// WRITE that failed. The file is closed either way.
void flush_and_close(std::FILE* file) {
  errno = 0;
  if (std::fflush(file) != 0) {
    const int error_number = errno;
    std::fclose(file);
    throw SystemFailure::from_errno(Operation::kWrite, error_number);
  }
  if (std::fclose(file) != 0) throw SystemFailure::from_errno(Operation::kClose, errno);
}

class CFileOutput : public OutputFile {
 public:
  // `cut_pending`: the file held content before this run, to be cut at the first write.
  CFileOutput(std::FILE* file, bool cut_pending) : file_(file), cut_pending_(cut_pending) {
    std::setvbuf(file_, nullptr, _IOFBF, kOutputBufferSize);
  }
  ~CFileOutput() override { abandon(); }

  void write(std::string_view bytes) override {
    if (cut_pending_) cut_old_content();
    write_all(file_, bytes);
  }

  void finish() override {
    std::FILE* file = file_;
    file_ = nullptr;
    flush_and_close(file);
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
    if (!truncate_to_zero(file_)) throw SystemFailure::from_errno(Operation::kWrite, errno);
  }

  std::FILE* file_;
  bool cut_pending_;
};

// A new file that nobody else has opened: created, never opened if it is there already.
std::FILE* create_new(const std::string& name) {
#if defined(_WIN32)
  const int fd = _wopen(name_to_wide(name).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                        _S_IREAD | _S_IWRITE);
#else
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
  if (fd < 0) return nullptr;
#if defined(_WIN32)
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
#else
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
#endif
  return file;
}

// Puts `from` in the place of `to`, replacing a file of that name at once.
bool replace_file(const std::string& from, const std::string& to) {
#if defined(_WIN32)
  return MoveFileExW(name_to_wide(from).c_str(), name_to_wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void remove_file(const std::string& name) {
  std::error_code ec;
  fs::remove(native_path(name), ec);
}

// The column file of the command line: written under a new name beside its own, then put in
// its place whole.
class ReplacementOutput : public OutputFile {
 public:
  ReplacementOutput(std::FILE* file, std::string temporary, std::string target)
      : file_(file), temporary_(std::move(temporary)), target_(std::move(target)) {
    std::setvbuf(file_, nullptr, _IOFBF, kOutputBufferSize);
  }
  ~ReplacementOutput() override { abandon(); }

  void write(std::string_view bytes) override {
    try {
      write_all(file_, bytes);
    } catch (const SystemFailure&) {
      abandon();
      throw;
    }
  }

  void finish() override {
    std::FILE* file = file_;
    file_ = nullptr;
    try {
      flush_and_close(file);
    } catch (const SystemFailure&) {
      remove_file(temporary_);
      throw;
    }
    if (!replace_file(temporary_, target_)) {
#if defined(_WIN32)
      const int error_number = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
#else
      const int error_number = errno;
#endif
      remove_file(temporary_);
      throw SystemFailure::from_errno(Operation::kRename, error_number);
    }
  }

  void abandon() noexcept override {
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
    remove_file(temporary_);
  }

 private:
  std::FILE* file_;
  std::string temporary_;
  std::string target_;
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
    if (file == nullptr) throw SystemFailure::from_errno(Operation::kOpen, errno);
    return std::make_unique<CFileInput>(file);
  }

  std::unique_ptr<OutputFile> open_output(const std::string& name) override {
    refuse_directory(name);
    const bool existed = exists(name);
    // "r+b" keeps the old content until this run's lines replace it; "wb" creates.
    std::FILE* file = open_file(name, existed ? "r+b" : "wb");
    if (file == nullptr) throw SystemFailure::from_errno(Operation::kOpen, errno);
    // A device or a pipe has no old content to cut.
    std::error_code ec;
    return std::make_unique<CFileOutput>(file,
                                         existed && fs::is_regular_file(native_path(name), ec));
  }

  std::unique_ptr<OutputFile> open_replacement(const std::string& name) override {
    refuse_directory(name);
    // A name of its own beside the column file: the column file's name, a mark and a number.
    static unsigned counter = 0;
#if defined(_WIN32)
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    for (int attempt = 0;; ++attempt) {
      const std::string temporary =
          name + ".quillet-" + std::to_string(process) + "-" + std::to_string(++counter);
      errno = 0;
      if (std::FILE* file = create_new(temporary)) {
        return std::make_unique<ReplacementOutput>(file, temporary, name);
      }
      if (errno != EEXIST || attempt == 100)
        throw SystemFailure::from_errno(Operation::kCreate, errno, temporary);
    }
  }

  std::optional<std::string> identity(const std::string& name) override {
    if (name.find('\0') != std::string::npos) return std::nullopt;
#if defined(_WIN32)
    HANDLE handle = CreateFileW(name_to_wide(name).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known) return std::nullopt;
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) +
           ":" + std::to_string(info.nFileIndexLow);
#else
    struct stat status {};
    if (stat(name.c_str(), &status) != 0) return std::nullopt;
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
#endif
  }

  bool is_directory(const std::string& name) override {
    std::error_code ec;
    return name.find('\0') == std::string::npos && fs::is_directory(native_path(name), ec);
  }
};

}  // namespace

FileSystem& real_file_system() {
  static RealFileSystem files;
  return files;
}

}  // namespace quillet::platform
