#include "testing/memory_files.h"

#include <algorithm>
#include <cstring>

#include "platform/memory_source.h"
#include "platform/system_failure.h"

namespace quillet::testing {

using platform::SystemFailure;

namespace {

// A file's content as it was when opened.
class Input : public platform::InputFile {
 public:
  explicit Input(std::string content) : content_(std::move(content)) {}
  std::size_t read(char* buffer, std::size_t capacity) override {
    return source_.read(buffer, capacity);
  }
  bool rewindable() const override { return true; }
  void rewind() override { source_.rewind(); }
  void close() override {}

 private:
  std::string content_;
  platform::MemorySource source_{content_};
};

}  // namespace

// Writes into the file `name` of the file system; a replacement writes into a new file and
// puts it in place when finished.
class MemoryFileSystem::Output : public platform::OutputFile {
 public:
  Output(MemoryFileSystem& files, std::string name, std::string target)
      : files_(files), name_(std::move(name)), target_(std::move(target)) {}
  ~Output() override { abandon(); }

  void write(std::string_view bytes) override {
    std::string& content = files_.files_[name_];
    if (cut_pending_) content.clear();
    cut_pending_ = false;
    if (files_.write_limit_ && written_ + bytes.size() > *files_.write_limit_) {
      const std::size_t room = *files_.write_limit_ - std::min(written_, *files_.write_limit_);
      content.append(bytes.substr(0, room));
      written_ += room;
      throw SystemFailure(platform::Operation::kWrite, "No space left on device");
    }
    content.append(bytes);
    written_ += bytes.size();
  }
  void finish() override {
    open_ = false;
    if (target_.empty()) return;
    if (files_.renames_fail_) {
      files_.files_.erase(name_);
      throw SystemFailure(platform::Operation::kRename, "Permission denied");
    }
    files_.files_[target_] = std::move(files_.files_[name_]);
    files_.files_.erase(name_);
  }
  void abandon() noexcept override {
    if (!open_) return;
    open_ = false;
    if (!target_.empty()) files_.files_.erase(name_);
  }

 private:
  MemoryFileSystem& files_;
  std::string name_;
  std::string target_;  // empty: not a replacement
  std::size_t written_ = 0;
  bool cut_pending_ = true;
  bool open_ = true;
};

std::optional<std::string> MemoryFileSystem::read(const std::string& name) const {
  const auto found = files_.find(name);
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

void MemoryFileSystem::check_open(const std::string& name) const {
  if (failing_opens_.contains(name))
    throw SystemFailure(platform::Operation::kOpen, "Permission denied");
  if (directories_.contains(name))
    throw SystemFailure(platform::Operation::kOpen, "Is a directory");
}

bool MemoryFileSystem::exists(const std::string& name) {
  return files_.contains(name) || directories_.contains(name);
}

std::unique_ptr<platform::InputFile> MemoryFileSystem::open_input(const std::string& name) {
  check_open(name);
  const auto found = files_.find(name);
  if (found == files_.end())
    throw SystemFailure(platform::Operation::kOpen, "No such file or directory");
  return std::make_unique<Input>(found->second);
}

std::unique_ptr<platform::OutputFile> MemoryFileSystem::open_output(const std::string& name) {
  check_open(name);
  files_.try_emplace(name);
  return std::make_unique<Output>(*this, name, "");
}

std::unique_ptr<platform::OutputFile> MemoryFileSystem::open_replacement(const std::string& name) {
  check_open(name);
  const std::string temporary = name + ".new" + std::to_string(++replacements_);
  files_[temporary];
  return std::make_unique<Output>(*this, temporary, name);
}

std::optional<std::string> MemoryFileSystem::identity(const std::string& name) {
  if (!exists(name)) return std::nullopt;
  return name;
}

}  // namespace quillet::testing
