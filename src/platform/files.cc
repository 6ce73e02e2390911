#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

#include "platform/memory_source.h"
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

// An input read whole into memory.
class ReadWhole : public InputFile {
 public:
  explicit ReadWhole(ByteSource& source) : whole_(source) {}
  std::size_t read(char* buffer, std::size_t capacity) override {
    return whole_.read(buffer, capacity);
  }
  bool rewindable() const override { return true; }
  void rewind() override { whole_.rewind(); }
  void close() override {}

 private:
  MemorySource whole_;
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
// `mode`: the permission bits it gets, or nullopt for the usual ones (the umask's).
std::FILE* create_new(const std::string& name, std::optional<unsigned> mode) {
#if defined(_WIN32)
  (void)mode;
  // Its deletion shared, so that a program stopped while it writes can remove it.
  HANDLE handle =
      CreateFileW(name_to_wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    errno = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS      ? EEXIST
            : error == ERROR_ACCESS_DENIED                                   ? EACCES
            : error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ? ENOENT
            : error == ERROR_FILENAME_EXCED_RANGE                            ? ENAMETOOLONG
                                                                             : EIO;
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    DeleteFileW(name_to_wide(name).c_str());
    return nullptr;
  }
#else
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      mode ? static_cast<mode_t>(*mode) : 0666);
  // The umask may have taken bits from a replaced file's own; a system that keeps no such
  // bits (a FAT disk) refuses, and the file stays as it was made.
  if (fd >= 0 && mode) (void)fchmod(fd, static_cast<mode_t>(*mode));
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

// The permission bits of the regular file `name`, or nullopt when there is none.
std::optional<unsigned> permission_bits(const std::string& name) {
#if defined(_WIN32)
  (void)name;
  return std::nullopt;
#else
  struct stat status {};
  if (stat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return static_cast<unsigned>(status.st_mode & 0777);
#endif
}

// Where the base name of `name` begins.
std::size_t base_name_start(const std::string& name) {
  std::size_t start = name.size();
  while (start > 0) {
    const char c = name[start - 1];
#if defined(_WIN32)
    if (c == '/' || c == '\\' || c == ':') break;
#else
    if (c == '/') break;
#endif
    --start;
  }
  return start;
}

// A name for the new file beside `name`: ".q" and hexadecimal digits, never longer than the
// base name of `name` (down to 4 bytes), so that it fits wherever `name` fits. `seed` tells
// one try from the next.
std::string temporary_name(const std::string& name, std::uint64_t seed) {
  const std::size_t start = base_name_start(name);
  const std::size_t base_length = name.size() - start;
  const std::size_t length = std::min<std::size_t>(12, std::max<std::size_t>(4, base_length));
  // splitmix64: nearby seeds give unrelated digits.
  std::uint64_t z = seed + 0x9e3779b97f4a7c15u;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
  z ^= z >> 31;
  std::string temporary = name.substr(0, start) + ".q";
  for (std::size_t i = 2; i < length; ++i, z >>= 4) temporary += "0123456789abcdef"[z & 15];
  return temporary;
}

// Flushes the file's bytes to the disk; a system that cannot (a pipe, some devices) says
// EINVAL and is taken at its word.
bool sync_to_disk(std::FILE* file) {
#if defined(_WIN32)
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0 || errno == EINVAL;
#endif
}

// After a rename, the folder's new entry to the disk, where the system allows; a failure
// changes nothing for the file, which is in place.
void sync_folder_of(const std::string& name) {
#if !defined(_WIN32)
  const std::size_t start = base_name_start(name);
  const std::string folder = start == 0 ? "." : name.substr(0, start);
  const int fd = open(folder.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  close(fd);
#else
  (void)name;
#endif
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
      // The bytes reach the disk before the name does: after a crash the column file is the
      // old one or the new one, never an empty one.
      errno = 0;
      if (std::fflush(file) != 0 || !sync_to_disk(file)) {
        const int error_number = errno;
        std::fclose(file);
        throw SystemFailure::from_errno(Operation::kWrite, error_number);
      }
      if (std::fclose(file) != 0) throw SystemFailure::from_errno(Operation::kClose, errno);
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
    temporary_.clear();
    sync_folder_of(target_);
  }

  std::string_view new_file_name() const noexcept override { return temporary_; }

  void abandon() noexcept override {
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
    remove_file(temporary_);
    temporary_.clear();
  }

 private:
  std::FILE* file_;
  std::string temporary_;  // empty once the file is in place or removed
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
    const std::optional<unsigned> mode = permission_bits(name);
    // A short name of its own beside the column file, tried until one is free.
#if defined(_WIN32)
    const std::uint64_t process = GetCurrentProcessId();
#else
    const std::uint64_t process = static_cast<std::uint64_t>(getpid());
#endif
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (std::uint64_t attempt = 0;; ++attempt) {
      const std::string temporary =
          temporary_name(name, (process << 40) ^ now ^ (attempt * 0x100000001b3u));
      if (temporary == name) continue;
      errno = 0;
      if (std::FILE* file = create_new(temporary, mode)) {
        return std::make_unique<ReplacementOutput>(file, temporary, name);
      }
      if (errno != EEXIST || attempt == 200) {
        throw SystemFailure::from_errno(Operation::kCreate, errno, temporary);
      }
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

std::unique_ptr<InputFile> read_whole(ByteSource& source) {
  return std::make_unique<ReadWhole>(source);
}

std::unique_ptr<InputFile> made_rewindable(std::unique_ptr<InputFile> input) {
  if (input->rewindable()) return input;
  std::unique_ptr<InputFile> whole = read_whole(*input);
  input->close();
  return whole;
}

FileSystem& real_file_system() {
  static RealFileSystem files;
  return files;
}

}  // namespace quillet::platform
