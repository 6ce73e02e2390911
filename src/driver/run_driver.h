// One run of the program: the banner, the input name and the file type asked at the console,
// the files opened, every series read, and the column file written.
#ifndef QUILLET_DRIVER_RUN_DRIVER_H_
#define QUILLET_DRIVER_RUN_DRIVER_H_

#include "platform/console.h"
#include "platform/files.h"

namespace quillet::driver {

inline constexpr int kExitNormal = 0;
inline constexpr int kExitFailure = -1;

// Runs the whole dialogue and returns the exit status: 0 for a conversion or a "/" at the
// file-name prompt, -1 for every failure. `tab_size` is the tab-stop distance for reading
// lines. Nothing is left open when it returns.
int run(platform::ConsoleStreams& streams, platform::FileSystem& files, int tab_size);

// How a run ended: its exit status, and whether the user answered "/" at the file-name prompt.
struct RunEnd {
  int status;
  bool quit_by_slash;
};
RunEnd run_once(platform::ConsoleStreams& streams, platform::FileSystem& files, int tab_size);

// Header lines in front of every series for a file type: 3 for CRONOL (1), 1 for MASTER (6).
int header_lines_per_series(int file_type);
// File header lines the driver passes over: 3 for INDEX, CURVES, RESIDUALS and WEIGHTS.
int file_header_lines(int file_type);

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_RUN_DRIVER_H_
