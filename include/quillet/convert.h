// Converting files as the command line does: each file read (in the file type given, or in
// the layout found by trial) and its column file written whole or not at all, with the
// command line's refusals:
//  - a file given twice in one run (by file identity) is converted once;
//  - a column file that would be an input of the run (any of them, earlier or later), or the
//    column file of an earlier file of the run, is not written;
// and its messages, as lines (quillet/messages.h). Nothing is written to any console.
#ifndef INCLUDE_QUILLET_CONVERT_H_
#define INCLUDE_QUILLET_CONVERT_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quillet/reader.h"

namespace quillet {

struct ConvertOptions {
  ReadOptions reading;
  // The folder that receives the column files (it must exist); nullopt: each beside its file.
  std::optional<std::string> output_dir;
  // As WriteOptions::missing.
  std::optional<std::string> missing;
};

// What became of one file.
struct FileReport {
  std::string file;         // as given
  bool converted = false;   // its column file was written
  std::string column_file;  // its name, where one was named
  // The command line's warning and error lines for the file, in order, without line ends.
  std::vector<std::string> lines;
  std::string summary;  // the summary line of a converted file, without its line end
};

// The command line's text for options it would refuse (a `missing` with a TAB, CR or LF, an
// output folder that does not exist or is not a folder), or nullopt when they are right.
std::optional<std::string> options_problem(const ConvertOptions& options);

// Converts every file it can, in order; `each` (when given) is called with each file's report
// as soon as the file is done. Throws std::invalid_argument when options_problem() finds one,
// before anything is written; every other failure is in the reports.
std::vector<FileReport> convert_files(const std::vector<std::string>& files,
                                      const ConvertOptions& options,
                                      const std::function<void(const FileReport&)>& each = {});

// The library's version, as `quillet --version` prints it after "quillet ".
std::string version();

}  // namespace quillet

#endif  // INCLUDE_QUILLET_CONVERT_H_
