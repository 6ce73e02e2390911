// The command line's run: many files in one run, each converted whole or not at all (or read
// into the long table), the file type given or found for each file. The run's rules and its
// words are the library's (core/file_run.h, quillet/messages.h); this writes them out.
#ifndef QUILLET_DRIVER_BATCH_H_
#define QUILLET_DRIVER_BATCH_H_

#include <string>
#include <vector>

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

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_BATCH_H_
