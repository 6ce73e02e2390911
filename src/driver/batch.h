// The command line's run: many files in one run, each converted whole or not at all, the file
// type given or found for each file. Summary lines, warnings and errors are worded here in the
// form compilers use (FILE:LINE: warning: TEXT).
#ifndef QUILLET_DRIVER_BATCH_H_
#define QUILLET_DRIVER_BATCH_H_

#include <string>
#include <string_view>

#include "driver/command_line.h"
#include "platform/console.h"
#include "platform/files.h"

namespace quillet::driver {

inline constexpr int kBatchConverted = 0;     // every FILE was converted
inline constexpr int kBatchNotConverted = 1;  // some FILE was not (the others were)
inline constexpr int kBatchUsage = 2;         // a mistake on the command line

// Runs the command line `arguments` (after the program's name) and returns its exit status.
int run_command_line(const std::vector<std::string>& arguments, platform::ConsoleStreams& streams,
                     platform::FileSystem& files, int tab_size);

// The column file's name for FILE: its base name without its last extension (from its last
// "." on, unless that "." begins the base name), then "_COL", in FILE's folder or in `dir`.
// Both are kept as given: "data/oak.early.crn" gives "data/oak.early_COL".
std::string column_file_for(std::string_view file, const std::optional<std::string>& dir);

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_BATCH_H_
