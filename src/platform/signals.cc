#include "platform/signals.h"

#include <csignal>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>

#include "platform/names.h"
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace quillet::platform {
namespace {

// The new files not yet in place, in fixed storage: the handler may not allocate. One is
// written at a time; a few slots leave room for more. A name too long for a slot (longer
// than any the system opens) is not listed.
constexpr int kSlots = 4;
constexpr std::size_t kNameCapacity = 4096;

#if defined(_WIN32)
using NameChar = wchar_t;
#else
using NameChar = char;
#endif

struct Slot {
  NameChar name[kNameCapacity];
  volatile std::sig_atomic_t used;
};
Slot slots[kSlots];

#if defined(_WIN32)
// The handler runs on a thread of its own: it takes the lock and keeps it, the process ends.
CRITICAL_SECTION lock;

class Blocked {
 public:
  Blocked() { EnterCriticalSection(&lock); }
  ~Blocked() { LeaveCriticalSection(&lock); }
  Blocked(const Blocked&) = delete;
  Blocked& operator=(const Blocked&) = delete;
};

BOOL WINAPI on_console_event(DWORD) {
  EnterCriticalSection(&lock);
  // The new file was opened sharing its deletion: it goes when the process has ended.
  for (Slot& slot : slots) {
    if (slot.used) DeleteFileW(slot.name);
  }
  return FALSE;  // the system's own handler ends the process
}

void install() {
  InitializeCriticalSection(&lock);
  SetConsoleCtrlHandler(on_console_event, TRUE);
}
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t cleanup_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal_number : kSignals) sigaddset(&set, signal_number);
  return set;
}

// The list changes with the signals held back, so the handler never sees it half changed.
class Blocked {
 public:
  Blocked() {
    const sigset_t set = cleanup_signals();
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~Blocked() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
  Blocked(const Blocked&) = delete;
  Blocked& operator=(const Blocked&) = delete;

 private:
  sigset_t old_;
};

extern "C" void on_signal(int signal_number) {
  for (Slot& slot : slots) {
    if (slot.used) unlink(slot.name);
  }
  // Then the signal's own end: the default action, taken again.
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal_number);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  raise(signal_number);
}

void install() {
  for (const int signal_number : kSignals) {
    struct sigaction old {};
    if (sigaction(signal_number, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = on_signal;
    action.sa_mask = cleanup_signals();
    action.sa_flags = SA_RESTART;
    sigaction(signal_number, &action, nullptr);
  }
}
#endif

// Lists `name`; the slot taken, or -1. Called with the signals held back.
int list(std::string_view name) {
#if defined(_WIN32)
  const std::wstring native = name_to_wide(name);
#else
  const std::string_view native = name;
#endif
  if (native.empty() || native.size() >= kNameCapacity) return -1;
  for (int i = 0; i < kSlots; ++i) {
    if (slots[i].used) continue;
    std::memcpy(slots[i].name, native.data(), native.size() * sizeof(NameChar));
    slots[i].name[native.size()] = 0;
    slots[i].used = 1;
    return i;
  }
  return -1;
}

void unlist(int& slot) {
  if (slot >= 0) slots[slot].used = 0;
  slot = -1;
}

// A replacement whose new file is listed from its creation until it is in place or removed.
class CleanedOutput : public OutputFile {
 public:
  CleanedOutput(std::unique_ptr<OutputFile> file, int slot) : file_(std::move(file)), slot_(slot) {}
  ~CleanedOutput() override { abandon(); }

  void write(std::string_view bytes) override {
    try {
      file_->write(bytes);
    } catch (...) {
      const Blocked blocked;
      if (file_->new_file_name().empty()) unlist(slot_);  // the file removed itself
      throw;
    }
  }
  void finish() override {
    // Held back until the file is in place or removed: a signal meanwhile then ends the
    // process with nothing left to remove.
    const Blocked blocked;
    try {
      file_->finish();
    } catch (...) {
      unlist(slot_);
      throw;
    }
    unlist(slot_);
  }
  void abandon() noexcept override {
    const Blocked blocked;
    file_->abandon();
    unlist(slot_);
  }
  std::string_view new_file_name() const noexcept override { return file_->new_file_name(); }

 private:
  std::unique_ptr<OutputFile> file_;
  int slot_;
};

class CleaningFileSystem : public FileSystem {
 public:
  explicit CleaningFileSystem(FileSystem& files) : files_(files) {}

  bool exists(const std::string& name) override { return files_.exists(name); }
  std::unique_ptr<InputFile> open_input(const std::string& name) override {
    return files_.open_input(name);
  }
  std::unique_ptr<OutputFile> open_output(const std::string& name) override {
    return files_.open_output(name);
  }
  std::unique_ptr<OutputFile> open_replacement(const std::string& name) override {
    const Blocked blocked;
    std::unique_ptr<OutputFile> file = files_.open_replacement(name);
    const int slot = list(file->new_file_name());
    return std::make_unique<CleanedOutput>(std::move(file), slot);
  }
  std::optional<std::string> identity(const std::string& name) override {
    return files_.identity(name);
  }
  bool is_directory(const std::string& name) override { return files_.is_directory(name); }

 private:
  FileSystem& files_;
};

}  // namespace

FileSystem& cleaning_file_system(FileSystem& files) {
  static const bool installed = (install(), true);
  (void)installed;
  static CleaningFileSystem cleaning(files);
  return cleaning;
}

}  // namespace quillet::platform
