// A run of files as the command line runs it: each FILE converted whole or not at all (or read
// into the long table), with the run's refusals, and reported in the command line's words as
// lines the caller writes where it likes. Nothing here writes to a console.
#ifndef QUILLET_CORE_FILE_RUN_H_
#define QUILLET_CORE_FILE_RUN_H_

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/reading_state.h"
#include "platform/files.h"
#include "quillet/convert.h"

namespace quillet::core {

// The FILE that names standard input.
inline constexpr std::string_view kStandardStream = "-";

// Standard input and the table written to standard output, for a FILE of "-"; without them
// "-" is a file of that name.
struct StandardStreams {
  platform::ByteSource* input = nullptr;
  platform::OutputFile* output = nullptr;  // finish() flushes it
};

// options_problem() (quillet/convert.h) on a file system of the caller's.
std::optional<std::string> options_problem(const ConvertOptions& options,
                                           platform::FileSystem& files);

class FileRun {
 public:
  // `files` are all the FILEs of the run, for the refusal of a column file that is an input.
  FileRun(platform::FileSystem& files, const ConvertOptions& options,
          const std::vector<std::string>& run_files, StandardStreams streams = {});

  // Converts one FILE of the run.
  FileReport convert(const std::string& file);
  // Reads one FILE of the run into the long table: a converted FILE's lines are appended to
  // `out`, each ended by `line_end`.
  FileReport read_long(const std::string& file, std::string& out, std::string_view line_end);

 private:
  class Input;
  bool standard(const std::string& file) const {
    return file == kStandardStream && standard_.input != nullptr;
  }
  // Reads FILE; false (with its lines in the report) when it is not converted.
  bool read(Input& input, FileReport& report);

  platform::FileSystem& files_;
  ConvertOptions options_;
  StandardStreams standard_;
  ReadingState state_;
  std::set<std::string> inputs_;   // the FILEs of the run, by identity
  std::set<std::string> taken_;    // the FILEs read so far, by identity ("-" for standard input)
  std::set<std::string> written_;  // the column files written so far, by identity
};

}  // namespace quillet::core

#endif  // QUILLET_CORE_FILE_RUN_H_
