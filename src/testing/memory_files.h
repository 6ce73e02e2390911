// Test support: a file system in memory, beside the real one, with the faults a test asks for
// (an open that fails, a write that fails after so many bytes, a rename that fails). Names are
// taken as they are: "a/b" is a file "a/b" in a folder "a" only if the test made that folder.
#ifndef QUILLET_TESTING_MEMORY_FILES_H_
#define QUILLET_TESTING_MEMORY_FILES_H_

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/files.h"

namespace quillet::testing {

class MemoryFileSystem : public platform::FileSystem {
 public:
  void write(const std::string& name, std::string content) { files_[name] = std::move(content); }
  void make_directory(const std::string& name) { directories_.insert(name); }
  // The content of a file, or nullopt when there is none of that name.
  std::optional<std::string> read(const std::string& name) const;
  // Every file, by name (the files a run may leave behind included).
  const std::map<std::string, std::string>& files() const { return files_; }

  // Faults: opening `name` (for reading or writing) fails; every write fails once a file has
  // received `bytes` bytes; putting a replacement in place fails.
  void fail_open(const std::string& name) { failing_opens_.insert(name); }
  void fail_writes_after(std::size_t bytes) { write_limit_ = bytes; }
  void fail_renames() { renames_fail_ = true; }

  bool exists(const std::string& name) override;
  std::unique_ptr<platform::InputFile> open_input(const std::string& name) override;
  std::unique_ptr<platform::OutputFile> open_output(const std::string& name) override;
  std::unique_ptr<platform::OutputFile> open_replacement(const std::string& name) override;
  std::optional<std::string> identity(const std::string& name) override;
  bool is_directory(const std::string& name) override { return directories_.contains(name); }

 private:
  class Output;
  void check_open(const std::string& name) const;

  std::map<std::string, std::string> files_;
  std::set<std::string> directories_;
  std::set<std::string> failing_opens_;
  std::optional<std::size_t> write_limit_;
  bool renames_fail_ = false;
  int replacements_ = 0;
};

}  // namespace quillet::testing

#endif  // QUILLET_TESTING_MEMORY_FILES_H_
