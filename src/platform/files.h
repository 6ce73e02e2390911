// The file layer: the existence test, the input file (read as raw bytes) and the column file.
// Every failure the system reports is thrown as a SystemFailure naming the operation; the
// caller knows which file it asked for.
#ifndef QUILLET_PLATFORM_FILES_H_
#define QUILLET_PLATFORM_FILES_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_source.h"

namespace quillet::platform {

class InputFile : public ByteSource {
 public:
  virtual void close() = 0;
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void write(std::string_view bytes) = 0;
  // Flushes and closes. A file this run never wrote to is closed as it stands, so an
  // existing one keeps its old content.
  virtual void finish() = 0;
  // Flushes what was written so far and closes, leaving the rest of the file as it stands;
  // failures are ignored (this is the path of a run that is already failing).
  virtual void abandon() noexcept = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool exists(const std::string& name) = 0;
  virtual std::unique_ptr<InputFile> open_input(const std::string& name) = 0;
  // Opens an existing file without emptying it, or creates it. Its old content is cut when
  // the first bytes are written, so a file never written to keeps it.
  virtual std::unique_ptr<OutputFile> open_output(const std::string& name) = 0;
  // True when both names exist and are one file (the same path, a link, ...).
  bool same_file(const std::string& a, const std::string& b) {
    const std::optional<std::string> first = identity(a);
    return first.has_value() && first == identity(b);
  }

  // A file written whole or not at all: the bytes go to a new file beside `name` (in the same
  // folder), which finish() puts in the place of `name`, replacing a file of that name at
  // once. abandon(), a failure, or the end of the object without finish() removes the new
  // file and leaves a file of that name as it was. Failures throw SystemFailure (kCreate for
  // the new file, kWrite, kClose, kRename).
  virtual std::unique_ptr<OutputFile> open_replacement(const std::string& name) = 0;
  // What tells one file from another (two names of one file have the same), or nullopt when
  // no file has the name.
  virtual std::optional<std::string> identity(const std::string& name) = 0;
  virtual bool is_directory(const std::string& name) = 0;
};

// The real file system, through <cstdio> and <filesystem>.
FileSystem& real_file_system();

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_FILES_H_
