// One run of the program: the banner, the input name and the file type asked at the console,
// the files opened, every series read, and the column file written.
#ifndef QUILLET_DRIVER_RUN_DRIVER_H_
#define QUILLET_DRIVER_RUN_DRIVER_H_

#include "platform/console.h"
#include "platform/files.h"

namespace quillet::driver {

inline constexpr int kExitNormal = 0;
inline constexpr int kExitFailure = -1;

// How a run ended: its exit status, and whether the user answered "/" at the file-name prompt.
struct RunEnd {
  int status;
  bool quit_by_slash;
};

// Runs the whole dialogue: 0 for a conversion or a "/" at the file-name prompt, -1 for every
// failure (a read error and a limit included). `tab_size` is the tab-stop distance for reading
// lines. Nothing is left open when it returns.
RunEnd run_once(platform::ConsoleStreams& streams, platform::FileSystem& files, int tab_size);

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_RUN_DRIVER_H_
